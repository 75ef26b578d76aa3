// The words of the show, in 3D wire-frame letters that reflect the star texture. The viewer
// sees the opening sentence "THIS IS WHEN IT ALL BEGAN" (frames 0 to 4999), each word moving
// along a straight line and fading in and out by a sine curve; "VOSTREL" beside the spinning
// emblem (frames 3000 to 4999); the white-out that leads into the sun (frames 4951 to 4999);
// and over the sun the countdown "FIVE" to "ONE" and the flickering warning "CRITICAL"
// "COLLAPSE" (frames 5400 to 5999). Advances `emblemAngle` once per frame in frames 3000 to
// 4999 and draws one random number per warning frame; everything else is a function of the
// frame, the detail level and the colours of the first five debris records.
#include <GL/gl.h>

#include "assets/textures.h"
#include "base/portable_trig.h"
#include "settings/settings.h"
#include "show/emblem_credits.h"
#include "show/outline_font.h"
#include "show/plain_quad.h"
#include "show/random.h"
#include "show/scenes.h"
#include "show/show_math.h"
#include "show/show_state.h"

namespace {

struct Point {
    float x, y, z;
};

// How a word fades within its window: one sine hump, held at its peak, or the hump's second
// half turned into a fade-out.
enum class Fade { Hump, Hold, Out };

// Words take their colour from a debris record, so it changes from one cycle to the next;
// "BEGAN" and "VOSTREL" are always grey behind and white in front.
constexpr int kGreyAndWhite = -1;

// A word of the opening in its window of frames [start, end). Both copies start where the
// table says and move together by `heading` for every `framesPerUnit` frames.
struct OpeningWord {
    const char* text;
    int start, end;
    int colourSource;  // a debris record, or kGreyAndWhite
    int backPeak, frontPeak;
    Fade fade;
    Point back, front;
    Point heading;
    float framesPerUnit;
};

constexpr Point kStill = {0.0f, 0.0f, 0.0f};
constexpr int kOpeningPeriod = 1000;  // frames of one whole sine hump of the opening

constexpr OpeningWord kOpeningWords[] = {
    {"THIS",
     0,
     1000,
     0,
     255,
     255,
     Fade::Hump,
     {-5.0f, 0.0f, -5.0f},
     {-5.0f, 0.0f, -4.25f},
     {1.0f, 0.0f, 0.0f},
     200.0f},
    {"IS",
     500,
     1500,
     1,
     255,
     255,
     Fade::Hump,
     {0.0f, -2.0f, -5.5f},
     {0.0f, -2.0f, -4.75f},
     {0.0f, 1.0f, 0.0f},
     200.0f},
    {"WHEN",
     1000,
     2000,
     2,
     128,
     255,
     Fade::Hump,
     {2.0f, -1.0f, -6.25f},
     {2.0f, -1.0f, -5.5f},
     {-1.0f, 0.0f, 0.0f},
     200.0f},
    {"IT",
     1500,
     2500,
     3,
     128,
     255,
     Fade::Hump,
     {-1.0f, -1.0f, -7.25f},
     {-1.0f, -1.0f, -6.5f},
     {0.0f, 0.0f, 1.0f},
     200.0f},
    {"ALL",
     2000,
     3000,
     4,
     128,
     255,
     Fade::Hump,
     {-0.5f, 0.0f, -0.75f},
     {-0.5f, 0.0f, 0.0f},
     {0.0f, 0.0f, -1.0f},
     100.0f},
    {"BEGAN",
     2500,
     3000,
     kGreyAndWhite,
     128,
     255,
     Fade::Hump,
     {-2.2f, -0.25f, -4.75f},
     {-2.2f, -0.25f, -4.0f},
     kStill,
     1.0f},
    {"BEGAN",
     3000,
     4500,
     kGreyAndWhite,
     128,
     255,
     Fade::Hold,
     {-2.2f, -0.25f, -4.75f},
     {-2.2f, -0.25f, -4.0f},
     kStill,
     1.0f},
    {"BEGAN",
     4500,
     kSceneStartFrame,
     kGreyAndWhite,
     128,
     255,
     Fade::Out,
     {-2.2f, -0.25f, -4.75f},
     {-2.2f, -0.25f, -4.0f},
     kStill,
     1.0f},
    {"VOSTREL",
     4500,
     kSceneStartFrame,
     kGreyAndWhite,
     128,
     255,
     Fade::Hump,
     {-2.8f, -0.25f, -5.75f},
     {-2.8f, -0.25f, -5.1f},
     kStill,
     1.0f},
};

// The emblem spins in beside "VOSTREL" and fades in over its first thousand frames.
constexpr int kEmblemStart = 3000;
constexpr int kEmblemEnd = kSceneStartFrame;
constexpr int kEmblemFadeFrames = 1000;
constexpr double kEmblemSwing = 64.0;
constexpr double kEmblemColourBase = 192.0;
constexpr double kEmblemAlphaBase = 128.0;

// The white-out: a white layer in front of everything, opaque for the last ten frames.
constexpr int kWhiteOutAfter = 4950;
constexpr int kWhiteOutOpaque = 4990;
constexpr int kWhiteOutEnd = kSceneStartFrame;
constexpr int kWhiteOutRampFrames = 40;
constexpr float kWhiteOutDepth = -5.0f;

// Countdown words fly from the camera 10 units away in their 100 frames; the peak alpha
// rises as the count runs down.
constexpr int kCountPeriod = 100;
constexpr float kCountFramesPerUnit = 10.0f;
struct CountWord {
    const char* text;
    int start;
    int peak;
    Point at;
};
constexpr CountWord kCountdown[] = {
    {"FIVE", 5400, 128, {-2.0f, -1.0f, 0.0f}}, {"FOUR", 5500, 128, {-3.0f, 0.0f, 0.0f}},
    {"THREE", 5600, 160, {-2.0f, 1.0f, 0.0f}}, {"TWO", 5700, 192, {1.2f, 0.0f, 0.0f}},
    {"ONE", 5800, 224, {-0.5f, -1.25f, 0.0f}},
};

// The warning's two lines flicker together: one random peak per frame.
constexpr int kWarningStart = 5900;
constexpr int kWarningFlicker = 255;
constexpr Point kWarningAt = {-2.5f, -1.0f, 0.0f};
// From the end of "CRITICAL" to the start of the second line.
constexpr Point kSecondLineStep = {-6.625f, -0.6f, 0.0f};

constexpr GLubyte kWhite = 255;
constexpr GLubyte kGrey = 128;

bool InWindow(int f, int start, int end) {
    return f >= start && f < end;
}

// The rise and fall of a word over its window. 3.1415 stays short of pi, so the curve is
// still above zero on the window's last frame.
double Sine(int f, int start, int period) {
    return PortableSin((f - start) * kShowPi / period);
}

GLubyte Truncated(double value) {
    return static_cast<GLubyte>(static_cast<int>(value));
}

GLubyte WordAlpha(const OpeningWord& word, int peak, int f) {
    const double sine = Sine(f, word.start, kOpeningPeriod);
    switch (word.fade) {
        case Fade::Hump:
            return Truncated(sine * peak);
        case Fade::Hold:
            return static_cast<GLubyte>(peak);
        case Fade::Out:
            return Truncated(peak - sine * peak);
    }
    return 0;
}

Point Along(Point from, const OpeningWord& word, int f) {
    const float units = static_cast<float>(f - word.start) / word.framesPerUnit;
    return {from.x + word.heading.x * units, from.y + word.heading.y * units,
            from.z + word.heading.z * units};
}

void PrintAt(Point at, const char* text) {
    glTranslatef(at.x, at.y, at.z);
    PrintOutline(text);
}

// Integer arithmetic: a debris red of 255 gives 255 in front and 127 behind.
void SetWordColour(const OpeningWord& word, bool front, GLubyte alpha) {
    if (word.colourSource == kGreyAndWhite) {
        const GLubyte level = front ? kWhite : kGrey;
        glColor4ub(level, level, level, alpha);
        return;
    }
    const Debris& source = showState.debris[word.colourSource];
    const int divisor = front ? 2 : 4;
    const int base = front ? 128 : 64;
    glColor4ub(static_cast<GLubyte>(source.red / divisor + base),
               static_cast<GLubyte>(source.green / divisor + base),
               static_cast<GLubyte>(source.blue / divisor + base), alpha);
}

void DrawWordCopy(const OpeningWord& word, bool front, int f) {
    glLoadIdentity();
    SetWordColour(word, front, WordAlpha(word, front ? word.frontPeak : word.backPeak, f));
    PrintAt(Along(front ? word.front : word.back, word, f), word.text);
}

// The dimmer copy behind each word is left out at low detail.
void DrawOpeningWords(int f) {
    for (const OpeningWord& word : kOpeningWords) {
        if (!InWindow(f, word.start, word.end)) continue;
        if (showState.detailLevel != kDetailLow) DrawWordCopy(word, false, f);
        DrawWordCopy(word, true, f);
    }
}

void DrawEmblemInColour(int f) {
    const int a = showState.emblemAngle;
    const double swing = PortableCos(ShowRadians(a)) * kEmblemSwing;
    double alpha = swing + kEmblemAlphaBase;
    if (f < kEmblemStart + kEmblemFadeFrames) {
        alpha *= static_cast<double>(f - kEmblemStart) / kEmblemFadeFrames;
    }
    glColor4ub(Truncated(swing + kEmblemColourBase),
               Truncated(PortableSin(ShowRadians(a)) * kEmblemSwing + kEmblemColourBase),
               Truncated(PortableCos(ShowRadians(2.0 * a)) * kEmblemSwing + kEmblemColourBase),
               Truncated(alpha));
    DrawEmblem(a);
}

void DrawWhiteOut(int f) {
    const int alpha =
        f < kWhiteOutOpaque ? (f - kWhiteOutAfter) * kWhite / kWhiteOutRampFrames : kWhite;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, kWhiteOutDepth);
    glDisable(GL_TEXTURE_2D);
    glColor4ub(kWhite, kWhite, kWhite, static_cast<GLubyte>(alpha));
    DrawPlainQuad();
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
}

