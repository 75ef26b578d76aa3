// Shell open on Windows: ShellExecuteW with the "open" verb, which starts the default handler
// of a web address, a mailto: link or a file and returns without waiting for it.
// Left out: ShellExecuteA (the target is UTF-8: a report page under a folder with accents must
// open too), and COM initialisation, which only handlers of shell extensions need.
#include <windows.h>
// After windows.h, whose types it uses without including it.
#include <shellapi.h>

#include <cstdint>

#include "platform/shell.h"
#include "platform/win32/wide_text.h"

namespace {
// ShellExecute answers a number above 32 when it started the handler.
constexpr std::intptr_t kShellExecuteErrorLimit = 32;
}  // namespace

bool ShellOpen(const std::string& target) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", WideFromUtf8(target).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result) > kShellExecuteErrorLimit;
}
