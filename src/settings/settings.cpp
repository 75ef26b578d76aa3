#include "settings/settings.h"

Settings settings;

void ReadDebugSetting() {}
