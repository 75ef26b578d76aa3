// The sixteen persisted settings: the record, and one table of their stored names, fields,
// kinds and defaults that the load, the dialog's store, the renderer's overrides and the
// settings dump all go through.
// The saver run reads one process-wide record; the dialog keeps its own copy.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/system_text.h"

struct RegistryKey;

// The per-user key that holds the settings.
inline constexpr const char* kSettingsKeyPath = "Software\\VostrelSaver";

// A text setting holds at most this many of the system's text units, as a value of a
// 256-character buffer does; its field holds them in UTF-8 with the terminating zero.
inline constexpr std::size_t kSettingTextMaxLength = 255;
inline constexpr int kSettingTextSize = kSettingTextMaxLength * kMostUtf8BytesPerSystemUnit + 1;

// Values of `resolution` and `part`: the ids of the dialog's radio buttons.
inline constexpr std::uint32_t kResolution640 = 1013;
inline constexpr std::uint32_t kResolution800 = 1014;
inline constexpr std::uint32_t kResolution1024 = 1016;
inline constexpr std::uint32_t kResolution1152 = 1038;
inline constexpr std::uint32_t kResolution1280 = 1039;
inline constexpr std::uint32_t kResolutionDesktop = 1017;
inline constexpr std::uint32_t kPartLow = 1035;
inline constexpr std::uint32_t kPartMedium = 1036;
inline constexpr std::uint32_t kPartHigh = 1037;

// Defaults come from kSettingTable below, so that every field's default is written once.
struct Settings {
    constexpr Settings();

    std::uint32_t resolution{};
    std::uint32_t part{};
    std::uint32_t useblur{};
    char datapath[kSettingTextSize]{};
    std::uint32_t bpp{};
    std::uint32_t psound{};
    std::uint32_t pmusic{};
    std::uint32_t pcd{};
    std::uint32_t pmp3{};
    std::uint32_t restart{};
    std::uint32_t showcred{};
    std::uint32_t text{};
    char vostrel[kSettingTextSize]{};
    std::uint32_t starfield{};
    std::uint32_t matrox{};
    std::uint32_t debug{};
};

// A number is stored as a 4-byte DWORD; a text as the whole buffer up to its zero.
enum class SettingKind { Number, Text };

// One stored setting: its value name in the key, its field, its kind and its default.
struct SettingEntry {
    const char* name;
    SettingKind kind;
    std::uint32_t Settings::* number;          // Number settings only
    char (Settings::*text)[kSettingTextSize];  // Text settings only
    std::uint32_t numberDefault;
    const char* textDefault;
};

constexpr SettingEntry NumberSetting(const char* name, std::uint32_t Settings::* field,
                                     std::uint32_t fallback) {
    return {name, SettingKind::Number, field, nullptr, fallback, nullptr};
}

constexpr SettingEntry TextSetting(const char* name, char (Settings::*field)[kSettingTextSize],
                                   const char* fallback) {
    return {name, SettingKind::Text, nullptr, field, 0, fallback};
}

inline constexpr int kSettingCount = 16;

// The sixteen settings in the order the saver reads them. The dialog's OK button writes them
// in an order of its own, so it picks entries by field (SettingFor) rather than walking this.
inline constexpr SettingEntry kSettingTable[kSettingCount] = {
    NumberSetting("resolution", &Settings::resolution, kResolution640),
    NumberSetting("part", &Settings::part, kPartMedium),
    NumberSetting("useblur", &Settings::useblur, 0),
    TextSetting("datapath", &Settings::datapath, ""),
    NumberSetting("bpp", &Settings::bpp, 0),
    NumberSetting("psound", &Settings::psound, 1),
    NumberSetting("pmusic", &Settings::pmusic, 1),
    NumberSetting("pcd", &Settings::pcd, 0),
    NumberSetting("pmp3", &Settings::pmp3, 0),
    NumberSetting("restart", &Settings::restart, 1),
    NumberSetting("showcred", &Settings::showcred, 1),
    NumberSetting("text", &Settings::text, 1),
    TextSetting("vostrel", &Settings::vostrel, "VOSTREL"),
    NumberSetting("starfield", &Settings::starfield, 1),
    NumberSetting("matrox", &Settings::matrox, 0),
    NumberSetting("debug", &Settings::debug, 0),
};

constexpr Settings::Settings() {
    for (const SettingEntry& entry : kSettingTable) {
        if (entry.kind == SettingKind::Number) {
            this->*entry.number = entry.numberDefault;
            continue;
        }
        char* field = this->*entry.text;
        for (int i = 0; entry.textDefault[i] != '\0'; ++i) field[i] = entry.textDefault[i];
    }
}

// The table's entry of a field, found while compiling: a field without one does not build.
consteval const SettingEntry& SettingFor(std::uint32_t Settings::* field) {
    for (const SettingEntry& entry : kSettingTable) {
        if (entry.number == field) return entry;
    }
    throw "every number field has an entry";
}

consteval const SettingEntry& SettingFor(char (Settings::*field)[kSettingTextSize]) {
    for (const SettingEntry& entry : kSettingTable) {
        if (entry.text == field) return entry;
    }
    throw "every text field has an entry";
}

// The entry stored under `name` (exact spelling), or nullptr.
const SettingEntry* FindSetting(const char* name);

// Reads one value into record; an absent or unreadable value, or a text longer than
// kSettingTextMaxLength, leaves the field as it is.
void ReadSetting(RegistryKey* key, const SettingEntry& entry, Settings& record);

// Writes one value from record: a DWORD, or the text. False when the store did not take it.
bool WriteSetting(RegistryKey* key, const SettingEntry& entry, const Settings& record);

// The saver run's record.
extern Settings settings;

// Reads the sixteen values from an open settings key into record, in the store's order;
// absent or unreadable values leave their fields as they are.
void ReadSettingsValues(RegistryKey* key, Settings& record);

// Reads `debug` alone, without creating the settings key (the entry point, Saver mode).
void ReadDebugSetting();

// Reads all sixteen values into `settings` (creating an empty key on a first run); absent
// or unreadable values get their defaults, whatever an earlier run of the process left there.
void LoadSaverSettings();
// The same without creating anything: with no stored key every value is its default. For the
// tools that only look at the show and must leave a user's home as they found it.
void LoadStoredSettings();

// How the saver reads a yes/no setting: only the low byte of the stored DWORD counts, so a
// hand-typed 0x100 is off.
constexpr unsigned LowByte(std::uint32_t value) {
    return value & 0xFFu;
}

// The show's detail index (`detailLevel`); it scales the particle counts and the effects.
inline constexpr int kDetailLow = 0;
inline constexpr int kDetailMedium = 1;
inline constexpr int kDetailHigh = 2;

// The show's detail index from `part`: 1035 gives low, 1036 medium, anything else high.
int DetailLevelFromPart(std::uint32_t part);
