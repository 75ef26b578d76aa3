// The registry-style store on Linux: one REGEDIT4 file per key.
//
// Safety of the files:
//   - A write goes to a temporary file in the key's folder, which then takes the key file's
//     place as every replacement does (posix_files.h): a kill or a power cut at any moment
//     leaves the old or the new file, never a torn one.
//   - Writers hold an exclusive flock on the temporary file (<key file>.tmp) around
//     read-modify-write, so two processes setting values of one key never lose each other's
//     values. Not the key file: the rename replaces its inode under a waiting writer. Readers
//     need no lock. A killed writer's temporary file is simply reused by the next writer.
//   - Reads are capped at kMaxKeyFileSize and opened non-blocking (a FIFO must not hang us);
//     anything that is not a regular file of sane size reads as a key without values.
//
// Realised here: one REGEDIT4 text file per key, <root>/<key path with slashes>.reg. The user root
// is $XDG_CONFIG_HOME/vostrel (~/.config/vostrel by default); the machine root is etc/vostrel
// beside the executable (the build tree) or one folder above it (an installed tree), and
// /etc/vostrel for an executable in /usr/bin. Left out: value types other than 32-bit numbers
// and strings, deleting and enumerating values and keys, and writing the machine root.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/hook_points.h"
#include "platform/portable/reg_text.h"
#include "platform/posix/posix_files.h"
#include "platform/program_folder.h"
#include "platform/registry.h"

struct RegistryKey {
    std::string folder;   // the folder holding the key file
    std::string file;     // the key file
    std::string keyName;  // the section name written into the file
    bool writable = false;
};

namespace {

constexpr std::size_t kMaxKeyFileSize = 1 << 20;
constexpr mode_t kFileMode = 0666;
constexpr const char* kKeyFileSuffix = ".reg";
constexpr const char* kTempSuffix = ".tmp";
constexpr const char* kUserRootName = "HKEY_CURRENT_USER";
constexpr const char* kMachineRootName = "HKEY_LOCAL_MACHINE";

std::string ParentFolder(const std::string& folder) {
    return folder.substr(0, folder.rfind('/'));
}

struct MachineRootPlace {
    std::string folder;
    std::string installRoot;  // what the stored folder paths are relative to
};

// The build tree keeps the machine root beside the executable, an installed tree in
// <prefix>/etc/vostrel with the executable in <prefix>/bin. The /usr prefix keeps its
// configuration in /etc, as the file system hierarchy has it; a package tree unpacked under
// <root> (<root>/usr/bin, <root>/etc) finds its key in <root>/etc and reads the paths stored
// there below <root>, so it runs where it was unpacked.
MachineRootPlace FindMachineRoot() {
    if (std::optional<std::string> root = StandInMachineRoot()) return {std::move(*root), {}};
    const std::string exeFolder = ProgramFolder();
    if (exeFolder.empty()) return {};
    const std::string prefix = ParentFolder(exeFolder);
    for (const std::string& candidate : {exeFolder + "/etc/vostrel", prefix + "/etc/vostrel"}) {
        if (IsFolder(candidate)) return {candidate, {}};
    }
    constexpr std::string_view kUsr = "/usr";
    if (prefix.ends_with(kUsr)) {
        const std::string root = prefix.substr(0, prefix.size() - kUsr.size());
        if (IsFolder(root + "/etc/vostrel")) return {root + "/etc/vostrel", root};
    }
    return {};
}

std::string MachineRoot() {
    return FindMachineRoot().folder;
}

std::string UserRoot() {
    const std::string config = XdgBaseFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? config : config + "/vostrel";
}

// The key path's components; none when a component is empty, "." or ".." or holds a slash,
// so a key can never name a file outside its root.
std::vector<std::string> KeyComponents(const char* path) {
    std::vector<std::string> components;
    if (path == nullptr) return components;
    std::string component;
    for (const char* p = path;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (component.empty() || component == "." || component == ".." ||
                component.find('/') != std::string::npos) {
                return {};
            }
            components.push_back(component);
            component.clear();
            if (*p == '\0') break;
        } else {
            component.push_back(*p);
        }
    }
    return components;
}

RegistryKey* MakeKey(RegistryRoot root, const char* path) {
    const std::vector<std::string> components = KeyComponents(path);
    const std::string rootFolder = root == RegistryRoot::User ? UserRoot() : MachineRoot();
    if (components.empty() || rootFolder.empty()) return nullptr;
    auto* key = new RegistryKey;
    key->folder = rootFolder;
    key->keyName = root == RegistryRoot::User ? kUserRootName : kMachineRootName;
    for (std::size_t i = 0; i < components.size(); ++i) {
        key->keyName += "\\" + components[i];
        if (i + 1 < components.size()) key->folder += "/" + components[i];
    }
    key->file = key->folder + "/" + components.back() + kKeyFileSuffix;
    return key;
}

// A file too large is damaged like one of garbage: it reads as no values, and a write replaces
// it. A file that is there but cannot be read (no permission, a folder, a FIFO) may hold values
// this process cannot see, so a write must not replace it.
enum class KeyFileRead { Read, Missing, TooLarge, Unreadable };

