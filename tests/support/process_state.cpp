#include "process_state.h"

#include <gtest/gtest.h>

#include "base/run_flags.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "gl_test_context.h"
#include "platform/saver_window.h"
#include "platform_spies.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/random.h"
#include "show/show_setup.h"
#include "show/show_state.h"

namespace {

// The saver's own tear-down, for a run a test left open: it closes only what a run that found
// its install folder opened.
void CloseLeftoverSaverWindow() {
    if (saverWindow != 0) {
        installFolderFound = true;
        CloseSaverWindow();
    }
    UnregisterSaverWindowClass(kSaverClassName);
}

// A box that no test asked for would wait for a click that never comes: it fails the test
// instead and is answered as when nobody is there.
BoxAnswer FailUnexpectedBox(const MessageBoxRequest& box) {
    ADD_FAILURE() << "a message box no test expected: \"" << box.title << "\": " << box.text;
    return AnswerWithoutPerson(box.buttons);
}

class ResetBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ResetProcessState(); }
};

[[maybe_unused]] const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetBeforeEachTest);
    return true;
}();

}  // namespace

void ResetRunRecords() {
    showState = ShowState{};
    settings = Settings{};
    runMode = RunMode::Config;
    previewFlag = 0;
    hardwareTest = 0;
    quietCopy = 0;
    saverWindow = 0;
    saverDC = 0;
    saverContext = nullptr;
    saverPixelFormat = 0;
    desktopWidth = desktopHeight = 0;
    screenWidth = screenHeight = 0;
    colorDepth = 0;
    saverWindowClosed = 0;
    quitRequested = 0;
    SetRandomState(1);
}

void ResetProcessState() {
    ResetPlatformSpies();
    SetMessageBoxSpy(FailUnexpectedBox);
    ShutdownShow();
    ResetTestGlContext();
    CloseLeftoverSaverWindow();
    installFolderFound = false;
    ResetRunRecords();
}
