#include "app/render_settings.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "platform/system_text.h"

namespace {

bool ReadUnsigned(const std::string& text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    return !text.empty() && status == std::errc() && stop == end;
}

}  // namespace

bool SetSettingByName(Settings& target, const std::string& name, const std::string& value,
                      std::string& error) {
    const SettingEntry* setting = FindSetting(name.c_str());
    if (setting == nullptr) {
        error = "unknown setting \"" + name + "\"";
        return false;
    }
    if (setting->kind == SettingKind::Number) {
        std::uint32_t number = 0;
        if (!ReadUnsigned(value, number)) {
            error = "setting " + name + " wants a number 0 to 4294967295, not \"" + value + "\"";
            return false;
        }
        target.*setting->number = number;
        return true;
    }
    if (SystemTextLength(value) > kSettingTextMaxLength) {
        error = "setting " + name + " holds at most " + std::to_string(kSettingTextMaxLength) +
                " " + SystemTextUnit();
        return false;
    }
    char* field = target.*setting->text;
    std::memset(field, 0, kSettingTextSize);
    std::memcpy(field, value.data(), value.size());
    return true;
}
