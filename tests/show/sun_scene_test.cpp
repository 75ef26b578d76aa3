// The sun's rays and the collapse glow, read back from GL's feedback buffer: what reaches GL,
// not what the code meant to send.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "show/mesh_shapes.h"
#include "show/random.h"
#include "show/scenes.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "show_piece_test.h"

namespace {

// Orthographic views 200 units deep, 4:3 like the picture, so that a unit is as many pixels
// across as up.
constexpr double kViewHalfDepth = 100.0;
double pixelsPerUnit = 1.0;

void LookAt(double x, double y, double halfWidth) {
    pixelsPerUnit = GlTestContext::kWidth / (2.0 * halfWidth);
    const double halfHeight = halfWidth * GlTestContext::kHeight / GlTestContext::kWidth;
    LookThroughBox(x - halfWidth, x + halfWidth, y - halfHeight, y + halfHeight, -kViewHalfDepth,
                   kViewHalfDepth);
}

double Area(const FeedbackPrimitive& p) {
    double twice = 0.0;
    for (size_t i = 0; i < p.vertices.size(); ++i) {
        const auto& a = p.vertices[i];
        const auto& b = p.vertices[(i + 1) % p.vertices.size()];
        twice += a[0] * b[1] - b[0] * a[1];
    }
    return std::abs(twice) / 2.0;
}

float Alpha(const FeedbackPrimitive& p) {
    return p.vertices[0][6];
}

class SunSceneTest : public ShowPieceTest {
  protected:
    void SetUp() override {
        ShowPieceTest::SetUp();
        if (IsSkipped()) return;
        SetShowGlState();
        // Wide enough that no square is clipped into more pieces.
        LookAt(0.0, 0.0, 100.0);
    }
    void TearDown() override { showState.rayDirs = nullptr; }
};

// Rays pointing straight at the viewer or straight away: then sparkles (which face outwards)
// and cones (face culling is on for every ray after the first) keep their whole size on the
// screen, sparkles when the rays point at the viewer, cones when they point away.
std::vector<RayDir> Rays(float xRotation) {
    return std::vector<RayDir>(kRayCount, RayDir{xRotation, 0.0f});
}
constexpr float kTowardsViewer = 90.0f;
constexpr float kAwayFromViewer = 270.0f;

// The scene moves the matrix it is given; the frame driver loads its camera every frame.
void DrawSunSceneFromIdentity() {
    glLoadIdentity();
    DrawSunScene();
}

// How far a window point lies in front of or behind the sun's centre, in scene units. The
// sun stands 6 units in front of the view's middle.
double DepthFromSun(double windowDepth) {
    constexpr double kSunDepth = 6.0;
    return std::abs((1.0 - 2.0 * windowDepth) * kViewHalfDepth - kSunDepth);
}

struct Drawn {
    int coneTriangles = 0;
    std::map<double, int> sparkleTriangles;  // by the sparkle's half-size
};

// Cones are the opaque primitives reaching out of the sun (every cone triangle has a corner
// at least 3.3 units out; those that meet in the tip cover nothing and are left out, as face
// culling drops them); sparkles are the translucent ones textured
// with exactly one copy of the star, where the shells carry generated coordinates.
Drawn RaysDrawn(const std::vector<FeedbackPrimitive>& primitives) {
    const double sizes[] = {0.075, 0.15, 0.25};
    Drawn drawn;
    for (const FeedbackPrimitive& p : primitives) {
        if (p.kind != GL_POLYGON_TOKEN) continue;
        bool outOfTheSun = false;
        bool unitTexture = true;
        for (const auto& v : p.vertices) {
            outOfTheSun |= DepthFromSun(v[2]) > 2.0;
            for (int k : {7, 8}) unitTexture &= std::abs(v[k]) < 1e-4 || std::abs(v[k] - 1) < 1e-4;
        }
        if (Alpha(p) > 0.99f && outOfTheSun && Area(p) > 1e-6) {
            drawn.coneTriangles += 1;
        } else if (std::abs(Alpha(p) - 192 / 255.0f) < 1e-3f && unitTexture) {
            // A square of half-size h arrives as two triangles of area 2 h^2 each.
            const double half = std::sqrt(Area(p) / 2.0) / pixelsPerUnit;
            const auto nearer = [&](double a, double b) {
                return std::abs(a - half) < std::abs(b - half);
            };
            drawn.sparkleTriangles[*std::min_element(std::begin(sizes), std::end(sizes), nearer)] +=
                1;
        }
    }
    return drawn;
}

// What ray i adds to the picture: the scene with i + 1 rays against the scene with i.
struct RayContents {
    int cones = 0;
    std::vector<double> sparkles;  // half-sizes, largest first
};

RayContents Difference(const Drawn& with, const Drawn& without, int trianglesPerCone) {
    RayContents ray{(with.coneTriangles - without.coneTriangles) / trianglesPerCone, {}};
    for (auto it = with.sparkleTriangles.rbegin(); it != with.sparkleTriangles.rend(); ++it) {
        const auto before = without.sparkleTriangles.find(it->first);
        const int added =
            it->second - (before != without.sparkleTriangles.end() ? before->second : 0);
        for (int k = 0; k < added / 2; ++k) ray.sparkles.push_back(it->first);
    }
    return ray;
}

// One cone, where the sun stands, as many triangles as cover pixels.
int TrianglesPerCone() {
    glDisable(GL_CULL_FACE);
    const auto cone = CaptureFeedback([] {
        glLoadIdentity();
        glTranslatef(2.0f, 5.0f, 0.0f);
        DrawTexturedCylinder(0.1, 0.0, 10.0, 3, 3);
    });
    glLoadIdentity();
    return static_cast<int>(
        std::count_if(cone.begin(), cone.end(), [](auto& p) { return Area(p) > 1e-6; }));
}

std::vector<Drawn> DrawnWithZeroToFourRays(float direction) {
    std::vector<RayDir> rays = Rays(direction);
    showState.rayDirs = rays.data();
    std::vector<Drawn> drawn;
    for (int count = 0; count <= 4; ++count) {
        showState.sunTicks = count * kTicksPerRay;
        drawn.push_back(RaysDrawn(CaptureFeedback(DrawSunSceneFromIdentity)));
    }
    showState.rayDirs = nullptr;
    return drawn;
}

struct RayCase {
    int detailLevel;
    std::vector<int> cones;  // for rays 0 to 3
    std::vector<std::vector<double>> sparkles;
};

std::string DetailName(const ::testing::TestParamInfo<RayCase>& info) {
    constexpr const char* kDetailNames[] = {"Low", "Medium", "High"};
    return kDetailNames[info.param.detailLevel];
}

class SunRaysTest : public SunSceneTest, public ::testing::WithParamInterface<RayCase> {};

TEST_P(SunRaysTest, EachRayDrawsItsConesAndSparklesByDetail) {
    const RayCase& c = GetParam();
    showState.detailLevel = c.detailLevel;
    showState.showFrame = 5100;
    settings.starfield = 0;
    // Close up on the sun, which stands at (2, 5): the scene's origin (-10, -1) plus the
    // sun's (12, 6). The thin cones then cover whole pixels.
    LookAt(2.0, 5.0, 2.0);
    const int perCone = TrianglesPerCone();
    ASSERT_GT(perCone, 0);

    const std::vector<Drawn> away = DrawnWithZeroToFourRays(kAwayFromViewer);
    const std::vector<Drawn> towards = DrawnWithZeroToFourRays(kTowardsViewer);
    EXPECT_EQ(away[0].coneTriangles, 0);
    EXPECT_TRUE(towards[0].sparkleTriangles.empty());
    for (int ray = 0; ray < 4; ++ray) {
        EXPECT_EQ(Difference(away[ray + 1], away[ray], perCone).cones, c.cones[ray])
            << "ray " << ray;
        EXPECT_EQ(Difference(towards[ray + 1], towards[ray], perCone).sparkles, c.sparkles[ray])
            << "ray " << ray;
    }
    EXPECT_TRUE(glIsEnabled(GL_BLEND));  // a ray was drawn
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

const std::vector<double> kLowSparkle = {0.15};
const std::vector<double> kMediumSparkles = {0.15, 0.075};
const std::vector<double> kHighSparkles = {0.25, 0.15, 0.075};

INSTANTIATE_TEST_SUITE_P(
    Detail, SunRaysTest,
    ::testing::Values(RayCase{kDetailLow, {1, 0, 0, 1}, {kLowSparkle, {}, {}, kLowSparkle}},
                      RayCase{kDetailMedium,
                              {1, 1, 1, 1},
                              {kMediumSparkles, kMediumSparkles, kMediumSparkles, kMediumSparkles}},
                      RayCase{kDetailHigh,
                              {2, 2, 2, 2},
                              {kHighSparkles, kHighSparkles, kHighSparkles, kHighSparkles}}),
    DetailName);

// The number of draws between two generator states.
int DrawsBetween(std::uint32_t from, std::uint32_t to) {
    SetRandomState(from);
    for (int n = 0; n < 10000; ++n) {
        if (RandomState() == to) return n;
        NextRandom();
    }
    return -1;
}

struct GlowCase {
    int sunTicks, blastCountdown, flashStep;
    float glowAlpha;   // 0: no glow drawn
    float flashAlpha;  // below 0: no flash drawn
    int flashStepAfter;
};

class CollapseGlowTest : public SunSceneTest, public ::testing::WithParamInterface<GlowCase> {};

TEST_P(CollapseGlowTest, SpritesAndFlashFollowTheSunAndTheBlast) {
    const GlowCase& c = GetParam();
    showState.sunTicks = c.sunTicks;
    showState.blastCountdown = c.blastCountdown;
    showState.flashStep = c.flashStep;
    const auto drawn = CaptureFeedback(DrawCollapseGlow);
    EXPECT_EQ(showState.flashStep, c.flashStepAfter);
    const size_t sprites = c.glowAlpha == 0.0f ? 0 : 3;
    const size_t flashes = c.flashAlpha < 0.0f ? 0 : 1;
    ASSERT_EQ(drawn.size(), 2 * (sprites + flashes));  // two triangles a square
    for (size_t sprite = 0; sprite < sprites; ++sprite) {
        EXPECT_NEAR(Alpha(drawn[2 * sprite]), c.glowAlpha, 1e-3f);
    }
    if (flashes != 0) {
        EXPECT_NEAR(Alpha(drawn.back()), c.flashAlpha, 1e-3f);
        EXPECT_NEAR(std::sqrt(Area(drawn.back()) * 2.0) / pixelsPerUnit, 10.0, 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counters, CollapseGlowTest,
    ::testing::Values(GlowCase{929, 70, 0, 0.0f, -1.0f, 0},         // 185 rays: not yet
                      GlowCase{930, 70, 0, 5 / 255.0f, -1.0f, 0},   // frame 5929: the glow starts
                      GlowCase{1005, 70, 0, 80 / 255.0f, 0.0f, 1},  // the flash's first frame
                      GlowCase{1011, 70, 6, 85 / 255.0f, 0.9927f, 7},     // its brightest
                      GlowCase{1011, 70, 13, 85 / 255.0f, -1.0f, 13},     // shown once
                      GlowCase{1011, 35, 13, 42.5f / 255.0f, -1.0f, 13},  // fading in the blast
                      GlowCase{1011, 0, 0, 0.0f, -1.0f, 0}),              // gone, flash and all
    [](const ::testing::TestParamInfo<GlowCase>& info) {
        const GlowCase& c = info.param;
        return "Sun" + std::to_string(c.sunTicks) + "Blast" + std::to_string(c.blastCountdown) +
               "Flash" + std::to_string(c.flashStep);
    });

TEST_F(SunSceneTest, DrawsTheRedOnceARayEachAndTheInnerShellsRed) {
    std::vector<RayDir> rays = Rays(kTowardsViewer);
    showState.rayDirs = rays.data();
    showState.detailLevel = kDetailHigh;
    showState.showFrame = 5100;
    showState.sunTicks = 4 * kTicksPerRay;
    const std::uint32_t before = RandomState();
    DrawSunSceneFromIdentity();
    EXPECT_EQ(DrawsBetween(before, RandomState()), 1 + 4 + 1);
}

}  // namespace
