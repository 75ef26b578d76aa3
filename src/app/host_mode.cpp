#include "app/host_mode.h"

#include "base/run_flags.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "platform/first_copy.h"
#include "platform/message_box.h"
#include "platform/stop_signal.h"

namespace {

// The claim that the copy playing the background audio holds.
constexpr const char* kBackgroundAudioClaim = "vostrel-background-audio";

}  // namespace

int RunHostMode(WindowId window) {
    runMode = RunMode::Host;
    previewFlag = 0;
    ShowMessageBoxesOnStandardError();
    WatchStopSignals();
    quietBackground = ClaimFirstCopy(kBackgroundAudioClaim) ? 0 : 1;
    RunSaver(window);
    // The host's signal ends the loop with everything still standing.
    if (saverWindow != 0 && saverWindowClosed == 0) CloseSaverWindow();
    return 0;
}
