// The process-wide run flags: settled by the entry point before any other work and read by
// the show and the window, which must not reach up to the entry point for them.
#pragma once
#include <cstdint>

enum class RunMode : int { Config = 0, Preview = 1, Saver = 2, Password = 3 };

extern RunMode runMode;
// 1 exactly when the mode is Preview; the show and the window read it.
extern std::uint8_t previewFlag;
// 1 while the dialog's 3D hardware test runs the window instead of the show.
extern std::uint8_t hardwareTest;
