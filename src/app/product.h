// The product's name as the system shows it: the title of every box of the saver and the
// entry point, the saver window's title and class, and the description of the saver.
#pragma once

inline constexpr const char* kProductName = "Vostrel ScreenSaver";
