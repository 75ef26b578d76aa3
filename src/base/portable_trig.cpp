// Argument reduction by pi/2 in three pieces (Cody and Waite) and the minimax polynomials of
// the public-domain fdlibm kernels, which are exact enough in double arithmetic alone.
#include "base/portable_trig.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kQuarterPi = 7.85398163397448278999e-01;
constexpr double kTwoPi = 6.28318530717958623200e+00;
// Past this the reduction's product n * pi/2 would lose bits: reduce by 2 pi first.
constexpr double kMediumLimit = 8.23549661976148397987e+05;  // 2^19 * pi/2

// pi/2 split into 33-bit pieces, each product with n exact; the "t" parts are what is left.
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi1Tail = 6.07710050650619224932e-11;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi2Tail = 2.02226624879595063154e-21;
constexpr double kHalfPi3 = 2.02226624871116645580e-21;
constexpr double kHalfPi3Tail = 8.47842766036889956997e-32;
// Bits of cancellation after which the next piece of pi/2 is needed.
constexpr int kSecondPieceBits = 16;
constexpr int kThirdPieceBits = 49;

constexpr double kS1 = -1.66666666666666324348e-01;
constexpr double kS2 = 8.33333333332248946124e-03;
constexpr double kS3 = -1.98412698298579493134e-04;
constexpr double kS4 = 2.75573137070700676789e-06;
constexpr double kS5 = -2.50507602534068634195e-08;
constexpr double kS6 = 1.58969099521155010221e-10;

constexpr double kC1 = 4.16666666666666019037e-02;
constexpr double kC2 = -1.38888888888741095749e-03;
constexpr double kC3 = 2.48015872894767294178e-05;
constexpr double kC4 = -2.75573143513906633035e-07;
constexpr double kC5 = 2.08757232129817482790e-09;
constexpr double kC6 = -1.13596475577881948265e-11;

// x as head + tail with |x| <= pi/4, and which quarter turn it was taken from.
struct Reduced {
    double head;
    double tail;
    int quarter;
};

int Exponent(double x) {
    constexpr int kMantissaBits = 52;
    constexpr std::uint64_t kExponentMask = 0x7ff;
    return static_cast<int>((std::bit_cast<std::uint64_t>(x) >> kMantissaBits) & kExponentMask);
}

// One more piece of pi/2 taken off r, when the last subtraction cancelled many bits.
void TakeNextPiece(double n, double piece, double pieceTail, double& r, double& w, double& head) {
    const double t = r;
    w = n * piece;
    r = t - w;
    w = n * pieceTail - ((t - r) - w);
    head = r - w;
}

Reduced ReduceMedium(double x) {
    const double t = std::fabs(x);
    const int n = static_cast<int>(t * kTwoOverPi + 0.5);
    const double fn = n;
    double r = t - fn * kHalfPi1;
    double w = fn * kHalfPi1Tail;
    double head = r - w;
    const int e = Exponent(t);
    if (e - Exponent(head) > kSecondPieceBits) {
        TakeNextPiece(fn, kHalfPi2, kHalfPi2Tail, r, w, head);
        if (e - Exponent(head) > kThirdPieceBits) {
            TakeNextPiece(fn, kHalfPi3, kHalfPi3Tail, r, w, head);
        }
    }
    const double tail = (r - head) - w;
    if (x < 0) return {-head, -tail, -n};
    return {head, tail, n};
}

Reduced Reduce(double x) {
    if (std::fabs(x) <= kQuarterPi) return {x, 0.0, 0};
    if (std::fabs(x) > kMediumLimit) x = std::fmod(x, kTwoPi);
    return ReduceMedium(x);
}

double SinKernel(double x, double y) {
    const double z = x * x;
    const double v = z * x;
    const double r = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * kS6)));
    return x - ((z * (0.5 * y - v * r) - y) - v * kS1);
}

double CosKernel(double x, double y) {
    const double z = x * x;
    const double w = z * z;
    const double r = z * (kC1 + z * (kC2 + z * kC3)) + w * w * (kC4 + z * (kC5 + z * kC6));
    const double hz = 0.5 * z;
    const double rest = 1.0 - hz;
    return rest + (((1.0 - rest) - hz) + (z * r - x * y));
}

// The sine of a reduced argument whose count of quarter turns is `quarter`.
double SinOfQuarters(const Reduced& a, int quarter) {
    switch (quarter & 3) {
        case 0:
            return SinKernel(a.head, a.tail);
        case 1:
            return CosKernel(a.head, a.tail);
        case 2:
            return -SinKernel(a.head, a.tail);
        default:
            return -CosKernel(a.head, a.tail);
    }
}

}  // namespace

double PortableSin(double x) {
    if (!std::isfinite(x)) return x - x;
    const Reduced a = Reduce(x);
    return SinOfQuarters(a, a.quarter);
}

// cos x = sin(x + pi/2): one more quarter turn, counted exactly, with the remainder unchanged.
double PortableCos(double x) {
    if (!std::isfinite(x)) return x - x;
    const Reduced a = Reduce(x);
    return SinOfQuarters(a, a.quarter + 1);
}
