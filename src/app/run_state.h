// The run mode of this process, settled by the command line before any other work.
#pragma once
#include <cstdint>

enum class RunMode : int { Config = 0, Preview = 1, Saver = 2, Password = 3 };

extern RunMode runMode;
// 1 exactly when the mode is Preview; the show and the window read it.
extern std::uint8_t previewFlag;
