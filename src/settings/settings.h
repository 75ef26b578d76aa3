// The sixteen persisted settings, named by their store value names, with their defaults.
// The saver run reads one process-wide record; the dialog keeps its own copy.
#pragma once
#include <cstdint>

struct RegistryKey;

// The per-user key that holds the settings.
inline constexpr const char* kSettingsKeyPath = "Software\\VostrelSaver";

inline constexpr int kSettingTextSize = 256;

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

struct Settings {
    std::uint32_t resolution = kResolution640;
    std::uint32_t part = kPartMedium;
    std::uint32_t useblur = 0;
    char datapath[kSettingTextSize] = "";
    std::uint32_t bpp = 0;
    std::uint32_t psound = 1;
    std::uint32_t pmusic = 1;
    std::uint32_t pcd = 0;
    std::uint32_t pmp3 = 0;
    std::uint32_t restart = 1;
    std::uint32_t showcred = 1;
    std::uint32_t text = 1;
    char vostrel[kSettingTextSize] = "VOSTREL";
    std::uint32_t starfield = 1;
    std::uint32_t matrox = 0;
    std::uint32_t debug = 0;
};

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

// The show's detail index (`detailLevel`); it scales the particle counts and the effects.
inline constexpr int kDetailLow = 0;
inline constexpr int kDetailMedium = 1;
inline constexpr int kDetailHigh = 2;

// The show's detail index from `part`: 1035 gives low, 1036 medium, anything else high.
int DetailLevelFromPart(std::uint32_t part);
