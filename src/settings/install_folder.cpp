#include "settings/install_folder.h"

#include <optional>

#include "platform/cursor.h"
#include "platform/data_files.h"
#include "platform/registry.h"

bool installFolderFound = false;

namespace {

// The installer writes the folder into a buffer of this size, terminator included.
constexpr std::size_t kInstallPathSize = 256;

std::optional<std::string> installFolder;

}  // namespace

const char* InstallFolder() {
    return installFolder ? installFolder->c_str() : nullptr;
}

void LookUpDataFolder() {
    char path[kInstallPathSize];
    RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::Machine, kInstallKeyPath);
    const bool read =
        key != nullptr && QueryRegistryString(key, kInstallPathValue, path, sizeof path);
    CloseRegistryKey(key);
    if (read) {
        installFolder = path[0] == '/' ? MachineInstallRoot() + path : std::string(path);
        installFolderFound = true;
    } else if (!installFolderFound) {
        ChangeCursorCount(true);
        installFolder.reset();
    }
}

bool CheckDataFiles() {
    for (const DataFileEntry& file : kDataManifest) {
        if (!FileOpensForReading(DataPath(file.name))) return false;
    }
    return true;
}

std::string DataPath(const char* relative) {
    return installFolder ? NativeDataPath(*installFolder, relative) : std::string();
}
