// Data files on Windows: the native path of a data file, and the safe open every read takes.
//
// Realised here: the relative path is appended as written, since Windows spells paths with
// backslashes and its file systems match names without regard to case. A file is opened with
// CreateFileW (the path is UTF-8 on our side) and kept only when the system calls it a disk
// file: a named pipe, a console or a serial port reads as missing, and a folder does not open
// at all without backup semantics. Other processes may go on reading, writing and renaming it.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data_files.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"

namespace {

UniqueHandle OpenRegularFileHandle(const std::string& path) {
    UniqueHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid() && GetFileType(file.get()) != FILE_TYPE_DISK) return UniqueHandle();
    return file;
}

// The C runtime's stream over the handle, which it then owns.
std::FILE* StreamOf(UniqueHandle& file) {
    const int fd =
        _open_osfhandle(reinterpret_cast<std::intptr_t>(file.get()), _O_RDONLY | _O_BINARY);
    if (fd < 0) return nullptr;
    file.release();
    std::FILE* stream = _fdopen(fd, "rb");
    if (stream == nullptr) _close(fd);
    return stream;
}

}  // namespace

std::string NativeDataPath(const std::string& folder, const char* relative) {
    return folder + relative;
}

std::FILE* OpenRegularFileForReading(const std::string& path) {
    UniqueHandle file = OpenRegularFileHandle(path);
    return file.valid() ? StreamOf(file) : nullptr;
}

bool FileOpensForReading(const std::string& path) {
    return OpenRegularFileHandle(path).valid();
}

bool ReadRegularFile(const std::string& path, std::size_t limit, std::vector<char>& bytes) {
    bytes.clear();
    UniqueHandle file = OpenRegularFileHandle(path);
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) ||
        static_cast<std::uintmax_t>(size.QuadPart) > limit) {
        return false;
    }
    std::FILE* stream = StreamOf(file);
    if (stream == nullptr) return false;
    // The byte past the size shows a file still being written, refused as half a file.
    const auto expected = static_cast<std::size_t>(size.QuadPart);
    bytes.resize(expected + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), stream);
    const bool read = std::ferror(stream) == 0 && got <= expected;
    std::fclose(stream);
    bytes.resize(read ? got : 0);
    return read;
}
