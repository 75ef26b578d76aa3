#include "settings/settings.h"

#include "platform/registry.h"

Settings settings;

namespace {

void ReadNumber(RegistryKey* key, const char* name, std::uint32_t& field) {
    QueryRegistryDword(key, name, &field);
}

void ReadText(RegistryKey* key, const char* name, char (&field)[kSettingTextSize]) {
    QueryRegistryString(key, name, field, sizeof field);
}

}  // namespace

void ReadSettingsValues(RegistryKey* key, Settings& record) {
    ReadNumber(key, "resolution", record.resolution);
    ReadNumber(key, "part", record.part);
    ReadNumber(key, "useblur", record.useblur);
    ReadText(key, "datapath", record.datapath);
    ReadNumber(key, "bpp", record.bpp);
    ReadNumber(key, "psound", record.psound);
    ReadNumber(key, "pmusic", record.pmusic);
    ReadNumber(key, "pcd", record.pcd);
    ReadNumber(key, "pmp3", record.pmp3);
    ReadNumber(key, "restart", record.restart);
    ReadNumber(key, "showcred", record.showcred);
    ReadNumber(key, "text", record.text);
    ReadText(key, "vostrel", record.vostrel);
    ReadNumber(key, "starfield", record.starfield);
    ReadNumber(key, "matrox", record.matrox);
    ReadNumber(key, "debug", record.debug);
}

void ReadDebugSetting() {
    RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::User, kSettingsKeyPath);
    if (key == nullptr) return;
    ReadNumber(key, "debug", settings.debug);
    CloseRegistryKey(key);
}

void LoadSaverSettings() {
    settings = Settings{};
    RegistryKey* key = CreateRegistryKey(RegistryRoot::User, kSettingsKeyPath);
    if (key == nullptr) return;
    ReadSettingsValues(key, settings);
    CloseRegistryKey(key);
}

int DetailLevelFromPart(std::uint32_t part) {
    if (part == kPartLow) return kDetailLow;
    if (part == kPartMedium) return kDetailMedium;
    return kDetailHigh;
}
