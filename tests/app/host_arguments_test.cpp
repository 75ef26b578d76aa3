// The hack's command line as XScreenSaver, MATE and Xfce start it, and as users mistype it.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "app/host_arguments.h"

namespace {

struct Case {
    std::vector<std::string_view> arguments;
    const char* environmentWindow;
    bool valid;
    bool root;
    WindowId window;
};

}  // namespace

TEST(HostArguments, WindowChoiceAndRejections) {
    const Case cases[] = {
        // The hosts: XScreenSaver passes --root and names its window in the environment.
        {{"--root"}, "0x2a00007", true, false, 0x2a00007},
        {{"-root"}, "44040199", true, false, 44040199},
        {{"-root"}, nullptr, true, true, 0},
        {{"-root"}, "", true, true, 0},
        {{"-window-id", "1234"}, nullptr, true, false, 1234},
        {{"--window-id", "0X1F"}, "99", true, false, 0x1f},  // the argument wins
        {{}, "77", true, false, 77},
        // Mistakes get a message, never a window id of 0 or a truncated one.
        {{}, nullptr, false, false, 0},
        {{"-window-id"}, nullptr, false, false, 0},
        {{"-window-id", "0"}, nullptr, false, false, 0},
        {{"-window-id", "12ab"}, nullptr, false, false, 0},
        {{"-window-id", "0x"}, nullptr, false, false, 0},
        {{"-window-id", "-5"}, nullptr, false, false, 0},
        {{"-window-id", "4294967296"}, nullptr, false, false, 0},
        {{"-root"}, "scrprev", false, false, 0},
        {{"/s"}, nullptr, false, false, 0},
        {{"---root"}, nullptr, false, false, 0},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (std::string_view a : c.arguments) shown += std::string(a) + " ";
        shown += c.environmentWindow != nullptr ? c.environmentWindow : "(unset)";
        const HostArguments result = ParseHostArguments(c.arguments, c.environmentWindow);
        EXPECT_EQ(result.valid, c.valid) << shown;
        EXPECT_EQ(result.error.empty(), c.valid) << shown;
        if (!c.valid) continue;
        EXPECT_EQ(result.root, c.root) << shown;
        EXPECT_EQ(result.window, c.window) << shown;
    }
}
