// ProgramFolder on Windows: the folder of the module file the process was started from, asked
// in UTF-16 so that a folder name outside the system's code page survives, with a buffer that
// grows until the whole path fits (paths may exceed MAX_PATH).
#include <windows.h>

#include <string>

#include "platform/program_folder.h"
#include "platform/win32/wide_text.h"

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string() : Utf8FromWide(path.substr(0, slash));
}
