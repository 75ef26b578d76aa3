// The virtual video mode as the saver run sets and restores it.
#include <gtest/gtest.h>

#include "display/display_mode.h"
#include "display/virtual_mode.h"

namespace {

TEST(DisplayMode, RefusesSizesThatCannotBeMade) {
    GlProbe* probe = CreateGlProbe();
    if (probe == nullptr) GTEST_SKIP() << "no GL on an X display";
    DestroyGlProbe(probe);
    EXPECT_FALSE(ChangeDisplayMode(0, 0, 16));
    EXPECT_FALSE(ChangeDisplayMode(640, 0, 32));
    EXPECT_FALSE(ChangeDisplayMode(1 << 20, 480, 32));
    EXPECT_TRUE(ChangeDisplayMode(640, 480, 16));
    // Accepting a mode holds nothing yet: the run makes it on its own context.
    EXPECT_FALSE(InVirtualMode());
}

}  // namespace
