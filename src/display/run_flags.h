// Flags of the saver run that the show reads.
#pragma once
#include <cstdint>

// 1 while the dialog's 3D hardware test runs the window instead of the show.
extern std::uint8_t hardwareTest;
// 1 when another copy already plays the background audio: a host may run one copy per
// monitor, and several copies of the music out of step would be noise.
extern std::uint8_t quietBackground;
