// The Windows backends that answer for the process: its pacing clock, its claims on named
// objects and its per-user folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/first_copy.h"
#include "platform/frame_clock.h"
#include "platform/named_mutex.h"
#include "platform/user_state.h"

namespace {

TEST(Win32FrameClock, SleepsUntilTheReadingAndNeverWakesEarly) {
    // Already passed, now, and waits shorter and longer than the system's 15.6 ms tick.
    const double waits[] = {-1.0, 0.0, 0.001, 0.004, 0.020};
    for (double wait : waits) {
        const double until = MonotonicSeconds() + wait;
        SleepUntilSeconds(until);
        EXPECT_GE(MonotonicSeconds(), until) << wait;
    }
}

TEST(Win32FirstCopy, OnlyTheFirstClaimWinsBesideTheNamedMutexOfTheSameName) {
    CreateNamedMutex("VostrelTestClaim");
    EXPECT_TRUE(ClaimFirstCopy("VostrelTestClaim"));
    EXPECT_FALSE(ClaimFirstCopy("VostrelTestClaim"));
}

TEST(Win32UserState, PathLiesInAProgramFolderThatExists) {
    const std::string path = UserStatePath("debug.htm");
    ASSERT_FALSE(path.empty());
    const std::filesystem::path place(path);
    EXPECT_EQ(place.filename(), "debug.htm");
    EXPECT_TRUE(std::filesystem::is_directory(place.parent_path()));
}

}  // namespace
