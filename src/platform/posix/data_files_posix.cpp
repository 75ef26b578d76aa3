// Data files on Linux: the native path of a data file, and the safe open every read takes.
//
// Realised here: backslashes become slashes, and a name missing in its exact letter case is
// looked for among the folder's entries without regard to case.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/data_files.h"
#include "platform/posix/posix_files.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info{};
    return lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name without regard to case; the smallest such name
// when several differ only in case, so the choice does not depend on the directory order.
std::optional<std::string> FindNoCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return std::nullopt;
    std::optional<std::string> match;
    while (const dirent* entry = readdir(dir)) {
        if (EqualIgnoringAsciiCase(name, entry->d_name) && (!match || *match > entry->d_name)) {
            match = entry->d_name;
        }
    }
    closedir(dir);
    return match;
}

}  // namespace

std::string NativeDataPath(const std::string& folder, const char* relative) {
    std::string rest(relative);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    const std::string exact = folder + rest;
    if (Exists(exact)) return exact;

    std::string path = folder;
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = rest.find('/', start);
        if (end == std::string::npos) end = rest.size();
        const std::string name = rest.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;
        if (Exists(path + "/" + name)) {
            path += "/" + name;
            continue;
        }
        const std::optional<std::string> match = FindNoCase(path.empty() ? "/" : path, name);
        if (!match) return exact;
        path += "/" + *match;
    }
    return path;
}

std::FILE* OpenRegularFileForReading(const std::string& path) {
    const int fd = OpenRegularFile(path);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) close(fd);
    return file;
}

bool FileOpensForReading(const std::string& path) {
    std::FILE* file = OpenRegularFileForReading(path);
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

bool ReadRegularFile(const std::string& path, std::size_t limit, std::vector<char>& bytes) {
    bytes.clear();
    std::FILE* file = OpenRegularFileForReading(path);
    if (file == nullptr) return false;
    struct stat info{};
    bool read =
        fstat(fileno(file), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) <= limit;
    if (read) {
        // The byte past the size shows a file still being written, refused as half a file.
        const auto size = static_cast<std::size_t>(info.st_size);
        bytes.resize(size + 1);
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        read = std::ferror(file) == 0 && got <= size;
        bytes.resize(got);
    }
    std::fclose(file);
    if (!read) bytes.clear();
    return read;
}
