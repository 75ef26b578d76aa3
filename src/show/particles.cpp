// What the viewer sees: in the blast scene (from the sun's collapse on), a ring of orange
// sparks spreading out and fading, blue comets falling and rising through the centre, and
// orange debris flying out in all directions. The frames are the blast scene's; the state
// advanced is each particle's own record (and the show's random generator, on every respawn
// and every comet's size).
//
// Speeds and distances are single-precision fields. Steps written as doubles (0.001, 0.1)
// are applied and compared in double and rounded once, as float -= double does; the ring's
// speed floor depends on it.
#include "show/particles.h"

#include <GL/gl.h>

#include "show/random.h"
#include "show/show_state.h"
#include "show/textured_quads.h"

namespace {

constexpr int kFullAlpha = 255;

// Ring: orange sparks. Their speed decays to a floor; the float nearest 0.1 lies just above
// the double 0.1, so a spark at the floor alternates between 0.1 and 0.099.
constexpr double kRingSpeedStep = 0.001;
constexpr double kRingSpeedFloor = 0.1;
constexpr int kRingSpeedChoices = 10;
constexpr double kRingRespawnSpeedStep = 0.01;
constexpr int kRingAngleChoices = 60;
constexpr int kRingAngleMax = 30;    // respawned sparks spread to -29 .. 30 degrees
constexpr float kRingTravel = 3.0f;  // distance inward before a spark respawns

// Comets: blue sparks falling from +7 or rising from -7, accelerating, respawned once past
// the centre by half a unit.
constexpr int kCometStartRed = 16;
constexpr int kCometRespawnRed = 32;
constexpr double kCometSpeedStep = 0.001;
constexpr double kCometStartSpeed = 0.01;
constexpr double kCometRespawnSpeed = 0.0005;
constexpr int kSpreadChoices = 500;
constexpr double kCometSpreadScale = 100.0;
constexpr float kCometTop = 7.0f;
constexpr float kCometOvershoot = 0.5f;
constexpr int kCometSpinFactor = 5;
constexpr double kCometDriftOffset = 0.05;
constexpr double kCometDriftScale = 10.0;
constexpr double kCometSizeStep = 0.001;
constexpr double kCometMinSize = 0.2;
constexpr int kCometSizeChoices = 100;

// Debris: sparks slowing to a floor speed, fading out over every 50 units they fly.
constexpr double kDebrisSpeedStep = 0.01;
constexpr int kDebrisSpeedChoices = 100;
constexpr double kDebrisSlowing = 0.0001;
constexpr double kDebrisSpeedFloor = 0.1;
constexpr float kDebrisFadeDistance = 50.0f;
constexpr float kDebrisHalfSize = 0.5f;

void GiveRingColour(RingParticle& p) {
    p.red = 128 + Random(127);
    p.green = 32 + Random(32);
    p.blue = 16 + Random(16);
}

// The upper half of the table rises from below, the rest falls from above.
void PlaceCometAtStart(Comet& c, int index) {
    const bool rises = index > showState.cometCount / 2;
    c.position = rises ? -kCometTop : kCometTop;
    c.direction = rises ? 1 : 0;
}

// Everything but the red, which differs between the set-up and a respawn, and the speed.
void GiveCometPath(Comet& c, int red, double speedOffset, int index) {
    c.red = red;
    c.green = 64 + Random(64);
    c.blue = 128 + Random(127);
    c.spread = static_cast<float>(Random(kSpreadChoices) / kCometSpreadScale);
    c.baseAngle = static_cast<float>(Random(kFullCircle));
    c.speed = static_cast<float>(kCometSpeedStep * Random(100) + speedOffset);
    PlaceCometAtStart(c, index);
}

// A byte of a colour: the low eight bits of the number, as GL takes it.
GLubyte ColourByte(int value) {
    return static_cast<GLubyte>(value);
}

void SetColour(int red, int green, int blue, int alpha) {
    glColor4ub(ColourByte(red), ColourByte(green), ColourByte(blue), ColourByte(alpha));
}

// Degrees about y that undo the arm's turn, so every quad faces the same way.
int ArmAngle(int arm) {
    return arm * kFullCircle / showState.ringArmCount;
}

void RespawnRingParticle(RingParticle& p) {
    GiveRingColour(p);
    p.distance = 0.0f;
    p.speed =
        static_cast<float>(kRingRespawnSpeedStep * Random(kRingSpeedChoices) + kRingSpeedFloor);
    int angle = Random(kRingAngleChoices);
    if (angle > kRingAngleMax) angle -= kRingAngleChoices;
    p.angle = static_cast<float>(angle);
}

bool CometHasPassed(const Comet& c) {
    return c.direction == 0 ? c.position < -kCometOvershoot : c.position > kCometOvershoot;
}

}  // namespace

