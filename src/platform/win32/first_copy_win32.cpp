// The first-copy claim on Windows: a named mutex exists while any process holds a handle to
// it, so the process that creates it (not one that finds it already there) is the first, and
// the system closes the handle when the process ends however it ends.
// The name lives in the session's namespace (no "Global\" prefix): one user's session.
// CreateMutexA: the name is one of the program's own ASCII constants. A suffix keeps it apart
// from the named mutex of the same name, which every instance holds.
#include <windows.h>

#include <string>

#include "platform/first_copy.h"

namespace {
constexpr const char* kClaimSuffix = ".first";
}  // namespace

bool ClaimFirstCopy(const char* name) {
    const std::string claim = std::string(name) + kClaimSuffix;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, claim.c_str());
    if (mutex == nullptr) return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    return true;
}
