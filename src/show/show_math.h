// Degree-to-radian conversion as the show's motion was tuned: with 3.1415, not pi. Every
// sin(d deg) or cos(d deg) of the show goes through it so that all scenes agree.
#pragma once

inline constexpr double kShowPi = 3.1415;

inline double ShowRadians(double degrees) {
    return degrees * kShowPi / 180.0;
}
