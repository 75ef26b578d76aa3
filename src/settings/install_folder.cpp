#include "settings/install_folder.h"

bool installFolderFound = false;

const char* InstallFolder() {
    return nullptr;
}

void LookUpDataFolder() {}

bool CheckDataFiles() {
    return false;
}

std::string DataPath(const char*) {
    return {};
}
