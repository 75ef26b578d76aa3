// The boxes a saver run shows after the install folder lookup and the data file check: both
// owned by the window the run was given and titled kBoxTitle.
#pragma once
#include "base/product.h"

// Error icon; no folder was found and the run ends.
inline constexpr const char* kComponentsMissingError =
    "Some components are missing or may be damaged.\nPlease re-install Vostrel ScreenSaver.";

// Warning icon; a data file did not open and the run goes on.
inline constexpr const char* kComponentsMissingWarning =
    "WARNING: Some components are missing or may be damaged.\nVostrel ScreenSaver won't run "
    "properly.\nPlease re-install Vostrel ScreenSaver.";
