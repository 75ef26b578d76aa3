// The user's state folder on Windows: a folder of the program's in the user's local
// application data folder (%LOCALAPPDATA%), which stays on this machine and is private to the
// user. The system creates the data folder itself when it is missing; ours is made here.
// Left out: the roaming folder; a report page is of no use on another machine.
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "platform/user_state.h"
#include "platform/win32/wide_text.h"

namespace {
constexpr const wchar_t* kProgramFolder = L"\\Vostrel";
}  // namespace

std::string UserStatePath(const char* fileName) {
    wchar_t localData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, localData))) {
        return {};
    }
    const std::wstring folder = std::wstring(localData) + kProgramFolder;
    CreateDirectoryW(folder.c_str(), nullptr);  // may exist already: checked below
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return {};
    }
    return Utf8FromWide(folder) + "\\" + fileName;
}
