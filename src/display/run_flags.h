// Flags of the saver run that the show reads.
#pragma once
#include <cstdint>

// 1 while the dialog's 3D hardware test runs the window instead of the show.
extern std::uint8_t hardwareTest;
