// Atomic file replacement on Windows: the text goes to a new file in the same folder, flushed
// to disk, which MoveFileExW then renames over the old one with MOVEFILE_REPLACE_EXISTING and
// MOVEFILE_WRITE_THROUGH (the rename itself reaches the disk before the call returns).
// The temporary's name carries the writer's process id (".NAME.PID.N"), so a later run can
// tell the copies of writers that died from those of a writer still at work.
//
// Realised here: a link is followed to the file it names (GetFinalPathNameByHandleW); the old
// file's attributes (hidden, archive) pass to the new one, whose access rights are the
// folder's, as the old file's were when it was made there. A read-only file is refused, as the
// system refuses to replace it. Paths are UTF-8 on our side and wide for the system.
// Left out: ReplaceFileW, whose merging of the old file's streams and rights the program's
// files (the report page) do not need, and which is not one rename.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/file_replace.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"

namespace {

// How many temporary names one writer tries before it gives up.
constexpr int kTemporaryAttempts = 100;

std::wstring ResolvedPath(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return path;
    std::wstring resolved(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), resolved.data(),
                                                       static_cast<DWORD>(resolved.size()), 0);
        if (length == 0) return path;
        if (length < resolved.size()) {
            resolved.resize(length);
            return resolved;
        }
        resolved.resize(length);
    }
}

struct SplitPath {
    std::wstring folder;  // with its trailing separator, or empty for the current folder
    std::wstring name;
};

SplitPath Split(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {L"", path};
    return {path.substr(0, separator + 1), path.substr(separator + 1)};
}

// The start of every temporary name for `name`; the writer's process id follows.
std::wstring TemporaryPrefix(const std::wstring& name) {
    return L"." + name + L".";
}

// A new file beside the target, created exclusively, so that no two writers share one.
UniqueHandle CreateTemporary(const std::wstring& target, std::wstring& temporary) {
    const SplitPath split = Split(target);
    const std::wstring stem =
        split.folder + TemporaryPrefix(split.name) + std::to_wstring(GetCurrentProcessId()) + L".";
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        temporary = stem + std::to_wstring(attempt);
        UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid() || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueHandle();
}

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), MAXDWORD));
        DWORD written = 0;
        if (!WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        content.remove_prefix(written);
    }
    return true;
}

// The process id in "PID.N", or 0 when the rest of a name is not of that form.
DWORD WriterOf(const std::wstring& rest) {
    const std::size_t dot = rest.find(L'.');
    if (dot == 0 || dot == std::wstring::npos || dot + 1 == rest.size()) return 0;
    DWORD pid = 0;
    for (std::size_t i = 0; i < dot; ++i) {
        if (rest[i] < L'0' || rest[i] > L'9' || pid > MAXDWORD / 10) return 0;
        pid = pid * 10 + (rest[i] - L'0');
    }
    return pid;
}

bool ProcessGone(DWORD pid) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process.valid()) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD exitCode = 0;
    return GetExitCodeProcess(process.get(), &exitCode) && exitCode != STILL_ACTIVE;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    const std::wstring target = ResolvedPath(WideFromUtf8(path));
    const DWORD oldAttributes = GetFileAttributesW(target.c_str());
    const bool exists = oldAttributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (oldAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    std::wstring temporary;
    bool ok = false;
    {
        UniqueHandle file = CreateTemporary(target, temporary);
        if (!file.valid()) return false;
        ok = WriteAll(file.get(), content) && FlushFileBuffers(file.get());
    }
    ok = ok && (!exists || SetFileAttributesW(temporary.c_str(), oldAttributes)) &&
         MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

void RemoveStaleReplacements(const std::string& path) {
    const SplitPath split = Split(ResolvedPath(WideFromUtf8(path)));
    const std::wstring prefix = TemporaryPrefix(split.name);
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = split.folder + prefix + L"*";
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const DWORD writer = WriterOf(name.substr(prefix.size()));
        if (writer != 0 && ProcessGone(writer)) DeleteFileW((split.folder + name).c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

// Asked by trying: the folder's access rights, its share and the user's token all have their
// say, and only the system weighs them together. The probe file deletes itself when closed.
bool FileFolderWritable(const std::string& path) {
    const SplitPath split = Split(ResolvedPath(WideFromUtf8(path)));
    const std::wstring probe =
        split.folder + L".write-probe." + std::to_wstring(GetCurrentProcessId());
    UniqueHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}
