#include "show/particle_start.h"

#include "show/random.h"
#include "show/show_state.h"

namespace {
// Steps are doubles so that 9 x 0.001 lands on the float nearest 0.009.
constexpr double kRingSpeedStep = 0.001;
constexpr double kCometSpeedStep = 0.001;
constexpr double kCometStartSpeed = 0.01;
constexpr double kCometSpreadScale = 100.0;
constexpr float kCometTop = 7.0f;
constexpr double kDebrisSpeedStep = 0.01;
}  // namespace

void InitialiseRingParticles() {
    const int particles = showState.ringArmCount * kRingLayers;
    for (int i = 0; i < particles; ++i) {
        RingParticle& p = showState.ringParticles[i];
        p.red = 128 + Random(127);
        p.green = 32 + Random(32);
        p.blue = 16 + Random(16);
        p.angle = static_cast<float>(Random(60));
        p.speed = static_cast<float>(kRingSpeedStep * Random(10));
        p.distance = 0.0f;
    }
}

void InitialiseComets() {
    for (int i = 0; i < showState.cometCount; ++i) {
        Comet& c = showState.comets[i];
        c.red = 16 + Random(16);
        c.green = 64 + Random(64);
        c.blue = 128 + Random(127);
        c.spread = static_cast<float>(Random(500) / kCometSpreadScale);
        c.baseAngle = static_cast<float>(Random(kFullCircle));
        c.speed = static_cast<float>(kCometSpeedStep * Random(100) + kCometStartSpeed);
        // The upper half of the table rises from below, the rest falls from above.
        const bool rises = i > showState.cometCount / 2;
        c.position = rises ? -kCometTop : kCometTop;
        c.direction = rises ? 1 : 0;
    }
}

void InitialiseDebris() {
    for (int i = 0; i < showState.debrisCount; ++i) {
        Debris& d = showState.debris[i];
        d.red = 128 + Random(128);
        d.green = 32 + Random(32);
        d.blue = 16 + Random(16);
        d.distance = 0.0f;
        d.speed = static_cast<float>(kDebrisSpeedStep * Random(100));
        d.pitch = static_cast<float>(Random(kFullCircle));
        d.roll = static_cast<float>(Random(kFullCircle));
    }
}
