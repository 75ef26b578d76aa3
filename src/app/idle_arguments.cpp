#include "app/idle_arguments.h"

#include <charconv>

const char kIdleUsage[] =
    "usage: vostrel-idle [--wait MINUTES | --wait SECONDSs] [--enable | --disable]\n"
    "  --wait 10    start the saver after 10 minutes without input (default: the desktop's\n"
    "               own idle delay where it has one, else 10 minutes); --wait 30s: 30 seconds\n"
    "  --enable     start vostrel-idle (with this --wait) with each of your desktop sessions,\n"
    "               through ~/.config/autostart/vostrel-idle.desktop\n"
    "  --disable    no longer start it with your sessions\n";

namespace {

constexpr long long kLongestWaitSeconds = 24 * 60 * 60;

}  // namespace

long long ParseIdleWait(std::string_view text) {
    long long unitSeconds = 60;
    if (!text.empty() && text.back() == 's') {
        unitSeconds = 1;
        text.remove_suffix(1);
    }
    long long count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return 0;
    if (count <= 0 || count > kLongestWaitSeconds / unitSeconds) return 0;
    return count * unitSeconds * 1000;
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
                return refuse("--wait needs a number of minutes (or seconds: 30s)");
            const std::string_view value = arguments[++i];
            parsed.waitMs = ParseIdleWait(value);
            parsed.waitText = value;
            if (parsed.waitMs == 0) {
                return refuse("--wait " + std::string(value) +
                              ": not a wait; give whole minutes (10) or seconds (30s), from 1 "
                              "second to 24 hours");
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
