// The XDG autostart entries on POSIX desktops: a .desktop file in $XDG_CONFIG_HOME/autostart,
// written whole so that a session starting meanwhile never reads half an entry.
#include <errno.h>
#include <unistd.h>

#include "platform/autostart.h"
#include "platform/file_replace.h"
#include "platform/posix/posix_files.h"

namespace {

std::string AutostartFolder() {
    const std::string config = XdgBaseFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? config : config + "/autostart";
}

}  // namespace

std::string AutostartEntryPath(const char* name) {
    const std::string folder = AutostartFolder();
    return folder.empty() ? folder : folder + "/" + name + ".desktop";
}

bool WriteAutostartEntry(const char* name, const std::string& text) {
    const std::string path = AutostartEntryPath(name);
    if (path.empty() || !MakeFolders(AutostartFolder())) return false;
    return WriteFileAtomically(path, text);
}

bool RemoveAutostartEntry(const char* name) {
    const std::string path = AutostartEntryPath(name);
    return !path.empty() && (unlink(path.c_str()) == 0 || errno == ENOENT);
}
