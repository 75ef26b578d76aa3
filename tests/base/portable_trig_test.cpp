// The portable sine and cosine against the C library over the angles the show makes: they must
// agree to the last bit or one unit short of it, or the pictures drift from what was tuned.
#include "base/portable_trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "show/show_math.h"

namespace {

// Distance in units of the last place of the C library's result.
double UlpsApart(double mine, double theirs) {
    const double ulp = std::nextafter(std::fabs(theirs), std::numeric_limits<double>::infinity()) -
                       std::fabs(theirs);
    return std::fabs(mine - theirs) / ulp;
}

struct Sweep {
    const char* what;
    bool degrees;
    double first;
    double last;
    double step;
};

// Degrees through ShowRadians, well past the spin, emblem and beat angles the show makes; radians
// of the meshes and the frame curves; where the reduction cancels most (next to pi/2); and up to
// the reduction's medium range.
constexpr Sweep kSweeps[] = {
    {"show degrees", true, -720.0, 200000.0, 0.37},
    {"mesh and curve radians", false, -7.0, 7.0, 1.0 / 4096},
    {"near multiples of pi/2", false, 1.5707963267948966 - 1e-9, 1.5707963267948966 + 1e-9, 1e-12},
    {"large radians", false, 1e5, 8.2e5, 7.77},
};

TEST(PortableTrigTest, StaysWithinOneUlpOfTheCLibraryOverTheShowsAngles) {
    for (const Sweep& sweep : kSweeps) {
        double worst = 0.0;
        for (double x = sweep.first; x <= sweep.last; x += sweep.step) {
            const double radians = sweep.degrees ? ShowRadians(x) : x;
            worst = std::max(worst, UlpsApart(PortableSin(radians), std::sin(radians)));
            worst = std::max(worst, UlpsApart(PortableCos(radians), std::cos(radians)));
        }
        EXPECT_LE(worst, 1.0) << sweep.what;
    }
}

TEST(PortableTrigTest, NonFiniteGivesNanAndHugeStaysBounded) {
    for (double x :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(PortableSin(x))) << x;
        EXPECT_TRUE(std::isnan(PortableCos(x))) << x;
    }
    for (double x : {1e7, -3e12, 1e300}) {
        EXPECT_NEAR(PortableSin(x) * PortableSin(x) + PortableCos(x) * PortableCos(x), 1.0, 1e-15);
    }
}

}  // namespace
