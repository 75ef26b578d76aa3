#include "display/saver_run.h"

#include <GL/gl.h>

#include "base/product.h"
#include "base/report_log.h"
#include "base/run_flags.h"
#include "display/display_mode.h"
#include "display/frame_pacer.h"
#include "display/hardware_test.h"
#include "display/projection.h"
#include "display/saver_state.h"
#include "display/saver_window_proc.h"
#include "display/step_log.h"
#include "platform/cursor.h"
#include "platform/frame_clock.h"
#include "platform/message_box.h"
#include "platform/screensaver_notice.h"
#include "platform/stop_signal.h"
#include "settings/install_folder.h"
#include "settings/install_messages.h"
#include "settings/mode_size.h"
#include "settings/settings.h"
#include "settings/settings_dump.h"
#include "show/frame_driver.h"
#include "show/show_setup.h"

namespace {

constexpr const char* kSaverTitle = kProductName;
constexpr const char* kCannotRegisterClass = "Couldn't Register Window Class";
constexpr const char* kModeRefused =
    "Vostrel ScreenSaver was unable to set\nrequested fullscreen resolution and color\ndepth "
    "and thus won't run properly.\n\nPlease check \"Screen Resolution\" in the\nConfiguration "
    "Dialog and make sure that\nyour 3D hardware supports the video\nresolution you entered "
    "before retrying.";
constexpr const char* kCannotCreateWindow = "Can't Create Window.";

constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;
constexpr int kDepthBits = 16;
constexpr int kShowStartFrame = 0;

bool FullScreenRun() {
    return runMode == RunMode::Saver || hardwareTest != 0;
}

// The preview and a host's window show the picture at the window's own size.
bool ShowsAtWindowSize() {
    return previewFlag != 0 || runMode == RunMode::Host;
}

void ShowBox(WindowId owner, BoxIcon icon, const char* text) {
    ShowMessageBox({owner, kSaverTitle, text, icon, BoxButtons::Ok});
}

void TakeDesktopSize(WindowId given) {
    if (desktopWidth != 0) return;
    int width = 0, height = 0;
    if (GetWindowClientSize(given, &width, &height)) {
        desktopWidth = width;
        desktopHeight = height;
    }
    LogLine("Desktop Resolution\n==================\n");
    LogLine("X = %d\n", desktopWidth);
    LogLine("Y = %d\n\n", desktopHeight);
}

void ChooseScreenSize() {
    const ModeSize size = ModeSizeFromResolution(settings.resolution, {desktopWidth, desktopHeight},
                                                 {screenWidth, screenHeight}, ShowsAtWindowSize());
    screenWidth = size.width;
    screenHeight = size.height;
    LogLine("Selected Resolution\n===================\n");
    LogLine("X = %d\n", screenWidth);
    LogLine("Y = %d\n", screenHeight);
    LogLine("32Bpp = %d\n\n", static_cast<int>(LowByte(settings.bpp)));
    LogSettingsDump();
}

// The full-screen branch; false when the run has already ended with its box.
bool OpenFullScreenWindow(WindowId given) {
    if (hardwareTest != 0) {
        screenWidth = kTestWidth;
        screenHeight = kTestHeight;
        colorDepth = kColorDepthLow;
    }
    if (!ChangeDisplayMode(screenWidth, screenHeight, colorDepth)) {
        LogLine("Couldn't set requested video mode.\nCLOSING SAVER WINDOW.\n\n");
        CloseSaverWindow();
        ShowBox(given, BoxIcon::Error, kModeRefused);
        return false;
    }
    LogLine("Video mode SUCCESSFULLY set.\n");
    ChangeCursorCount(false);
    LogLine("Creating Window...\n");
    saverWindow = CreateFullScreenWindow(kSaverClassName, kSaverTitle);
    return true;
}

// Steps that are only logged: a failed one leaves the run to go on with what it has.
void MakeRenderingContext() {
    LogLine("Get Device Context: ");
    saverDC = GetDrawingContext(saverWindow);
    LogOutcome(saverDC != 0);
    LogLine("Choose Pixel Format: ");
    PixelFormatRequest request;
    request.colorBits = colorDepth;
    request.depthBits = kDepthBits;
    saverPixelFormat = ChooseSaverPixelFormat(saverDC, request);
    LogOutcome(saverPixelFormat != 0);
    LogLine("Set Pixel Format: ");
    LogOutcome(SetSaverPixelFormat(saverDC, saverPixelFormat));
    LogLine("Create Rendering Context: ");
    saverContext = CreateGlContext(saverDC);
    LogOutcome(saverContext != nullptr);
}

// A host may give the preview a window larger than any buffer can be (X allows 32767 x 32767);
// the show is then drawn at the size the window layer draws for, which it scales up.
void FitPreviewToDrawingSize() {
    int width = 0, height = 0;
    if (FullScreenRun() || !GetDrawingSize(saverDC, &width, &height)) return;
    if (width < screenWidth || height < screenHeight) {
        screenWidth = width;
        screenHeight = height;
    }
}

void ShowSaver() {
    LogLine("Showing Window... ");
    FitPreviewToDrawingSize();
    if (MakeGlContextCurrent(saverDC, saverContext)) {
        EnterDisplayMode(screenWidth, screenHeight, colorDepth);
    }
    ShowSaverWindow(saverWindow);
    SetForegroundSaverWindow(saverWindow);
    SetSaverWindowFocus(saverWindow);
    SetProjection(screenWidth, screenHeight);
    BringSaverWindowToTop(saverWindow);
    int x = 0, y = 0;
    if (GetCursorPosition(&x, &y)) startCursor = {x, y};
    LogLine("OK.\n\n");
}

// One frame and at most one message per pass: the show advances once per swap, and once per
// refresh where the swap does not wait for it (frame_pacer.h). Only quitRequested or a stop
// signal (a host ending its hack) ends it; WM_QUIT is not watched for.
void RunMainLoop() {
    FramePacer pacer = StartFramePacer(DisplayRefreshRate(), MonotonicSeconds());
    while (quitRequested == 0 && !StopSignalled()) {
        RenderShowFrame();
        SwapDisplayBuffers(saverDC);
        SleepUntilSeconds(NextFrameTime(&pacer, MonotonicSeconds()));
        WindowMessage message;
        if (PeekWindowMessage()) {
            TakeWindowMessage(&message);
            DispatchWindowMessage(message);
        }
    }
}

}  // namespace