KeyFileRead ReadKeyFile(const std::string& file, std::string& text) {
    FileDescriptor fd(OpenRegularFile(file));
    if (!fd.valid()) return errno == ENOENT ? KeyFileRead::Missing : KeyFileRead::Unreadable;
    char chunk[16384];
    while (text.size() <= kMaxKeyFileSize) {
        const ssize_t got = read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return KeyFileRead::Unreadable;
        if (got == 0) return KeyFileRead::Read;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return KeyFileRead::TooLarge;
}

// The key's values; none when the file is missing, damaged or cannot be read.
RegText ReadKey(const RegistryKey* key) {
    std::string text;
    return ReadKeyFile(key->file, text) == KeyFileRead::Read ? ParseRegText(text, key->keyName)
                                                             : RegText{};
}

// The values a write starts from; nothing when the file is there but cannot be read.
std::optional<RegText> ReadKeyForUpdate(const RegistryKey* key) {
    std::string text;
    switch (ReadKeyFile(key->file, text)) {
        case KeyFileRead::Read:
            return ParseRegText(text, key->keyName);
        case KeyFileRead::Missing:
        case KeyFileRead::TooLarge:
            return RegText{};
        case KeyFileRead::Unreadable:
            break;
    }
    return std::nullopt;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens the key's temporary file and takes the writers' lock on it. A writer that waited may
// have locked a file that was renamed into the key file meanwhile; it then tries again with
// the file now at the temporary name.
int LockTempFile(const std::string& temp) {
    for (;;) {
        const int fd = open(temp.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kFileMode);
        if (fd < 0) return -1;
        int locked = 0;
        do {
            locked = flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        struct stat held{};
        struct stat named{};
        if (locked == 0 && fstat(fd, &held) == 0 && lstat(temp.c_str(), &named) == 0 &&
            SameFile(held, named)) {
            return fd;
        }
        close(fd);
        if (locked != 0) return -1;
    }
}

// Runs edit on the key's values under the writers' lock and stores the result.
template <typename Edit>
bool UpdateKey(const RegistryKey* key, Edit edit) {
    const std::string temp = key->file + kTempSuffix;
    FileDescriptor locked(LockTempFile(temp));
    if (!locked.valid()) return false;
    std::optional<RegText> regText = ReadKeyForUpdate(key);
    std::string text;
    if (regText) {
        edit(*regText);
        text = FormatRegText(*regText, key->keyName);
    }
    // A file the reader would refuse must never be written: it would lose every value.
    const bool written = regText && text.size() <= kMaxKeyFileSize &&
                         ftruncate(locked.get(), 0) == 0 && WriteAll(locked.get(), text) &&
                         CommitReplacement(locked.get(), temp, key->file);
    // Writers that wait for the lock notice the name has gone and make it afresh.
    if (!written) unlink(temp.c_str());
    return written;
}

bool KeyFileExists(const RegistryKey* key) {
    struct stat info{};
    return stat(key->file.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsStorableName(const char* name) {
    return name != nullptr && std::none_of(name, name + std::strlen(name), [](char c) {
               return static_cast<unsigned char>(c) < 0x20;
           });
}

bool SetValue(RegistryKey* key, const char* name, std::string data) {
    if (key == nullptr || !key->writable || !IsStorableName(name)) return false;
    return UpdateKey(key, [&](RegText& regText) { PutRegValue(regText, name, std::move(data)); });
}

}  // namespace

RegistryKey* CreateRegistryKey(RegistryRoot root, const char* path) {
    if (root == RegistryRoot::Machine) return nullptr;
    RegistryKey* key = MakeKey(root, path);
    if (key == nullptr) return nullptr;
    key->writable = true;
    const bool ready =
        MakeFolders(key->folder) && (KeyFileExists(key) || UpdateKey(key, [](RegText&) {}));
    if (!ready) {
        delete key;
        return nullptr;
    }
    return key;
}

RegistryKey* OpenRegistryKeyReadOnly(RegistryRoot root, const char* path) {
    RegistryKey* key = MakeKey(root, path);
    if (key != nullptr && !KeyFileExists(key)) {
        delete key;
        return nullptr;
    }
    return key;
}

void CloseRegistryKey(RegistryKey* key) {
    delete key;
}

bool QueryRegistryDword(RegistryKey* key, const char* name, std::uint32_t* value) {
    if (key == nullptr || name == nullptr || value == nullptr) return false;
    const RegText regText = ReadKey(key);
    const RegEntry* entry = FindRegValue(regText, name);
    return entry != nullptr && DecodeRegDword(entry->data, value);
}

bool QueryRegistryString(RegistryKey* key, const char* name, char* buffer, std::size_t capacity) {
    if (key == nullptr || name == nullptr || buffer == nullptr) return false;
    const RegText regText = ReadKey(key);
    const RegEntry* entry = FindRegValue(regText, name);
    std::string text;
    std::size_t storedSize = 0;
    if (entry == nullptr || !DecodeRegString(entry->data, &text, &storedSize) ||
        storedSize > capacity) {
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

bool SetRegistryDword(RegistryKey* key, const char* name, std::uint32_t value) {
    return SetValue(key, name, EncodeRegDword(value));
}

bool SetRegistryString(RegistryKey* key, const char* name, const char* buffer, std::size_t size) {
    if (buffer == nullptr) return false;
    const std::string text(buffer, strnlen(buffer, size));
    return SetValue(key, name, EncodeRegString(text));
}

std::string MachineInstallRoot() {
    return FindMachineRoot().installRoot;
}
