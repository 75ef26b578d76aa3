// Install folders for tests and benchmarks: the machine key an installer would write, in a
// scratch machine root, so that the program finds its data exactly as in a real run.
#pragma once
#include <string>

// Writes, under `machineRoot`, the machine key that records `installFolder`.
void WriteMachineKey(const std::string& machineRoot, const std::string& installFolder);

// Runs the install folder lookup against a scratch machine key naming `installFolder`, then
// removes the key and returns to the real machine root; the folder found stays found.
void LookUpInstallFolderAt(const std::string& installFolder);

// The build tree's install folder: VOSTREL_BUILD_DIR/data, else data beside the folder that
// holds the running program.
std::string BuildInstallFolder();
