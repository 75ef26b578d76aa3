// The process-wide run flags: settled by the entry point before any other work and read by
// the show and the window, which must not reach up to the entry point for them.
#pragma once
#include <cstdint>

// Host is never chosen by the command line: it is the mode of the separate program that a
// screen-saver host starts, which plays the full show in the host's window until it is ended.
enum class RunMode : int { Config = 0, Preview = 1, Saver = 2, Password = 3, Host = 4 };

extern RunMode runMode;
// 1 exactly when the mode is Preview; the show and the window read it.
extern std::uint8_t previewFlag;
// 1 while the dialog's 3D hardware test runs the window instead of the show.
extern std::uint8_t hardwareTest;
// 1 when another copy already plays the sound: a host may run one copy per monitor, and
// every copy's music and bangs at once would sound each bang twice over music out of step.
extern std::uint8_t quietCopy;
