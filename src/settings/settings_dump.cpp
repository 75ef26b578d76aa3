#include "settings/settings_dump.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "base/report_log.h"
#include "settings/settings.h"

namespace {

// A settings text as stored, even if its terminator went missing.
std::string SettingText(const char (&text)[kSettingTextSize]) {
    return std::string(text, strnlen(text, kSettingTextSize));
}

const char* DetailLevelName(std::uint32_t part) {
    switch (part) {
        case kPartLow:
            return "LOW\n";
        case kPartMedium:
            return "MED\n";
        case kPartHigh:
            return "HIGH\n";
        default:
            return "UNKNOWN?!?\n";
    }
}

void LogSwitch(const char* format, std::uint32_t value) {
    LogLine(format, static_cast<int>(LowByte(value)));
}

}  // namespace

void LogSettingsDump() {
    LogLine("Settings\n========\n");
    LogLine("Detail Level = %s", DetailLevelName(settings.part));
    LogSwitch("Play Sounds = %d\n", settings.psound);
    LogSwitch("Play Music = %d\n", settings.pmusic);
    LogSwitch("Play Audio CD = %d\n", settings.pcd);
    LogSwitch("Play MP3 = %d\n", settings.pmp3);
    LogLine("MP3 File Path = %s\n", SettingText(settings.datapath).c_str());
    LogSwitch("Motion Blur = %d\n", settings.useblur);
    LogSwitch("Show Credits = %d\n", settings.showcred);
    LogSwitch("Restart = %d\n", settings.restart);
    LogSwitch("Starfield = %d\n", settings.starfield);
    LogSwitch("Matrox mode = %d\n", settings.matrox);
    LogSwitch("Display Caption = %d\n", settings.text);
    LogLine("Caption = %s\n\nSETTING VIDEO MODE\n==================\n\n",
            SettingText(settings.vostrel).c_str());
}