void InitialiseRingParticles() {
    const int particles = showState.ringArmCount * kRingLayers;
    for (int i = 0; i < particles; ++i) {
        RingParticle& p = showState.ringParticles[i];
        GiveRingColour(p);
        p.angle = static_cast<float>(Random(kRingAngleChoices));
        p.speed = static_cast<float>(kRingSpeedStep * Random(kRingSpeedChoices));
        p.distance = 0.0f;
    }
}

void InitialiseComets() {
    for (int i = 0; i < showState.cometCount; ++i) {
        GiveCometPath(showState.comets[i], kCometStartRed + Random(16), kCometStartSpeed, i);
    }
}

void InitialiseDebris() {
    for (int i = 0; i < showState.debrisCount; ++i) {
        Debris& d = showState.debris[i];
        d.red = 128 + Random(128);
        d.green = 32 + Random(32);
        d.blue = 16 + Random(16);
        d.distance = 0.0f;
        d.speed = static_cast<float>(kDebrisSpeedStep * Random(kDebrisSpeedChoices));
        d.pitch = static_cast<float>(Random(kFullCircle));
        d.roll = static_cast<float>(Random(kFullCircle));
    }
}

void DrawRingParticle(int arm, int layer) {
    RingParticle& p = showState.ringParticles[arm * kRingLayers + layer];
    // From the distance before this frame's step, so it lies between 0 and ringAlpha.
    const float fade = showState.ringAlpha + showState.ringAlpha * p.distance / kRingTravel;
    const int alpha = fade < 0.0f ? 0 : static_cast<int>(fade);
    glPushMatrix();
    if (p.speed > kRingSpeedFloor) {
        p.speed -= kRingSpeedStep;
    } else {
        p.speed = static_cast<float>(kRingSpeedFloor);
    }
    p.distance -= p.speed;
    if (layer > 0) {
        // A larger glow at the arm's ring point, in the previous particle's colour.
        glPushMatrix();
        glRotatef(static_cast<float>(-ArmAngle(arm)), 0.0f, 1.0f, 0.0f);
        glScalef(static_cast<float>(layer), static_cast<float>(layer), static_cast<float>(layer));
        DrawRingQuad();
        glPopMatrix();
    }
    glRotatef(p.angle, 0.0f, 1.0f, 0.0f);
    glTranslatef(p.distance, 0.0f, 0.0f);
    SetColour(p.red, p.green, p.blue, alpha);
    glRotatef(static_cast<float>(-ArmAngle(arm)), 0.0f, 1.0f, 0.0f);
    DrawRingQuad();
    glPopMatrix();
    if (p.distance < -kRingTravel) RespawnRingParticle(p);
}

void DrawComet(int index, int spin) {
    Comet& c = showState.comets[index];
    glPushMatrix();
    c.speed += kCometSpeedStep;
    const int sign = c.direction == 0 ? 1 : -1;
    if (c.direction == 0) {
        c.position -= c.speed;
    } else {
        c.position += c.speed;
    }
    const int turn = spin * sign * kCometSpinFactor;
    glRotatef(turn + c.baseAngle, 0.0f, 1.0f, 0.0f);
    glTranslatef(static_cast<float>(c.spread * (c.position + kCometDriftOffset) / kCometDriftScale),
                 c.position, 0.0f);
    // 0 at the start height, 255 at the centre; past the centre the byte wraps, so the comet
    // all but vanishes once it has crossed.
    const int alpha = static_cast<int>(kFullAlpha - sign * kFullAlpha * c.position / kCometTop);
    SetColour(c.red, c.green, c.blue, alpha);
    glRotatef(-turn - c.baseAngle, 0.0f, 1.0f, 0.0f);
    // A new size every frame makes the comet twinkle.
    DrawStarQuad(static_cast<float>(kCometSizeStep * Random(kCometSizeChoices) + kCometMinSize));
    glPopMatrix();
    if (CometHasPassed(c)) {
        GiveCometPath(c, kCometRespawnRed + Random(32), kCometRespawnSpeed, index);
    }
}

void DrawDebris(int index) {
    Debris& d = showState.debris[index];
    d.distance += d.speed;
    glPushMatrix();
    d.speed -= kDebrisSlowing;
    if (d.speed < kDebrisSpeedFloor) d.speed = static_cast<float>(kDebrisSpeedFloor);
    glRotatef(d.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(d.roll, 0.0f, 0.0f, 1.0f);
    glTranslatef(d.distance, 0.0f, 0.0f);
    // Fades out over 50 units; past that the byte wraps to 255 and the fade repeats.
    const int alpha = static_cast<int>(kFullAlpha - d.distance / kDebrisFadeDistance * kFullAlpha);
    SetColour(d.red, d.green, d.blue, alpha);
    glRotatef(-d.roll, 0.0f, 0.0f, 1.0f);
    glRotatef(-d.pitch, 1.0f, 0.0f, 0.0f);
    DrawStarQuad(kDebrisHalfSize);
    glPopMatrix();
}
