// The run mode of this process, settled by the command line before any other work.
#pragma once
#include <cstdint>

// Host is never chosen by the command line: it is the mode of the separate program that a
// screen-saver host starts, which plays the full show in the host's window until it is ended.
enum class RunMode : int { Config = 0, Preview = 1, Saver = 2, Password = 3, Host = 4 };

extern RunMode runMode;
// 1 exactly when the mode is Preview; the show and the window read it.
extern std::uint8_t previewFlag;
