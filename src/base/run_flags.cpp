#include "base/run_flags.h"

RunMode runMode = RunMode::Config;
std::uint8_t previewFlag = 0;
std::uint8_t hardwareTest = 0;
std::uint8_t quietCopy = 0;
