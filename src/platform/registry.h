// The registry-style store: keys of named 32-bit numbers and strings under a per-user root
// and a machine-wide root, with the Win32 registry's contract as the settings need it.
//
//   - CreateRegistryKey opens a key, creating it (empty) when it is missing. Under the machine
//     root, which the program only reads, it fails as a user without rights would.
//   - OpenRegistryKeyReadOnly opens an existing key and never creates one; nothing can be
//     written through it.
//   - Queries succeed only for a value of the asked type that fits the capacity: a string
//     needs its text and terminating zero to fit. On failure the buffer is left untouched, so
//     a field read into keeps its default.
//   - A key opened stays open until CloseRegistryKey; every query reads the stored values as
//     they are at that moment, and every set is stored before it returns.
//   - A damaged store reads as absent values; the next set replaces it cleanly.
//
// Key paths are written as in Windows, with backslashes ("Software\VostrelSaver").
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum class RegistryRoot { User, Machine };

struct RegistryKey;

// Null when the key can be neither opened nor created.
RegistryKey* CreateRegistryKey(RegistryRoot root, const char* path);
// Null when the key does not exist.
RegistryKey* OpenRegistryKeyReadOnly(RegistryRoot root, const char* path);
void CloseRegistryKey(RegistryKey* key);

bool QueryRegistryDword(RegistryKey* key, const char* name, std::uint32_t* value);
bool QueryRegistryString(RegistryKey* key, const char* name, char* buffer, std::size_t capacity);

bool SetRegistryDword(RegistryKey* key, const char* name, std::uint32_t value);
// Stores the text in buffer up to its terminating zero, looking no further than size bytes.
bool SetRegistryString(RegistryKey* key, const char* name, const char* buffer, std::size_t size);

// The folder an installed tree was unpacked under, "" when it is installed in place (and
// always for the build tree): folder paths stored in machine keys are read below it, so a
// package unpacked anywhere finds its own files.
std::string MachineInstallRoot();
