#include "display/run_flags.h"

std::uint8_t hardwareTest = 0;
