#include "settings/dialog_settings.h"

#include <cstring>

#include "platform/ascii_case.h"
#include "platform/data_files.h"
#include "platform/registry.h"

namespace {

bool IsCaptionLetter(char c) {
    return (c >= 'A' && c <= 'Z') || c == ' ';
}

}  // namespace

void LoadDialogSettings(RegistryKey* key, Settings& copy) {
    copy = Settings{};
    ReadSettingsValues(key, copy);
    if (copy.datapath[0] == '\0') {
        std::strncpy(copy.datapath, kNoMp3PathText, sizeof copy.datapath - 1);
    }
}

void RestoreDefaultSettings(Settings& copy) {
    Settings defaults;
    std::memcpy(defaults.datapath, copy.datapath, sizeof defaults.datapath);
    copy = defaults;
}

CaptionCheck CheckCaption(Settings& copy) {
    const std::size_t length = strnlen(copy.vostrel, sizeof copy.vostrel);
    if (length > kCaptionMaxLength) return CaptionCheck::TooLong;
    if (copy.text != 1) return CaptionCheck::Valid;
    bool valid = length > 0;
    for (std::size_t i = 0; i < length; ++i) {
        copy.vostrel[i] = UpperAscii(copy.vostrel[i]);
        if (!IsCaptionLetter(copy.vostrel[i])) valid = false;
    }
    return valid ? CaptionCheck::Valid : CaptionCheck::NotLetters;
}

bool Mp3PathReadable(const char* path) {
    return FileOpensForReading(path);
}

void StoreDialogSettings(RegistryKey* key, const Settings& copy, bool mp3PathValid) {
    WriteSetting(key, SettingFor(&Settings::resolution), copy);
    WriteSetting(key, SettingFor(&Settings::part), copy);
    WriteSetting(key, SettingFor(&Settings::useblur), copy);
    WriteSetting(key, SettingFor(&Settings::datapath), copy);
    WriteSetting(key, SettingFor(&Settings::bpp), copy);
    WriteSetting(key, SettingFor(&Settings::pmusic), copy);
    WriteSetting(key, SettingFor(&Settings::psound), copy);
    WriteSetting(key, SettingFor(&Settings::pcd), copy);
    if (mp3PathValid) WriteSetting(key, SettingFor(&Settings::pmp3), copy);
    WriteSetting(key, SettingFor(&Settings::restart), copy);
    WriteSetting(key, SettingFor(&Settings::showcred), copy);
    WriteSetting(key, SettingFor(&Settings::text), copy);
    WriteSetting(key, SettingFor(&Settings::starfield), copy);
    WriteSetting(key, SettingFor(&Settings::matrox), copy);
    WriteSetting(key, SettingFor(&Settings::debug), copy);
}

void StoreCaption(RegistryKey* key, const Settings& copy) {
    WriteSetting(key, SettingFor(&Settings::vostrel), copy);
}