void RunSaver(WindowId given) {
    LookUpDataFolder();
    if (!installFolderFound) {
        ShowBox(given, BoxIcon::Error, kComponentsMissingError);
        return;
    }
    if (!CheckDataFiles()) ShowBox(given, BoxIcon::Warning, kComponentsMissingWarning);
    LoadSaverSettings();
    colorDepth = ColorDepthFromBpp(settings.bpp);

    if (!RegisterSaverWindowClass(kSaverClassName, SaverWindowProc)) {
        ShowBox(given, BoxIcon::Error, kCannotRegisterClass);
        LogLine("Couldn't register window class.\nCLOSING.\n\n");
        return;
    }
    LogLine("Register WClass SUCCESSFUL.\nPROCEEDING.\n\n");
    TakeDesktopSize(given);
    ChooseScreenSize();

    const bool fullScreen = FullScreenRun();
    if (fullScreen) {
        if (!OpenFullScreenWindow(given)) return;
    } else {
        saverWindow =
            CreateChildWindow(kSaverClassName, kSaverTitle, given, screenWidth, screenHeight);
    }
    if (saverWindow == 0) {
        if (fullScreen) {
            LogLine("Couldn't create window.\nCLOSING SAVER WINDOW.\n\n");
            CloseSaverWindow();
        }
        ShowBox(0, BoxIcon::Error, kCannotCreateWindow);
        return;
    }
    LogLine("Window creation SUCCESSFUL.\n");

    MakeRenderingContext();
    ShowSaver();
    SetupShow(kShowStartFrame);
    // A hardware test's run has no main loop, and its caller closes the window.
    if (hardwareTest != 0) {
        RunHardwareTest();
        return;
    }

    LogLine("Window Messages\n===============\n\n");
    const bool saverMode = runMode == RunMode::Saver;
    if (saverMode) SetScreenSaverRunning(true);
    RunMainLoop();
    // A run that ends with its context still current (the preview, WM_CLOSE) must not leave
    // the last frame in flight: a threaded driver would still be drawing it while the process
    // ends and takes the driver away.
    glFinish();
    if (saverMode) SetScreenSaverRunning(false);
}
