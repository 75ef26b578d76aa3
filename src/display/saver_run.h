// One run of the show in a window: full screen (Saver, hardware test) or inside the preview
// window, until the window procedure raises the quit flag.
#pragma once
#include "platform/window_id.h"

void RunSaver(WindowId given);
