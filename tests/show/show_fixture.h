// The show ready to run in a real offscreen context, as a saver run leaves it: the set-up
// runs once per test program (with the build's data folder as the install folder and the
// audio off), and every test starts again from the state it left: counters, tables, the
// random generator and the GL state. Sound effects go to a spy that records each with the
// frame it was started in.
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
#include "scratch_install.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/random.h"
#include "show/show_setup.h"
#include "show/show_state.h"

// Everything a frame changes, so that each test can start from the same set-up.
struct ShowSnapshot {
    ShowState state;
    std::uint32_t random = 0;
    std::vector<RingParticle> ring;
    std::vector<Comet> comets;
    std::vector<Debris> debris;
    std::vector<float> creditY;

    template <typename T>
    static std::vector<T> Copy(const T* table, int count) {
        return table != nullptr ? std::vector<T>(table, table + count) : std::vector<T>{};
    }
    template <typename T>
    static void Restore(const std::vector<T>& saved, T* table) {
        if (table != nullptr) std::copy(saved.begin(), saved.end(), table);
    }

    static ShowSnapshot Take() {
        const ShowState& s = showState;
        return {s,
                RandomState(),
                Copy(s.ringParticles, s.ringArmCount * 3),
                Copy(s.comets, s.cometCount),
                Copy(s.debris, s.debrisCount),
                Copy(s.creditY, kCreditLineCount)};
    }
    void Put() const {
        showState = state;
        SetRandomState(random);
        Restore(ring, showState.ringParticles);
        Restore(comets, showState.comets);
        Restore(debris, showState.debris);
        Restore(creditY, showState.creditY);
    }
};

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
        static const ShowSnapshot afterSetup = SetUpShowOnce();
        ASSERT_TRUE(showReady) << "no show set up from " << VOSTREL_BUILD_DIR << "/data";
        afterSetup.Put();
        settings = QuietSettings();
        previewFlag = 0;
        ApplySetupGlState();
        effectCount = 0;
        SetSoundEffectSpyForTests(&RecordEffect);
    }
    void TearDown() override {
        SetSoundEffectSpyForTests(nullptr);
        LeaveVirtualMode();
    }

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

    static ShowSnapshot SetUpShowOnce() {
        LookUpInstallFolderAt(std::string(VOSTREL_BUILD_DIR) + "/data");
        settings = QuietSettings();
        SetRandomState(1);
        SetupShow(0);
        return ShowSnapshot::Take();
    }
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
