// vostrel-idle's command line and its rule for when the saver starts.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "app/idle_arguments.h"
#include "app/idle_autostart.h"
#include "app/idle_starts.h"

TEST(IdleArguments, WaitsAndRefusals) {
    const struct {
        std::vector<std::string_view> arguments;
        bool valid;
        long long waitMs;
    } cases[] = {
        {{}, true, 0},  // the desktop's delay, decided later
        {{"--wait", "10"}, true, 600000},
        {{"--wait", "30s"}, true, 30000},
        {{"--wait", "1440"}, true, 86400000},
        {{"--wait", "86400s"}, true, 86400000},
        {{"--wait", "1441"}, false, 0},
        {{"--wait", "86401s"}, false, 0},
        {{"--wait", "0"}, false, 0},
        {{"--wait", "0s"}, false, 0},
        {{"--wait", "-3"}, false, 0},
        {{"--wait", "+3"}, false, 0},
        {{"--wait", "s"}, false, 0},
        {{"--wait", ""}, false, 0},
        {{"--wait", "1.5"}, false, 0},
        {{"--wait", "5m"}, true, 300000},
        {{"--wait", "5min"}, true, 300000},
        {{"--wait", "30m"}, true, 1800000},
        {{"--wait", "90s"}, true, 90000},
        {{"--wait", "1h"}, true, 3600000},
        {{"--wait", "1h30m"}, true, 5400000},
        {{"--wait", "1h30m15s"}, true, 5415000},
        {{"--wait", "24h"}, true, 86400000},
        {{"--wait", "24h1s"}, false, 0},
        {{"--wait", "25h"}, false, 0},
        {{"--wait", "30m1h"}, false, 0},
        {{"--wait", "5m5min"}, false, 0},
        {{"--wait", "1h-5m"}, false, 0},
        {{"--wait", "h"}, false, 0},
        {{"--wait", "5 m"}, false, 0},
        {{"--wait", "5d"}, false, 0},
        {{"--wait", "99999999999999999999"}, false, 0},
        {{"--wait"}, false, 0},
        {{"/s"}, false, 0},
    };
    for (const auto& c : cases) {
        const IdleArguments parsed = ParseIdleArguments(c.arguments);
        const std::string shown = c.arguments.size() > 1 ? std::string(c.arguments[1]) : "";
        EXPECT_EQ(parsed.valid, c.valid) << shown;
        EXPECT_EQ(parsed.waitMs, c.waitMs) << shown;
        EXPECT_EQ(parsed.error.empty(), c.valid) << shown;
    }
}

TEST(IdleStarts, OncePerStretchAndNeverSoonerThanAWait) {
    constexpr long long kWait = 3000;
    const struct Step {
        long long nowMs;
        IdleState state;
        bool saverRunning;
        bool starts;
        long long nextLookMs;  // -1: only news from the session
    } steps[] = {
        {0, IdleState::active, false, false, -1},
        {3000, IdleState::idle, false, true, -1},
        {3100, IdleState::idle, true, false, -1},
        // The saver ended at once and the session stayed idle: no second start.
        {3200, IdleState::idle, false, false, -1},
        {9000, IdleState::idle, false, false, -1},
        // Input, then a new stretch: started again.
        {9100, IdleState::active, false, false, -1},
        {12100, IdleState::idle, false, true, -1},
        // A stretch that an idle source reports sooner than a wait after the last start
        // waits until a whole wait has passed, and the caller is told when that is.
        {12200, IdleState::active, false, false, -1},
        {12300, IdleState::idle, false, false, 2800},
        {15100, IdleState::idle, false, true, -1},
        {15200, IdleState::ended, false, false, -1},
    };
    IdleStarts starts(kWait);
    for (const Step& step : steps) {
        EXPECT_EQ(starts.ShouldStart(step.state, step.saverRunning, step.nowMs), step.starts)
            << "at " << step.nowMs;
        EXPECT_EQ(starts.MsUntilNextLook(step.state, step.nowMs), step.nextLookMs)
            << "at " << step.nowMs;
    }
}

TEST(IdleAutostart, ExecLineQuotesWhatTheEntryRulesReserve) {
    const struct {
        const char* program;
        const char* wait;
        const char* exec;
    } cases[] = {
        {"/usr/bin/vostrel-idle", "", "Exec=\"/usr/bin/vostrel-idle\"\n"},
        {"/opt/my apps/vostrel-idle", "30s", "Exec=\"/opt/my apps/vostrel-idle\" --wait \"30s\"\n"},
        {"/home/a\"b$c`d\\e/vostrel-idle", "",
         "Exec=\"/home/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e/vostrel-idle\"\n"},
    };
    for (const auto& c : cases) {
        const std::string entry = IdleAutostartEntry(c.program, c.wait);
        EXPECT_NE(entry.find(c.exec), std::string::npos) << entry;
    }
}
