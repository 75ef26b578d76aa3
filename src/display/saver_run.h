// One run of the show in a window: full screen (Saver, hardware test) or inside the preview
// window, until the window procedure raises the quit flag; and its tear-down.
#pragma once
#include "base/product.h"
#include "platform/window_id.h"

// The window class of the saver window, registered by every run.
inline constexpr const char* kSaverClassName = kProductName;

void RunSaver(WindowId given);
// Stops the show, restores the display mode, deletes the context, destroys the window and
// unregisters the class, logging each step. Does nothing when no install folder was found.
void CloseSaverWindow();
