#include "settings/settings.h"

#include <cstring>

#include "platform/registry.h"

Settings settings;

const SettingEntry* FindSetting(const char* name) {
    for (const SettingEntry& entry : kSettingTable) {
        if (std::strcmp(entry.name, name) == 0) return &entry;
    }
    return nullptr;
}

void ReadSetting(RegistryKey* key, const SettingEntry& entry, Settings& record) {
    if (entry.kind == SettingKind::Number) {
        QueryRegistryDword(key, entry.name, &(record.*entry.number));
    } else {
        char text[kSettingTextSize];
        if (QueryRegistryString(key, entry.name, text, sizeof text) &&
            SystemTextLength(text) <= kSettingTextMaxLength) {
            std::memcpy(record.*entry.text, text, sizeof text);
        }
    }
}

bool WriteSetting(RegistryKey* key, const SettingEntry& entry, const Settings& record) {
    if (entry.kind == SettingKind::Number) {
        return SetRegistryDword(key, entry.name, record.*entry.number);
    }
    return SetRegistryString(key, entry.name, record.*entry.text, kSettingTextSize);
}

void ReadSettingsValues(RegistryKey* key, Settings& record) {
    for (const SettingEntry& entry : kSettingTable) ReadSetting(key, entry, record);
}

void ReadDebugSetting() {
    RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::User, kSettingsKeyPath);
    if (key == nullptr) return;
    ReadSetting(key, SettingFor(&Settings::debug), settings);
    CloseRegistryKey(key);
}

namespace {

void LoadSettingsFrom(RegistryKey* key) {
    settings = Settings{};
    if (key == nullptr) return;
    ReadSettingsValues(key, settings);
    CloseRegistryKey(key);
}

}  // namespace

void LoadSaverSettings() {
    LoadSettingsFrom(CreateRegistryKey(RegistryRoot::User, kSettingsKeyPath));
}

void LoadStoredSettings() {
    LoadSettingsFrom(OpenRegistryKeyReadOnly(RegistryRoot::User, kSettingsKeyPath));
}

int DetailLevelFromPart(std::uint32_t part) {
    if (part == kPartLow) return kDetailLow;
    if (part == kPartMedium) return kDetailMedium;
    return kDetailHigh;
}
