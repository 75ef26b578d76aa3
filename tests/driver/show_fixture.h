// The show ready to run in a real offscreen context: a virtual mode of the given size, the
// projection and the GL state that the set-up leaves, fresh show state and settings, and a
// sound spy that records each effect with the frame it was started in.
#pragma once
#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "display/projection.h"
#include "display/virtual_mode.h"
#include "offscreen_fixture.h"
#include "platform/sound.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/random.h"
#include "show/show_state.h"

struct PlayedEffect {
    int frame;
    std::string path;
};

class ShowTest : public OffscreenGlTest {
  protected:
    static constexpr int kMaxEffects = 64;

    void SetUp() override {
        OffscreenGlTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(EnterVirtualMode(64, 48, 32));
        SetProjection(64, 48);
        ApplySetupGlState();
        showState = ShowState{};
        settings = Settings{};
        previewFlag = 0;
        SetRandomState(1);
        effectCount = 0;
        SetSoundEffectSpyForTests(&RecordEffect);
    }
    void TearDown() override {
        SetSoundEffectSpyForTests(nullptr);
        LeaveVirtualMode();
    }

    void UseSize(int width, int height) {
        ASSERT_TRUE(EnterVirtualMode(width, height, 32));
        SetProjection(width, height);
    }

    static void ApplySetupGlState() {
        glEnable(GL_TEXTURE_2D);
        glShadeModel(GL_SMOOTH);
        glEnable(GL_LIGHT0);
        glEnable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);
        glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
        glClearDepth(1.0);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_BLEND);
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
        if (effectCount < kMaxEffects) {
            // The frame driver has not advanced yet when it plays a bang.
            effects[effectCount] = {showState.showFrame, path};
        }
        ++effectCount;
    }

    static inline std::array<PlayedEffect, kMaxEffects> effects{};
    static inline int effectCount = 0;
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
