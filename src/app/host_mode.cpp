#include "app/host_mode.h"

#include <cstdlib>

#include "base/run_flags.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "platform/first_copy.h"
#include "platform/message_box.h"
#include "platform/stop_signal.h"

namespace {

// The claim that the copy playing the sound holds.
constexpr const char* kSoundClaim = "vostrel-sound";

}  // namespace

int RunHostMode(WindowId window) {
    runMode = RunMode::Host;
    previewFlag = 0;
    ShowMessageBoxesOnStandardError();
    WatchStopSignals();
    quietCopy = ClaimFirstCopy(kSoundClaim) ? 0 : 1;
    RunSaver(window);
    // Every way RunSaver gives up before the show leaves the window unmade.
    if (saverWindow == 0) return EXIT_FAILURE;
    // The host's signal ends the loop with everything still standing.
    if (saverWindowClosed == 0) CloseSaverWindow();
    return 0;
}
