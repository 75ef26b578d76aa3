#include "base/report_log.h"
#include "display/display_mode.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "display/step_log.h"
#include "platform/saver_window.h"
#include "settings/install_folder.h"
#include "show/show_setup.h"

namespace {

void DeleteRenderingContext() {
    LogLine("Rendering Context: ");
    if (saverContext == nullptr) {
        LogLine("NOT PRESENT. Can't delete Rendering Context.\n");
        return;
    }
    LogLine("PRESENT.\nMake Current: ");
    LogOutcome(MakeGlContextCurrent(saverDC, saverContext));
    LogLine("Delete Context: ");
    LogOutcome(DeleteGlContext(saverContext));
    saverContext = nullptr;
}

void ReleaseDeviceContext() {
    saverDC = GetDrawingContext(saverWindow);
    LogLine("Device Context: ");
    if (saverDC == 0) {
        LogLine("NOT PRESENT. Can't release Device Context.\n");
        return;
    }
    LogLine("PRESENT.\nRelease Device Context: ");
    LogOutcome(ReleaseDrawingContext(saverWindow, saverDC));
}

}  // namespace

void CloseSaverWindow() {
    if (!installFolderFound) return;
    saverWindowClosed = 1;
    LogLine("\nCLOSE SAVER WINDOW starting...\n==============================\n\n");
    ShutdownShow();
    LogLine("Switching to desktop resolution: ");
    LogOutcome(RestoreDisplayMode());
    DeleteRenderingContext();
    ReleaseDeviceContext();
    LogLine("Destroying Window...\n");
    LogLine(DestroySaverWindow(saverWindow) ? "DESTROY WINDOW: SUCCESSFUL.\n"
                                            : "DESTROY WINDOW: FAILED.\n");
    LogLine("UNREGISTER CLASS: ");
    LogLine(UnregisterSaverWindowClass(kSaverClassName) ? "SUCCESSFUL.\n\n" : "FAILED.\n\n");
}
