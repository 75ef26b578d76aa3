// Saver runs in this process that end before the main loop: the failure paths, and the
// hardware-test run, which returns with its window open for the caller to close.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/run_flags.h"
#include "display/saver_run.h"
#include "display/saver_state.h"
#include "display/saver_window_proc.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform_spies.h"
#include "scratch_install.h"
#include "settings/install_folder.h"
#include "settings/settings.h"

namespace {

constexpr WindowId kGiven = 77;
constexpr const char* kCannotCreateWindow = "Can't Create Window.";

class SaverRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vostrel-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
        SetMessageBoxSpy([this](const MessageBoxRequest& box) {
            boxes_.push_back(box);
            closedBeforeBox_.push_back(saverWindowClosed != 0);
            return BoxAnswer::Ok;
        });
        runMode = RunMode::Saver;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    static void Write(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
    }

    // A machine key naming an install folder (empty: the file check warns) and user settings.
    void Install(const std::string& userValues) {
        WriteMachineKey(folder_ + "/machine", folder_ + "/install");
        std::filesystem::create_directories(folder_ + "/install");
        Write(folder_ + "/config/vostrel/Software/VostrelSaver.reg",
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VostrelSaver]\n" + userValues);
        SetMachineRoot((folder_ + "/machine").c_str());
    }

    static bool HaveGl() {
        GlProbe* probe = CreateGlProbe();
        if (probe == nullptr) return false;
        DestroyGlProbe(probe);
        return true;
    }

    // A run as the dialog's test starts it: full screen, and the window left open.
    static void RunHardwareTest() {
        runMode = RunMode::Config;
        hardwareTest = 1;
        RunSaver(kGiven);
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const MessageBoxRequest& box : boxes_) texts.push_back(box.text);
        return texts;
    }

    std::string folder_;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<bool> closedBeforeBox_;
};

TEST_F(SaverRunTest, WithoutInstallFolderOnlyTheErrorBoxIsShown) {
    SetMachineRoot((folder_ + "/nothing").c_str());
    RunSaver(kGiven);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].owner, kGiven);
    EXPECT_EQ(boxes_[0].icon, BoxIcon::Error);
    // No class was registered and no tear-down can start.
    EXPECT_FALSE(UnregisterSaverWindowClass(kSaverClassName));
    CloseSaverWindow();
    EXPECT_EQ(saverWindowClosed, 0);
}

TEST_F(SaverRunTest, RefusedModeTearsDownBeforeItsBox) {
    // A resolution outside the table leaves the fresh process's 0 x 0, which no mode has.
    Install("\"resolution\"=dword:0000270f\n");
    RunSaver(kGiven);
    ASSERT_EQ(boxes_.size(), 2u);  // the file check's warning, then the refusal
    EXPECT_EQ(boxes_[0].icon, BoxIcon::Warning);
    EXPECT_EQ(boxes_[1].owner, kGiven);
    EXPECT_EQ(boxes_[1].icon, BoxIcon::Error);
    EXPECT_NE(boxes_[1].text.find("unable to set"), std::string::npos);
    EXPECT_TRUE(closedBeforeBox_[1]);
    EXPECT_EQ(saverWindow, 0u);
}

TEST_F(SaverRunTest, PreviewWithoutHostCannotCreateItsWindow) {
    Install("");
    runMode = RunMode::Preview;
    previewFlag = 1;
    RunSaver(0);
    ASSERT_FALSE(boxes_.empty());
    EXPECT_EQ(boxes_.back().text, kCannotCreateWindow);
    EXPECT_EQ(boxes_.back().owner, 0u);
    // The preview's failure tears nothing down.
    EXPECT_EQ(saverWindowClosed, 0);
}

TEST_F(SaverRunTest, HardwareTestUsesItsOwnModeAndLeavesTheWindowOpen) {
    Install("\"resolution\"=dword:0000040f\n\"bpp\"=dword:00000001\n");
    if (!HaveGl()) GTEST_SKIP() << "no GL on an X display";
    RunHardwareTest();
    ASSERT_NE(saverWindow, 0u);
    EXPECT_EQ(screenWidth, 640);
    EXPECT_EQ(screenHeight, 480);
    EXPECT_EQ(colorDepth, 16);
    EXPECT_NE(saverContext, nullptr);
    const WindowId window = saverWindow;
    CloseSaverWindow();
    EXPECT_EQ(GetDrawingContext(window), 0u);
    EXPECT_EQ(saverContext, nullptr);
    // The class went with the window, so a second test can register it again.
    EXPECT_TRUE(RegisterSaverWindowClass(
        kSaverClassName,
        [](WindowId, std::uint32_t, MessageParam, MessageData) { return MessageResult{0}; }));
    UnregisterSaverWindowClass(kSaverClassName);
}

TEST_F(SaverRunTest, BoxDuringTheSaverEndsItBeforeItShows) {
    // A hardware-test run leaves a full-screen window open; as a Saver run's window it must
    // give way to a box (an audio failure during the set-up) rather than cover it.
    Install("");
    if (!HaveGl()) GTEST_SKIP() << "no GL on an X display";
    RunHardwareTest();
    ASSERT_NE(saverWindow, 0u);
    const WindowId window = saverWindow;
    runMode = RunMode::Saver;
    hardwareTest = 0;
    quitRequested = 0;
    ShowMessageBox({0, "SHUTDOWN ERROR", "Error Loading MP3 File", BoxIcon::Error});
    EXPECT_EQ(quitRequested, 1);
    EXPECT_TRUE(closedBeforeBox_.back());
    EXPECT_EQ(GetDrawingContext(window), 0u);
    EXPECT_EQ(saverContext, nullptr);
}

// A box the set-up shows when the show goes on without sound (no sound device) leaves the
// saver running: the deactivation Windows sends while the box is up ends nothing, the pointer's
// travel counts from where it is once the box is answered, and a later deactivation ends it.
TEST_F(SaverRunTest, BoxTheRunSurvivesLeavesTheSaverRunning) {
    Install("");
    if (!HaveGl()) GTEST_SKIP() << "no GL on an X display";
    RunHardwareTest();
    ASSERT_NE(saverWindow, 0u);
    runMode = RunMode::Saver;
    hardwareTest = 0;
    quitRequested = 0;
    startCursor = {-1000, -1000};
    SetMessageBoxSpy([](const MessageBoxRequest&) {
        SaverWindowProc(saverWindow, kWmActivate, kWaInactive, 0);
        return BoxAnswer::Ok;
    });
    MessageBoxRequest box{0, "SHUTDOWN ERROR", "Error Initializing Music", BoxIcon::Information};
    box.runGoesOn = true;
    ShowMessageBox(box);
    EXPECT_EQ(quitRequested, 0);
    EXPECT_EQ(saverWindowClosed, 0);
    int x = 0, y = 0;
    ASSERT_TRUE(GetCursorPosition(&x, &y));
    EXPECT_EQ(startCursor.x, x);
    EXPECT_EQ(startCursor.y, y);

    SaverWindowProc(saverWindow, kWmActivate, kWaInactive, 0);
    EXPECT_EQ(quitRequested, 1);
    EXPECT_EQ(saverWindowClosed, 1);
}

}  // namespace
