// Temporary: a stand-in until the debug report's settings dump lands.
void LogSettingsDump();

__attribute__((weak)) void LogSettingsDump() {}
