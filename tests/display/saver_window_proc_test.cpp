// What ends the saver and what does not, through the window procedure with the real window
// layer underneath (the pointer is the X server's; tests that need it skip without one).
#include <gtest/gtest.h>

#include "base/run_flags.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "display/saver_window_proc.h"
#include "settings/install_folder.h"

namespace {

constexpr MessageData kFarPoint = 0x03E803E8;  // (1000, 1000), which must not be used

class SaverWindowProcTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(RunMode::Saver); }
    void TearDown() override {
        WindowMessage message;
        while (PeekWindowMessage()) TakeWindowMessage(&message);
    }

    static void Reset(RunMode mode) {
        runMode = mode;
        previewFlag = mode == RunMode::Preview ? 1 : 0;
        quitRequested = 0;
        saverWindowClosed = 0;
        saverWindow = 0;
        // A run was started, so CloseSaverWindow does its work and raises its flag.
        installFolderFound = true;
    }

    static MessageResult Send(std::uint32_t message, MessageParam wParam = 0,
                              MessageData lParam = 0) {
        return SaverWindowProc(saverWindow, message, wParam, lParam);
    }

    static bool QuitPosted() {
        WindowMessage message;
        while (PeekWindowMessage()) {
            if (!TakeWindowMessage(&message)) return true;
        }
        return false;
    }

    // Places startCursor relative to where the pointer is now.
    static bool StartCursorAt(int dx, int dy) {
        int x = 0, y = 0;
        if (!GetCursorPosition(&x, &y)) return false;
        startCursor = {x - dx, y - dy};
        return true;
    }
};

TEST_F(SaverWindowProcTest, TravelOfFiftyKeepsTheSaverAndFiftyOneEndsIt) {
    if (!StartCursorAt(mouseThreshold, -mouseThreshold)) GTEST_SKIP() << "no X display";
    Send(kWmMouseMove, 0, kFarPoint);
    EXPECT_EQ(quitRequested, 0);
    EXPECT_EQ(saverWindowClosed, 0);

    StartCursorAt(0, mouseThreshold + 1);
    Send(kWmMouseMove, 0, kFarPoint);
    EXPECT_EQ(quitRequested, 1);
    EXPECT_EQ(saverWindowClosed, 1);
}

TEST_F(SaverWindowProcTest, OnlyWhereThePointerIsNowCounts) {
    // The message's own coordinates lie far away, as after a long trip and back.
    if (!StartCursorAt(-20, 30)) GTEST_SKIP() << "no X display";
    Send(kWmMouseMove, 0, kFarPoint);
    EXPECT_EQ(quitRequested, 0);
}

TEST_F(SaverWindowProcTest, PreviewIgnoresInputAndActivation) {
    Reset(RunMode::Preview);
    startCursor = {-10000, -10000};
    for (std::uint32_t message :
         {kWmKeyDown, kWmLButtonDown, kWmMButtonDown, kWmRButtonDown, kWmMouseMove}) {
        Send(message);
    }
    Send(kWmActivate, kWaInactive);
    EXPECT_EQ(quitRequested, 0);
    EXPECT_EQ(saverWindowClosed, 0);
}

// From outside a Saver run's window is torn down and the loop told to quit; during the
// tear-down nothing more is posted; a preview only quits.
TEST_F(SaverWindowProcTest, DestroyQuitsAndTearsDownOnlyASaverRunNotYetClosing) {
    const struct {
        RunMode mode;
        std::uint8_t closing;
        bool quitPosted;
        std::uint8_t closedAfter;
    } cases[] = {{RunMode::Saver, 1, false, 1},
                 {RunMode::Saver, 0, true, 1},
                 {RunMode::Preview, 0, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Reset(c.mode);
        saverWindowClosed = c.closing;
        EXPECT_EQ(Send(kWmDestroy), 0);
        EXPECT_EQ(quitRequested, 1);
        EXPECT_EQ(saverWindowClosed, c.closedAfter);
        EXPECT_EQ(QuitPosted(), c.quitPosted);
    }
}

TEST_F(SaverWindowProcTest, DeactivationEndsTheSaverOnce) {
    EXPECT_EQ(Send(kWmActivateApp, kWaInactive), 0);
    EXPECT_EQ(quitRequested, 1);
    EXPECT_EQ(saverWindowClosed, 1);

    // The deactivation that the tear-down itself causes starts nothing more.
    quitRequested = 0;
    EXPECT_EQ(Send(kWmNcActivate, kWaInactive), 0);
    EXPECT_EQ(quitRequested, 0);
}

TEST_F(SaverWindowProcTest, ActivationAndOtherModesAreLeftAlone) {
    Send(kWmActivate, 1);
    Reset(RunMode::Config);
    Send(kWmActivate, kWaInactive);
    EXPECT_EQ(quitRequested, 0);
}

// WM_CLOSE and the system commands against a real window, so that the default handling
// (which destroys a window on WM_CLOSE) is what Windows would do.
class SaverWindowCloseTest : public SaverWindowProcTest {
  protected:
    void SetUp() override {
        SaverWindowProcTest::SetUp();
        ASSERT_TRUE(RegisterSaverWindowClass(kSaverClassName, SaverWindowProc));
        installFolderFound = false;  // the tear-down must not run here
    }
    void TearDown() override {
        DestroySaverWindow(saverWindow);
        UnregisterSaverWindowClass(kSaverClassName);
        SaverWindowProcTest::TearDown();
    }

    bool MakeWindow() {
        saverWindow = CreateFullScreenWindow(kSaverClassName, "test");
        return saverWindow != 0;
    }
};

TEST_F(SaverWindowCloseTest, CloseInSaverModeOnlyQuits) {
    if (!MakeWindow()) GTEST_SKIP() << "no X display";
    EXPECT_EQ(Send(kWmSysCommand, kScClose), 0);
    EXPECT_EQ(Send(kWmSysCommand, kScScreenSave), 0);
    EXPECT_EQ(quitRequested, 0);
    EXPECT_EQ(Send(kWmClose), 0);
    EXPECT_EQ(quitRequested, 1);
    EXPECT_NE(GetDrawingContext(saverWindow), 0u);
    EXPECT_FALSE(QuitPosted());
}

TEST_F(SaverWindowCloseTest, CloseElsewhereDestroysTheWindow) {
    Reset(RunMode::Preview);
    installFolderFound = false;
    if (!MakeWindow()) GTEST_SKIP() << "no X display";
    Send(kWmSysCommand, kScClose);
    EXPECT_EQ(GetDrawingContext(saverWindow), 0u);
    EXPECT_EQ(quitRequested, 1);
    EXPECT_TRUE(QuitPosted());
}

}  // namespace
