// Paths of the generated data folder in the build tree, for the data-folder tests.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string InstallFolder() {
    return std::string(VOSTREL_BUILD_DIR) + "/data";
}

inline std::string DataFile(const std::string& name) {
    return InstallFolder() + "/data/" + name;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
