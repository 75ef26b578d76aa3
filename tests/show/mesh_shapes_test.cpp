// The sun's meshes against GLU's quadrics, read back from GL's feedback buffer under lighting:
// the same primitives in the same order, each vertex's place, lit colour (its normal) and
// texture coordinates equal up to the last bits of the sines.
#include "show/mesh_shapes.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "show_piece_test.h"

namespace {

// Window coordinates differ by a float sine's last bit times the picture's size at most.
constexpr float kTolerance = 1e-3f;

struct Shape {
    const char* name;
    std::function<void(GLUquadric*)> glu;
    std::function<void()> mine;
};

class MeshShapesTest : public ShowPieceTest {
  protected:
    void SetUp() override {
        ShowPieceTest::SetUp();
        if (IsSkipped()) return;
        LookThroughBox(-12.0, 12.0, -9.0, 9.0, -20.0, 20.0);
        glRotatef(30.0f, 1.0f, 0.5f, 0.0f);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
    }
};

TEST_F(MeshShapesTest, SendsWhatATexturedGluQuadricSends) {
    const Shape shapes[] = {
        {"sun sphere", [](GLUquadric* q) { gluSphere(q, 1.5, 40, 20); },
         [] { DrawTexturedSphere(1.5, 40, 20); }},
        {"ray cone", [](GLUquadric* q) { gluCylinder(q, 0.199, 0.0, 10.0, 3, 3); },
         [] { DrawTexturedCylinder(0.199, 0.0, 10.0, 3, 3); }},
        {"cylinder", [](GLUquadric* q) { gluCylinder(q, 2.0, 1.0, 3.0, 7, 2); },
         [] { DrawTexturedCylinder(2.0, 1.0, 3.0, 7, 2); }},
    };
    GLUquadric* quadric = gluNewQuadric();
    ASSERT_NE(quadric, nullptr);
    gluQuadricTexture(quadric, GL_TRUE);
    for (const Shape& shape : shapes) {
        const auto theirs = CaptureFeedback([&] { shape.glu(quadric); });
        const auto mine = CaptureFeedback(shape.mine);
        ASSERT_GT(theirs.size(), 10u) << shape.name;
        ASSERT_EQ(mine.size(), theirs.size()) << shape.name;
        float worst = 0.0f;
        for (size_t p = 0; p < mine.size(); ++p) {
            ASSERT_EQ(mine[p].kind, theirs[p].kind) << shape.name << " primitive " << p;
            ASSERT_EQ(mine[p].vertices.size(), theirs[p].vertices.size()) << shape.name;
            for (size_t v = 0; v < mine[p].vertices.size(); ++v) {
                for (size_t k = 0; k < mine[p].vertices[v].size(); ++k) {
                    worst = std::fmax(worst,
                                      std::fabs(mine[p].vertices[v][k] - theirs[p].vertices[v][k]));
                }
            }
        }
        EXPECT_LE(worst, kTolerance) << shape.name;
    }
    gluDeleteQuadric(quadric);
}

}  // namespace
