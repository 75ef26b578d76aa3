// A fresh private folder for one test, removed with everything in it when the test ends, plus
// the whole-file helpers the tests share.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
  public:
    TempFolder() {
        // Memory-backed when the system offers it: the JPEG fuzz run writes ten thousand files.
        for (const std::filesystem::path& base :
             {std::filesystem::path("/dev/shm"), std::filesystem::temp_directory_path()}) {
            std::string pattern = (base / "vostrel-XXXXXX").string();
            if (mkdtemp(pattern.data()) != nullptr) {
                path_ = pattern;
                return;
            }
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        if (path_.empty()) return;
        // A test may have taken the owner's rights away to make a write fail.
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}
