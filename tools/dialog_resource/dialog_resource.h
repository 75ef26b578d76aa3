// The Windows resource script of a dialog template: the DIALOGEX with every control as the
// system's own class and style, and the picture and icon files the template and the program
// name by number. The build runs it on the build machine, so that windres compiles the very
// template the other systems' dialogs are built from at run time.
#pragma once
#include <string>

#include "platform/dialog_view.h"

// Picture and icon files are named relative to resourceFolder.
std::string DialogResourceScript(const DialogTemplate& dialog, const std::string& resourceFolder);