Point FlownAway(Point at, int f, int start) {
    return {at.x, at.y, at.z - static_cast<float>(f - start) / kCountFramesPerUnit};
}

void DrawCountdown(int f) {
    for (const CountWord& word : kCountdown) {
        if (!InWindow(f, word.start, word.start + kCountPeriod)) continue;
        glLoadIdentity();
        glColor4ub(kWhite, kWhite, kWhite,
                   Truncated(Sine(f, word.start, kCountPeriod) * word.peak));
        PrintAt(FlownAway(word.at, f, word.start), word.text);
    }
}

// "COLLAPSE" goes on from wherever "CRITICAL" left the pen, so it sits on a second line.
void DrawWarning(int f) {
    const int flicker = Random(kWarningFlicker);
    glLoadIdentity();
    glColor4ub(kWhite, kWhite, kWhite, Truncated(Sine(f, kWarningStart, kCountPeriod) * flicker));
    PrintAt(FlownAway(kWarningAt, f, kWarningStart), "CRITICAL");
    PrintAt(kSecondLineStep, "COLLAPSE");
}

// The letters are drawn as a reflection map of the star texture, tinted by their colour.
// Set on every frame, even one without a word, so the frames after it find the same state.
void SetCaptionState() {
    glEnable(GL_TEXTURE_2D);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    texStelle2.Bind();
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
}

}  // namespace

void DrawCaptions() {
    const int f = showState.showFrame;
    SetCaptionState();
    DrawOpeningWords(f);
    if (InWindow(f, kEmblemStart, kEmblemEnd)) DrawEmblemInColour(f);
    if (InWindow(f, kWhiteOutAfter + 1, kWhiteOutEnd)) DrawWhiteOut(f);
    if (InWindow(f, kEmblemStart, kEmblemEnd)) showState.emblemAngle += 1;
    DrawCountdown(f);
    if (InWindow(f, kWarningStart, kWarningStart + kCountPeriod)) DrawWarning(f);
}
