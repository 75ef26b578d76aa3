#include "show/particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/sound.h"
#include "platform_spies.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "show_piece_test.h"

namespace {

class ParticlesTest : public SetUpShowTest {
  protected:
    void SetUp() override {
        SetUpShowTest::SetUp();
        if (Ready()) SetSoundEffectSpy([](const std::string&) {});
    }

    // The colour a routine left current, as the bytes it set.
    static std::vector<int> CurrentColour() {
        GLfloat c[4] = {};
        glGetFloatv(GL_CURRENT_COLOR, c);
        return {
            static_cast<int>(std::lround(c[0] * 255)), static_cast<int>(std::lround(c[1] * 255)),
            static_cast<int>(std::lround(c[2] * 255)), static_cast<int>(std::lround(c[3] * 255))};
    }
    static int CurrentAlpha() { return CurrentColour()[3]; }
};

// The alpha comes from the distance before this frame's step: the whole ring alpha at the
// ring, nothing three units in, never negative; a spark that passes three units is drawn
// once more and respawned in the same call.
TEST_F(ParticlesTest, RingSparkFadesInwardAndRespawnsInTheSameCall) {
    struct Case {
        int ringAlpha;
        float distance;
        int alpha;
    };
    for (const Case& c :
         {Case{255, 0.0f, 255}, Case{200, -1.5f, 100}, Case{200, -2.999f, 0}, Case{5, -0.3f, 4}}) {
        SCOPED_TRACE(c.distance);
        showState.ringAlpha = c.ringAlpha;
        RingParticle& p = showState.ringParticles[0];
        p.distance = c.distance;
        p.speed = 0.05f;
        DrawRingParticle(0, 0);
        EXPECT_EQ(CurrentAlpha(), c.alpha);
    }
    showState.ringAlpha = 255;
    RingParticle& p = showState.ringParticles[0];
    p.distance = -2.95f;
    p.speed = 0.1f;
    DrawRingParticle(0, 0);
    EXPECT_EQ(CurrentAlpha(), 4);  // 255 x (1 - 2.95 / 3): drawn once more, then respawned
    EXPECT_EQ(p.distance, 0.0f);
    EXPECT_GE(p.speed, 0.1f);
    EXPECT_LT(p.speed, 0.2f);
    EXPECT_GE(p.angle, -29.0f);
    EXPECT_LE(p.angle, 30.0f);
    EXPECT_GE(p.red, 128);
    EXPECT_LT(p.red, 255);
}

// The floor is compared in double: the float nearest 0.1 lies above it, so a spark at the
// floor steps down to 0.099 and back up to 0.1 on alternate frames.
TEST_F(ParticlesTest, FirstRingSparkIsRaisedToTheFloorAndThenAlternates) {
    const RingParticle& p = showState.ringParticles[0];
    ASSERT_EQ(p.speed, 0.009f);
    const float expected[] = {0.1f, static_cast<float>(0.1f - 0.001), 0.1f,
                              static_cast<float>(0.1f - 0.001)};
    for (float speed : expected) {
        DrawRingParticle(0, 0);
        EXPECT_EQ(p.speed, speed);
    }
}

// Layers 1 and 2 first draw a copy of the ring quad at the arm's ring point, scaled by the
// layer, in the colour the particle before them left current.
TEST_F(ParticlesTest, RingLayersOneAndTwoCopyTheQuadInThePreviousColour) {
    // An ortho view 4 units wide: window x = 320 + 160 x.
    LookThroughBox(-2.0, 2.0, -1.5, 1.5, -10.0, 10.0);
    glDisable(GL_LIGHTING);  // feedback then carries the colours as set
    for (int layer = 0; layer < kRingLayers; ++layer) {
        SCOPED_TRACE(layer);
        RingParticle& p = showState.ringParticles[layer];
        p.angle = 0.0f;  // faces the view
        p.distance = -1.0f;
        glColor4ub(10, 20, 30, 40);
        const auto quads = CaptureFeedback([layer] { DrawRingParticle(0, layer); });
        ASSERT_EQ(quads.size(), layer == 0 ? 2u : 4u);  // two triangles per quad
        const FeedbackPrimitive& spark = quads.back();
        EXPECT_NEAR(spark.vertices[0][3] * 255, p.red % 256, 0.5);
        if (layer == 0) continue;
        const FeedbackPrimitive& copy = quads.front();
        float left = 640.0f, right = 0.0f;
        for (const FeedbackPrimitive& triangle : {quads[0], quads[1]}) {
            for (const auto& v : triangle.vertices) {
                left = std::min(left, v[0]);
                right = std::max(right, v[0]);
            }
        }
        EXPECT_NEAR(right - left, 2 * 0.2f * layer * 160.0f, 1e-2f);
        EXPECT_NEAR((left + right) / 2, 320.0f, 1e-2f);
        EXPECT_NEAR(copy.vertices[0][3] * 255, 10.0f, 0.5f);
        EXPECT_NEAR(copy.vertices[0][6] * 255, 40.0f, 0.5f);
    }
}

// A comet's alpha is the low byte of its fade: 0 at its start height, 255 at the centre,
// wrapping to almost nothing just past it; the comets from below mirror those from above.
TEST_F(ParticlesTest, CometAlphaByPositionWrapsPastTheCentre) {
    struct Case {
        int direction;
        float position;
        int alpha;
    };
    for (const Case& c :
         {Case{0, 7.0f, 0}, Case{0, 0.0f, 255}, Case{0, -0.3f, 9}, Case{0, 3.5f, 127},
          Case{1, -7.0f, 0}, Case{1, 0.0f, 255}, Case{1, 0.3f, 9}}) {
        SCOPED_TRACE(testing::Message() << c.direction << " at " << c.position);
        Comet& comet = showState.comets[0];
        comet.direction = c.direction;
        comet.speed = 0.0f;  // this frame's step is then exactly 0.001
        const float step = static_cast<float>(0.0f + 0.001);
        comet.position = c.direction == 0 ? c.position + step : c.position - step;
        DrawComet(0, 17);
        EXPECT_EQ(CurrentAlpha(), c.alpha);
    }
}

// Past the centre by half a unit a comet starts again from its end of the table's rule,
// with the respawn's colours and speed, in the same call.
TEST_F(ParticlesTest, CometRespawnsPastTheCentreAtItsStartHeight) {
    const int last = showState.cometCount - 1;
    struct Case {
        int index, direction;
        float position, start;
    };
    for (const Case& c : {Case{0, 0, -0.45f, 7.0f}, Case{last, 1, 0.45f, -7.0f}}) {
        Comet& comet = showState.comets[c.index];
        comet.direction = c.direction;
        comet.speed = 0.1f;
        comet.position = c.position;
        DrawComet(c.index, 0);
        EXPECT_EQ(comet.position, c.start);
        EXPECT_GE(comet.red, 32);
        EXPECT_LT(comet.red, 64);
        EXPECT_GE(comet.speed, 0.0005f);
        EXPECT_LT(comet.speed, 0.1f);
    }
}

// Debris fades out over 50 units; beyond that the byte wraps to 255 and the fade repeats.
TEST_F(ParticlesTest, DebrisAlphaByDistanceWrapsEveryFiftyUnits) {
    struct Case {
        float distance;
        int alpha;
    };
    for (const Case& c : {Case{0.0f, 255}, Case{25.0f, 127}, Case{49.9f, 0}, Case{50.2f, 255}}) {
        SCOPED_TRACE(c.distance);
        Debris& d = showState.debris[0];
        d.speed = 0.0f;  // the distance grows by the speed before the decrease
        d.distance = c.distance;
        DrawDebris(0);
        EXPECT_EQ(CurrentAlpha(), c.alpha);
        EXPECT_EQ(d.distance, c.distance);
        EXPECT_EQ(d.speed, 0.1f);  // slowed below the floor, so put back on it
    }
}

// One blast frame steps every particle of every system exactly once, at each detail level.
TEST_F(ParticlesTest, OneBlastFrameStepsEveryParticleOnceAtEachDetailLevel) {
    for (std::uint32_t part : {kPartLow, kPartMedium, kPartHigh}) {
        SCOPED_TRACE(part);
        ASSERT_TRUE(SetUpShowAtDetail(part));
        const std::vector<Debris> before(showState.debris,
                                         showState.debris + showState.debrisCount);
        showState.showFrame = 6100;
        showState.sunPhase = false;
        RenderShowFrame();

        for (int i = 0; i < showState.ringArmCount * kRingLayers; ++i) {
            const RingParticle& p = showState.ringParticles[i];
            ASSERT_EQ(p.distance, -p.speed) << "ring particle " << i;
        }
        const int half = showState.cometCount / 2;
        for (int i = 0; i < showState.cometCount; ++i) {
            const Comet& c = showState.comets[i];
            ASSERT_EQ(c.position, i > half ? -7.0f + c.speed : 7.0f - c.speed) << "comet " << i;
        }
        for (int i = 0; i < showState.debrisCount; ++i) {
            ASSERT_EQ(showState.debris[i].distance, before[i].speed) << "debris " << i;
        }
    }
}

}  // namespace
