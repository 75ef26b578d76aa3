#include "settings/dialog_settings.h"

#include <cstring>

#include "platform/data_files.h"
#include "platform/registry.h"

namespace {

void WriteNumber(RegistryKey* key, const char* name, std::uint32_t value) {
    SetRegistryDword(key, name, value);
}

void WriteText(RegistryKey* key, const char* name, const char (&field)[kSettingTextSize]) {
    SetRegistryString(key, name, field, sizeof field);
}

bool IsCaptionLetter(char c) {
    return (c >= 'A' && c <= 'Z') || c == ' ';
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
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
    WriteNumber(key, "resolution", copy.resolution);
    WriteNumber(key, "part", copy.part);
    WriteNumber(key, "useblur", copy.useblur);
    WriteText(key, "datapath", copy.datapath);
    WriteNumber(key, "bpp", copy.bpp);
    WriteNumber(key, "pmusic", copy.pmusic);
    WriteNumber(key, "psound", copy.psound);
    WriteNumber(key, "pcd", copy.pcd);
    if (mp3PathValid) WriteNumber(key, "pmp3", copy.pmp3);
    WriteNumber(key, "restart", copy.restart);
    WriteNumber(key, "showcred", copy.showcred);
    WriteNumber(key, "text", copy.text);
    WriteNumber(key, "starfield", copy.starfield);
    WriteNumber(key, "matrox", copy.matrox);
    WriteNumber(key, "debug", copy.debug);
}

void StoreCaption(RegistryKey* key, const Settings& copy) {
    WriteText(key, "vostrel", copy.vostrel);
}
