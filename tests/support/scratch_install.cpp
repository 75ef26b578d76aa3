#include "scratch_install.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/registry.h"
#include "platform_spies.h"
#include "settings/install_folder.h"

namespace fs = std::filesystem;

void WriteMachineKey(const std::string& machineRoot, const std::string& installFolder) {
    const fs::path keyFolder = fs::path(machineRoot) / "Software" / "Calimor";
    fs::create_directories(keyFolder);
    std::ofstream(keyFolder / "VostrelSaver1.1.reg")
        << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Calimor\\VostrelSaver1.1]\n"
        << "\"Path\"=\"" << installFolder << "\"\n";
}

void LookUpInstallFolderAt(const std::string& installFolder) {
    char root[] = "/tmp/vostrel-machine-XXXXXX";
    if (mkdtemp(root) == nullptr) return;
    WriteMachineKey(root, installFolder);
    SetMachineRoot(root);
    LookUpDataFolder();
    SetMachineRoot(nullptr);
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::string BuildInstallFolder() {
    if (const char* build = std::getenv("VOSTREL_BUILD_DIR")) return std::string(build) + "/data";
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return (self.parent_path().parent_path() / "data").string();
}
