// The registry-style store on Windows: the registry itself, HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE, in the view of this 64-bit program (where a 64-bit installer writes).
//
// Realised here: keys opened or created with RegCreateKeyExW/RegOpenKeyExW, REG_DWORD and REG_SZ
// values through the wide calls, so names and texts cross as UTF-8 on our side and UTF-16 in
// the registry. A value is visible to every process once the set returns; the registry writes
// it to disk itself. A REG_SZ stored without its terminating zero reads as if it had one.
// Left out: other value types (REG_EXPAND_SZ is not expanded, it simply reads as absent),
// deleting and enumerating, and creating machine keys: the program only reads those, even when
// run with the rights to write them. MachineInstallRoot is always "" (the installer stores
// whole Windows paths), and the tests' machine root belongs to the Linux store alone.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/win32/wide_text.h"

struct RegistryKey {
    HKEY handle = nullptr;
};

namespace {

HKEY RootHandle(RegistryRoot root) {
    return root == RegistryRoot::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

RegistryKey* WrapKey(LONG result, HKEY handle) {
    if (result != ERROR_SUCCESS) return nullptr;
    return new RegistryKey{handle};
}

// The value's bytes when it is of `type`; the size is asked first, and asked again should the
// value grow between the two calls.
bool ReadValue(RegistryKey* key, const char* name, DWORD type, std::vector<BYTE>& data) {
    const std::wstring wideName = WideFromUtf8(name);
    for (;;) {
        DWORD storedType = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key->handle, wideName.c_str(), nullptr, &storedType, nullptr, &size) !=
                ERROR_SUCCESS ||
            storedType != type) {
            return false;
        }
        data.resize(size);
        const LONG result = RegQueryValueExW(key->handle, wideName.c_str(), nullptr, &storedType,
                                             data.data(), &size);
        if (result == ERROR_MORE_DATA) continue;
        data.resize(size);
        return result == ERROR_SUCCESS && storedType == type;
    }
}

bool WriteValue(RegistryKey* key, const char* name, DWORD type, const void* data, DWORD size) {
    if (key == nullptr || name == nullptr) return false;
    return RegSetValueExW(key->handle, WideFromUtf8(name).c_str(), 0, type,
                          static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

}  // namespace

RegistryKey* CreateRegistryKey(RegistryRoot root, const char* path) {
    if (root == RegistryRoot::Machine || path == nullptr || *path == '\0') return nullptr;
    HKEY handle = nullptr;
    const LONG result = RegCreateKeyExW(RootHandle(root), WideFromUtf8(path).c_str(), 0, nullptr, 0,
                                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &handle, nullptr);
    return WrapKey(result, handle);
}

RegistryKey* OpenRegistryKeyReadOnly(RegistryRoot root, const char* path) {
    if (path == nullptr || *path == '\0') return nullptr;
    HKEY handle = nullptr;
    const LONG result =
        RegOpenKeyExW(RootHandle(root), WideFromUtf8(path).c_str(), 0, KEY_QUERY_VALUE, &handle);
    return WrapKey(result, handle);
}

void CloseRegistryKey(RegistryKey* key) {
    if (key == nullptr) return;
    RegCloseKey(key->handle);
    delete key;
}

bool QueryRegistryDword(RegistryKey* key, const char* name, std::uint32_t* value) {
    if (key == nullptr || name == nullptr || value == nullptr) return false;
    std::vector<BYTE> data;
    if (!ReadValue(key, name, REG_DWORD, data) || data.size() != sizeof *value) return false;
    std::memcpy(value, data.data(), sizeof *value);
    return true;
}

bool QueryRegistryString(RegistryKey* key, const char* name, char* buffer, std::size_t capacity) {
    if (key == nullptr || name == nullptr || buffer == nullptr) return false;
    std::vector<BYTE> data;
    if (!ReadValue(key, name, REG_SZ, data)) return false;
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    wide.resize(wcsnlen(wide.c_str(), wide.size()));
    const std::string text = Utf8FromWide(wide);
    if (text.size() + 1 > capacity) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

bool SetRegistryDword(RegistryKey* key, const char* name, std::uint32_t value) {
    const DWORD data = value;
    return WriteValue(key, name, REG_DWORD, &data, sizeof data);
}

bool SetRegistryString(RegistryKey* key, const char* name, const char* buffer, std::size_t size) {
    if (buffer == nullptr) return false;
    const std::wstring wide = WideFromUtf8(std::string(buffer, strnlen(buffer, size)));
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return WriteValue(key, name, REG_SZ, wide.c_str(), bytes);
}

std::string MachineInstallRoot() {
    return {};
}
