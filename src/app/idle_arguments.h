// The command line of vostrel-idle, the per-user program that starts the saver once the
// session has been idle for a wait: `--wait 10` (minutes) or with units (`90s`, `1h30m`), and
// --enable / --disable to start it with each of the user's sessions or no longer.
#pragma once
#include <string>
#include <string_view>
#include <vector>

enum class IdleCommand { watch, enable, disable, help };

struct IdleArguments {
    bool valid = true;
    std::string error;  // when not valid
    IdleCommand command = IdleCommand::watch;
    long long waitMs = 0;  // 0 when no --wait was given: the desktop's own delay applies
    std::string waitText;  // the --wait value as given, for the session's start
};

extern const char kIdleUsage[];
// The wait when neither the command line nor the desktop gives one.
constexpr long long kDefaultIdleWaitMs = 10 * 60 * 1000;

IdleArguments ParseIdleArguments(const std::vector<std::string_view>& arguments);
// A wait as written after --wait, in milliseconds; 0 when it is not one (zero, negative,
// not a number, or longer than a day).
long long ParseIdleWait(std::string_view text);
