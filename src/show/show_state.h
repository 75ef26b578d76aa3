// The show's process-wide state: the frame counter, the scene counters and angles, and the
// tables made once by the set-up. Everything the show draws reads it; only the frame driver,
// the scenes and the set-up write it.
#pragma once
#include <cstdint>

#include "settings/settings.h"

inline constexpr int kRayCount = 202;
// The sun grows one ray per five ticks: sunTicks / kTicksPerRay rays are drawn.
inline constexpr int kTicksPerRay = 5;
inline constexpr int kCreditLineCount = 110;
// With `matrox` on the show starts, and restarts, here: the opening captions are skipped.
inline constexpr int kMatroxStartFrame = 4800;
// Credits lines lie this far apart in the 640 x 480 text space, line 0 at the top.
inline constexpr float kCreditLineSpacing = 16.0f;
inline constexpr int kFullCircle = 360;
inline constexpr int kRingLayers = 3;  // ring particles per arm

// The timeline of one cycle, in frames: the 3D scene (and the blur) from kSceneStartFrame,
// the credits roll strictly between kCreditsAfterFrame and kCreditsBeforeFrame.
inline constexpr int kSceneStartFrame = 5000;
inline constexpr int kCreditsAfterFrame = 7000;
inline constexpr int kCreditsBeforeFrame = 9200;
// The timeline's end: with `restart` on, the last kEndFadeFrames of a cycle fade to black and
// reaching kCycleEndFrame starts the show again; without it the counter stops one frame past
// the end, at kFrozenFrame, and the blast goes on for ever.
inline constexpr int kCycleEndFrame = 9500;
inline constexpr int kEndFadeFrames = 500;
inline constexpr int kEndFadeStartFrame = kCycleEndFrame - kEndFadeFrames;
inline constexpr int kFrozenFrame = kCycleEndFrame + 1;

// Values the blast scene starts from, on the first cycle and after every restart.
inline constexpr std::int32_t kRingAlphaFull = 255;
inline constexpr std::int32_t kBlastCountdownStart = 70;

struct RingParticle {
    std::int32_t red, green, blue;
    float speed;
    float distance;
    float angle;
};

struct Comet {
    std::int32_t red, green, blue;
    std::int32_t direction;  // 0: starts at +7 and falls, 1: starts at -7 and rises
    float speed;
    float spread;
    float baseAngle;
    float position;
};

struct Debris {
    std::int32_t red, green, blue;
    float speed;
    float distance;
    float pitch;
    float roll;
};

struct RayDir {
    float xRotation;
    float yRotation;
};

struct ShowState {
    std::int32_t showFrame = 0;
    std::int32_t detailLevel = kDetailMedium;
    bool sunPhase = true;
    std::int32_t sunTicks = 0;
    std::int32_t lastBangStep = 0;
    std::int32_t spinAngle = 0;
    float slowAngle = 0.0f;
    float sunYaw = 0.0f;
    float ringRadius = 1.0f;
    std::int32_t ringAlpha = kRingAlphaFull;
    std::int32_t burstTimer = 0;
    std::int32_t blastCountdown = kBlastCountdownStart;
    std::int32_t flashStep = 0;
    std::int32_t emblemAngle = 0;

    // Made by the set-up, never freed (they live until the process ends).
    std::int32_t ringArmCount = 360;
    std::int32_t cometCount = 500;
    std::int32_t debrisCount = 500;
    RingParticle* ringParticles = nullptr;  // ringArmCount arms of three layers
    Comet* comets = nullptr;
    Debris* debris = nullptr;
    RayDir* rayDirs = nullptr;
    const char** creditLines = nullptr;
    float* creditY = nullptr;
};

extern ShowState showState;
