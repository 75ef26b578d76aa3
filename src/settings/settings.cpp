#include "settings/settings.h"

Settings settings;

void ReadDebugSetting() {}

void LoadSaverSettings() {}

int DetailLevelFromPart(std::uint32_t part) {
    if (part == kPartLow) return 0;
    if (part == kPartMedium) return 1;
    return 2;
}
