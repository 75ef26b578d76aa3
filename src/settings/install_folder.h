// The install folder recorded by the installer, and the check that every data file is there.
//
// Data paths are written as the install folder followed by a relative path that begins with
// a backslash, in Windows spelling ("\data\front.jpg"). DataPath turns that into a real path
// on this system: backslashes become slashes and, where the exact name is missing, each name
// is matched without regard to letter case.
#pragma once
#include <string>

#include "base/data_manifest.h"
#include "base/product.h"

// The installer's machine key and the value that holds the install folder.
inline constexpr const char* kInstallKeyPath = "Software\\Calimor\\VostrelSaver" VOSTREL_VERSION;
inline constexpr const char* kInstallPathValue = "Path";
// The longest install folder, in the system's text units (platform/system_text.h); the
// installer refuses a longer one.
inline constexpr int kInstallFolderMaxLength = 255;

// True once a lookup has succeeded; never set back.
extern bool installFolderFound;

// The install folder, or nullptr while none was found.
const char* InstallFolder();

// Reads the install folder from the machine key. A failed lookup while none was found shows
// the mouse cursor (one ChangeCursorCount call); after a successful one it changes nothing.
void LookUpDataFolder();

// Opens each file of kDataManifest in order; false at the first that does not open.
bool CheckDataFiles();

// The file path for a relative data path such as "\data\bang.wav"; empty when no install
// folder was found.
std::string DataPath(const char* relative);
