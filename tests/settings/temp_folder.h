// A fresh folder for one test, removed with everything in it when the test ends, plus small
// file helpers the store tests share.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vostrel-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

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

// Points the user root at a test folder for the life of the object.
class UserRootForTest {
  public:
    UserRootForTest() { setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1); }
    ~UserRootForTest() { unsetenv("XDG_CONFIG_HOME"); }
    // Where the store keeps a key such as "Software\VostrelSaver".
    std::string KeyFile(const std::string& keyPath) const {
        std::string file = folder_.path() + "/vostrel/" + keyPath + ".reg";
        for (char& c : file) {
            if (c == '\\') c = '/';
        }
        return file;
    }

  private:
    TempFolder folder_;
};
