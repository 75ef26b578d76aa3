#include "display/run_flags.h"

std::uint8_t hardwareTest = 0;
std::uint8_t quietBackground = 0;
