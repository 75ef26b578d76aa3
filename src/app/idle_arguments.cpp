#include "app/idle_arguments.h"

#include <algorithm>
#include <charconv>
#include <string>

const char kIdleUsage[] =
    "usage: vostrel-idle [--wait WAIT] [--enable | --disable]\n"
    "  --wait 10    start the saver after 10 minutes without input (default: the desktop's\n"
    "               own idle delay where it has one, else 10 minutes); units may be given:\n"
    "               90s, 5min, 30m, 1h, 1h30m\n"
    "  --enable     start vostrel-idle (with this --wait) with each of your desktop sessions,\n"
    "               through ~/.config/autostart/vostrel-idle.desktop\n"
    "  --disable    no longer start it with your sessions\n";

namespace {

constexpr long long kLongestWaitSeconds = 24 * 60 * 60;

struct WaitUnit {
    std::string_view name;
    long long seconds;
};

constexpr WaitUnit kWaitUnits[] = {{"h", 3600}, {"min", 60}, {"m", 60}, {"s", 1}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The seconds of a unit's name; 0 when it names none.
long long UnitSeconds(std::string_view name) {
    for (const WaitUnit& unit : kWaitUnits)
        if (unit.name == name) return unit.seconds;
    return 0;
}

// Counts each followed by a unit, larger units first (`1h30m`, never `30m1h`); -1 when the
// text is not that or says more than a day.
long long WaitSecondsWithUnits(std::string_view text) {
    long long total = 0;
    long long lastUnitSeconds = kLongestWaitSeconds + 1;
    while (!text.empty()) {
        long long count = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
        if (!IsDigit(text.front()) || error != std::errc()) return -1;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        std::size_t letters = 0;
        while (letters < text.size() && !IsDigit(text[letters])) ++letters;
        const long long unitSeconds = UnitSeconds(text.substr(0, letters));
        if (unitSeconds == 0 || unitSeconds >= lastUnitSeconds ||
            count > kLongestWaitSeconds / unitSeconds) {
            return -1;
        }
        total += count * unitSeconds;
        lastUnitSeconds = unitSeconds;
        text.remove_prefix(letters);
    }
    return total;
}

}  // namespace

long long ParseIdleWait(std::string_view text) {
    // A bare number is minutes, as the first releases took it.
    const bool bare = !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
    const long long seconds =
        bare ? WaitSecondsWithUnits(std::string(text) + "m") : WaitSecondsWithUnits(text);
    if (seconds <= 0 || seconds > kLongestWaitSeconds) return 0;
    return seconds * 1000;
}

IdleArguments ParseIdleArguments(const std::vector<std::string_view>& arguments) {
    IdleArguments parsed;
    auto refuse = [&parsed](std::string error) {
        parsed.valid = false;
        parsed.error = std::move(error);
        return parsed;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--wait") {
            if (i + 1 == arguments.size())
                return refuse("--wait needs a wait: minutes (10) or with units (90s, 1h30m)");
            const std::string_view value = arguments[++i];
            parsed.waitMs = ParseIdleWait(value);
            parsed.waitText = value;
            if (parsed.waitMs == 0) {
                return refuse("--wait " + std::string(value) +
                              ": not a wait; give whole minutes (10) or a wait with units "
                              "(90s, 5min, 30m, 1h, 1h30m), from 1 second to 24 hours");
            }
        } else if (argument == "--enable") {
            parsed.command = IdleCommand::enable;
        } else if (argument == "--disable") {
            parsed.command = IdleCommand::disable;
        } else if (argument == "--help" || argument == "-h") {
            parsed.command = IdleCommand::help;
        } else {
            return refuse("unknown argument " + std::string(argument));
        }
    }
    return parsed;
}
