#include "settings/dialog_settings.h"

#include <cstring>

#include "base/utf8_text.h"
#include "platform/ascii_case.h"
#include "platform/data_files.h"
#include "platform/registry.h"

namespace {

bool IsCaptionLetter(char c) {
    return (c >= 'A' && c <= 'Z') || c == ' ';
}

// The OK button's writes in its order; `pmp3` only with a valid path, `vostrel` on its own.
constexpr const SettingEntry* kOkWrites[] = {
    &SettingFor(&Settings::resolution), &SettingFor(&Settings::part),
    &SettingFor(&Settings::useblur),    &SettingFor(&Settings::datapath),
    &SettingFor(&Settings::bpp),        &SettingFor(&Settings::pmusic),
    &SettingFor(&Settings::psound),     &SettingFor(&Settings::pcd),
    &SettingFor(&Settings::pmp3),       &SettingFor(&Settings::restart),
    &SettingFor(&Settings::showcred),   &SettingFor(&Settings::text),
    &SettingFor(&Settings::starfield),  &SettingFor(&Settings::matrox),
    &SettingFor(&Settings::debug),
};

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
    const std::size_t characters = Utf8CharacterCount({copy.vostrel, length});
    if (characters > kCaptionMaxLength) return CaptionCheck::TooLong;
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

bool StoreDialogSettings(RegistryKey* key, const Settings& copy, bool mp3PathValid) {
    for (const SettingEntry* entry : kOkWrites) {
        if (entry->number == &Settings::pmp3 && !mp3PathValid) continue;
        if (!WriteSetting(key, *entry, copy)) return false;
    }
    return true;
}

bool StoreCaption(RegistryKey* key, const Settings& copy) {
    return WriteSetting(key, SettingFor(&Settings::vostrel), copy);
}
