#include "settings/install_folder.h"

#include <optional>

#include "platform/cursor.h"
#include "platform/data_files.h"
#include "platform/registry.h"
#include "platform/system_text.h"

bool installFolderFound = false;

namespace {

// Room for the longest folder the installer takes, in UTF-8, with the terminator.
constexpr std::size_t kInstallPathSize = kInstallFolderMaxLength * kMostUtf8BytesPerSystemUnit + 1;

std::optional<std::string> installFolder;

}  // namespace

const char* InstallFolder() {
    return installFolder ? installFolder->c_str() : nullptr;
}

void LookUpDataFolder() {
    char path[kInstallPathSize];
    RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::Machine, kInstallKeyPath);
    const bool read = key != nullptr &&
                      QueryRegistryString(key, kInstallPathValue, path, sizeof path) &&
                      SystemTextLength(path) <= kInstallFolderMaxLength;
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
