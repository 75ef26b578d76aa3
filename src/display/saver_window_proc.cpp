#include "display/saver_window_proc.h"

#include <cstdlib>

#include "base/report_log.h"
#include "base/run_flags.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "platform/message_box.h"
#include "show/show_setup.h"

namespace {

constexpr MessageResult kSwallowed = 0;
constexpr MessageParam kLowWordMask = 0xFFFF;

bool SaverMode() {
    return runMode == RunMode::Saver;
}

// The preview and a host's window end only with their window or their host.
bool EndsOnInput() {
    return previewFlag == 0 && runMode != RunMode::Host;
}

void EndSaver() {
    quitRequested = 1;
    CloseSaverWindow();
}

// The pointer is read afresh: only where it is now counts, not the message's coordinates
// and not how far it went in between.
void TestMouseTravel() {
    int x = 0, y = 0;
    if (!GetCursorPosition(&x, &y)) return;
    if (std::abs(x - startCursor.x) > mouseThreshold ||
        std::abs(y - startCursor.y) > mouseThreshold) {
        LogLine("WM_MOUSEMOVE\n");
        EndSaver();
    }
}

// True when the message is swallowed.
bool OnDestroy() {
    LogLine("WM_DESTROY\n");
    quitRequested = 1;
    if (previewFlag != 0) {
        ShutdownShow();
        PostQuitWindowMessage(0);
        return false;
    }
    // CloseSaverWindow is destroying the window itself.
    if (saverWindowClosed != 0) return true;
    CloseSaverWindow();
    PostQuitWindowMessage(0);
    return false;
}

// The travel counts from where the pointer is when the saver takes the activation back after
// a box the run survives: the user moved it to answer the box.
void RestartMouseTravel() {
    int x = 0, y = 0;
    if (GetCursorPosition(&x, &y)) startCursor = {x, y};
}

bool OnActivationChange(MessageParam wParam) {
    if (!SaverMode()) return false;
    if ((wParam & kLowWordMask) != kWaInactive) {
        RestartMouseTravel();
        return false;
    }
    // A box the set-up shows takes the activation only for as long as it is up.
    if (RunGoesOnBoxOpen()) return true;
    LogLine("WM_ACTIVATE-INACTIVE\n");
    if (saverWindowClosed == 0) EndSaver();
    return true;
}

bool OnSystemCommand(MessageParam wParam) {
    if (wParam == kScScreenSave) {
        LogLine("SC_SCREENSAVE\n");
        return SaverMode();
    }
    if (wParam == kScClose) {
        LogLine("SC_CLOSE\n");
        return SaverMode();
    }
    return false;
}

// True when the message is swallowed.
bool HandleMessage(WindowId window, std::uint32_t message, MessageParam wParam) {
    switch (message) {
        case kWmCreate:
            if (previewFlag == 0 && hardwareTest == 0) LogLine("WM_CREATE\n");
            return false;
        case kWmDestroy:
            return OnDestroy();
        case kWmActivate:
        case kWmActivateApp:
        case kWmNcActivate:
            return OnActivationChange(wParam);
        case kWmClose:
            if (!SaverMode()) return false;
            LogLine("WM_CLOSE\n");
            quitRequested = 1;
            return true;
        case kWmSetCursor:
            // A host's window keeps the host's own pointer (usually none) over our picture.
            if (runMode == RunMode::Host) return false;
            SetSaverWindowCursor(window, SaverMode() ? PointerShape::Hidden : PointerShape::Arrow);
            return false;
        case kWmKeyDown:
        case kWmLButtonDown:
        case kWmRButtonDown:
        case kWmMButtonDown:
            if (EndsOnInput()) {
                LogLine("WM_MOUSEBTN-KEY_DOWN\n");
                EndSaver();
            }
            return false;
        case kWmMouseMove:
            if (EndsOnInput()) TestMouseTravel();
            return false;
        case kWmSysCommand:
            return OnSystemCommand(wParam);
        default:
            return false;
    }
}

}  // namespace

MessageResult SaverWindowProc(WindowId window, std::uint32_t message, MessageParam wParam,
                              MessageData lParam) {
    if (HandleMessage(window, message, wParam)) return kSwallowed;
    return DefaultWindowProcedure(window, message, wParam, lParam);
}
