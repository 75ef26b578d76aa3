// The hardware test's picture: the front texture on a square that grows from nothing to the
// full view while it turns 2 degrees a frame and fades from opaque to nothing, 101 frames in
// all. It draws over the set-up's additive blending, so the fading alpha dims the picture;
// the colour buffer is cleared each frame, the depth buffer never.
#include "display/hardware_test.h"

#include <GL/gl.h>

#include "assets/textures.h"
#include "base/product.h"
#include "base/run_flags.h"
#include "display/display_mode.h"
#include "display/frame_pacer.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "platform/cursor.h"
#include "platform/desktop.h"
#include "platform/frame_clock.h"
#include "platform/message_box.h"
#include "settings/install_folder.h"
#include "show/textured_quads.h"

int testResult = 0;

namespace {

constexpr int kDriverFormat = 1;
constexpr int kGenericAcceleratedFormat = 2;
constexpr float kTurnPerFrame = -2.0f;
constexpr double kGrowthPerFrame = 0.01;
constexpr float kOpaque = 255.0f;
constexpr GLubyte kFullChannel = 255;
constexpr float kFlipDegrees = 180.0f;

constexpr const char* kDriverVerdict = "3D Hardware Acceleration Test OK.";
constexpr const char* kGenericVerdict = "3D Hardware Acceleration Test OK!";
constexpr const char* kFailedVerdict =
    "3D Hardware Acceleration Test FAILED!\nVostrel ScreenSaver may not work properly\non your "
    "system.";

void RecordVerdict() {
    switch (DescribeSaverPixelFormat(saverDC, saverPixelFormat)) {
        case PixelFormatKind::Driver:
            testResult = kDriverFormat;
            break;
        case PixelFormatKind::GenericAccelerated:
            testResult = kGenericAcceleratedFormat;
            break;
        case PixelFormatKind::Software:
        case PixelFormatKind::Unknown:
            break;
    }
}

void DrawTestPicture() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.0f);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    texFront.Bind();
    glRotatef(kFlipDegrees, 0.0f, 1.0f, 0.0f);
    // Paced like the show, so that the picture does not flash by where swaps do not wait.
    FramePacer pacer = StartFramePacer(DisplayRefreshRate(), MonotonicSeconds());
    // t grows in double and is stored back in single precision each frame; that rounding is
    // what makes the loop end after exactly 101 frames, the last one with alpha 0.
    for (float t = 0.0f; t < 1.0f; t = static_cast<float>(t + kGrowthPerFrame)) {
        glColor4ub(kFullChannel, kFullChannel, kFullChannel,
                   static_cast<GLubyte>((1.0f - t) * kOpaque));
        glClear(GL_COLOR_BUFFER_BIT);
        glRotatef(kTurnPerFrame, 0.0f, 0.0f, 1.0f);
        DrawTexturedSquare(t, 1.0f);
        SwapDisplayBuffers(saverDC);
        SleepUntilSeconds(NextFrameTime(&pacer, MonotonicSeconds()));
    }
}

void ShowVerdict() {
    const bool passed = testResult == kDriverFormat || testResult == kGenericAcceleratedFormat;
    const char* text = testResult == kDriverFormat               ? kDriverVerdict
                       : testResult == kGenericAcceleratedFormat ? kGenericVerdict
                                                                 : kFailedVerdict;
    ShowMessageBox(
        {0, kProductName, text, passed ? BoxIcon::Information : BoxIcon::Warning, BoxButtons::Ok});
}

}  // namespace

void RunHardwareTest() {
    RecordVerdict();
    if (testResult == 0) return;
    DrawTestPicture();
}

void RunDialogHardwareTest() {
    hardwareTest = 1;
    RunSaver(DesktopWindow());
    CloseSaverWindow();
    ChangeCursorCount(true);  // balances the hiding done by the full-screen run
    if (installFolderFound) ShowVerdict();
}
