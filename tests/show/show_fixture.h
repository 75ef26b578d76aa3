// The show ready to run in a real offscreen context, as a saver run leaves it: every test sets
// it up afresh (with the build's data folder as the install folder and the audio off), after
// the reset that every test of the program starts with (process_state.h) has shut down what the
// test before left. Sound effects go to a spy that records each with the frame it was started
// in.
#pragma once
#include <GL/gl.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "base/run_flags.h"
#include "display/projection.h"
#include "display/virtual_mode.h"
#include "gl_test_context.h"
#include "platform/sound.h"
#include "platform_spies.h"
#include "scratch_install.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/random.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "show_snapshot.h"

struct PlayedEffect {
    int frame;
    std::string path;
    std::uint32_t random;  // the generator's state as the effect started
};

class ShowTest : public OffscreenGlTest {
  protected:
    static constexpr int kMaxEffects = 64;
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 48;

    void SetUp() override {
        OffscreenGlTest::SetUp();
        if (IsSkipped()) return;
        UseSize(kWidth, kHeight);
        SetUpShowAfresh();
        ASSERT_TRUE(showReady) << "no show set up from " << VOSTREL_BUILD_DIR << "/data";
        afterSetup_ = ShowSnapshot::Take();
        settings = QuietSettings();
        ApplySetupGlState();
        effectCount = 0;
        SetSoundEffectSpy(&RecordEffect);
    }
    void TearDown() override { LeaveVirtualMode(); }

    // Counters, tables and the generator as the set-up left them.
    void RestoreSetup() const { afterSetup_.Put(); }

    static void UseSize(int width, int height) {
        ASSERT_TRUE(EnterVirtualMode(width, height, 32));
        SetProjection(width, height);
    }

    // The GL state that the set-up leaves, with the depth state back at GL's defaults.
    static void ApplySetupGlState() {
        SetShowGlState();
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
    }

    // The timeline, the counters and the sounds do not depend on how many particles there
    // are; a few of each keep long runs through the blast quick (the tables stay as made).
    static void UseFewParticles() {
        showState.ringArmCount = 4;
        showState.cometCount = 4;
        showState.debrisCount = 4;
    }

    // Paints the kept picture white, as a bright previous frame would leave it.
    static void PaintWhite() {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    }

    // Draws frames until showFrame is `frame` at the start of the next call.
    static void RunUntilFrame(int frame, int limit = 20000) {
        for (int i = 0; i < limit && showState.showFrame != frame; ++i) RenderShowFrame();
    }

    static void RecordEffect(const std::string& path) {
        // The frame driver has not advanced yet when it plays a bang.
        if (effectCount < kMaxEffects) {
            effects[effectCount] = {showState.showFrame, path, RandomState()};
        }
        ++effectCount;
    }

    static inline std::array<PlayedEffect, kMaxEffects> effects{};
    static inline int effectCount = 0;

  private:
    static Settings QuietSettings() {
        Settings quiet;
        quiet.pmusic = quiet.pmp3 = quiet.pcd = 0;
        return quiet;
    }

    static void SetUpShowAfresh() {
        LookUpInstallFolderAt(std::string(VOSTREL_BUILD_DIR) + "/data");
        settings = QuietSettings();
        SetRandomState(1);
        SetupShow(0);
    }

    ShowSnapshot afterSetup_;
};

// Smallest and largest value of any channel in the picture.
inline std::pair<int, int> ChannelRange(const std::vector<std::uint8_t>& pixels) {
    int low = 255, high = 0;
    for (std::uint8_t value : pixels) {
        low = std::min<int>(low, value);
        high = std::max<int>(high, value);
    }
    return {low, high};
}
