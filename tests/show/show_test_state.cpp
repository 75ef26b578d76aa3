#include "show_test_state.h"

#include "app/run_state.h"
#include "display/run_flags.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/random.h"
#include "show/show_state.h"

void ResetShowForTest() {
    // The quadric is made once per process and kept, as in a run.
    GLUquadric* quadric = showState.quadric;
    showState = ShowState{};
    showState.quadric = quadric;
    settings = Settings{};
    previewFlag = 0;
    hardwareTest = 0;
    installFolderFound = true;
    SetRandomState(1);
}
