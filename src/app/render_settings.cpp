#include "app/render_settings.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

struct NumberSetting {
    const char* name;
    std::uint32_t Settings::*field;
};

struct TextSetting {
    const char* name;
    char (Settings::*field)[kSettingTextSize];
};

constexpr std::array<NumberSetting, 14> kNumberSettings = {{
    {"resolution", &Settings::resolution},
    {"part", &Settings::part},
    {"useblur", &Settings::useblur},
    {"bpp", &Settings::bpp},
    {"psound", &Settings::psound},
    {"pmusic", &Settings::pmusic},
    {"pcd", &Settings::pcd},
    {"pmp3", &Settings::pmp3},
    {"restart", &Settings::restart},
    {"showcred", &Settings::showcred},
    {"text", &Settings::text},
    {"starfield", &Settings::starfield},
    {"matrox", &Settings::matrox},
    {"debug", &Settings::debug},
}};

constexpr std::array<TextSetting, 2> kTextSettings = {{
    {"datapath", &Settings::datapath},
    {"vostrel", &Settings::vostrel},
}};

bool ReadUnsigned(const std::string& text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    return !text.empty() && status == std::errc() && stop == end;
}

}  // namespace

bool SetSettingByName(Settings& target, const std::string& name, const std::string& value,
                      std::string& error) {
    for (const NumberSetting& setting : kNumberSettings) {
        if (name != setting.name) continue;
        std::uint32_t number = 0;
        if (!ReadUnsigned(value, number)) {
            error = "setting " + name + " wants a number 0 to 4294967295, not \"" + value + "\"";
            return false;
        }
        target.*setting.field = number;
        return true;
    }
    for (const TextSetting& setting : kTextSettings) {
        if (name != setting.name) continue;
        if (value.size() >= kSettingTextSize) {
            error = "setting " + name + " holds at most " + std::to_string(kSettingTextSize - 1) +
                    " bytes";
            return false;
        }
        char* field = target.*setting.field;
        std::memset(field, 0, kSettingTextSize);
        std::memcpy(field, value.data(), value.size());
        return true;
    }
    error = "unknown setting \"" + name + "\"";
    return false;
}
