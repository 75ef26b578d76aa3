// Every test program plays into SDL's dummy audio driver unless a test names another (the
// audio tests capture with the disk driver), so no test depends on the machine's sound
// device, fails for want of one, or makes a noise on it.
#include <stdlib.h>

namespace {

const bool dummyAudio = setenv("SDL_AUDIODRIVER", "dummy", 1) == 0;

}  // namespace
