#include "app/debug_report.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "base/report_page.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform_spies.h"
#include "scratch_install.h"
#include "settings/settings.h"
#include "temp_folder.h"

namespace {

using namespace std::string_literals;

const std::string kTitle = "Vostrel ScreenSaver";
const std::string kHead = "<html><head><style>td { width: 100%; }</style></head>\r\n%s %d %n<"s;
const std::string kTail = "<!--end-->\r\n<p>50% done, %s</p>\0</html>\r\n"s;
const std::string kTextAreaStart = "<!--begin--><textarea name=\"DEBUG\" cols=\"30\">";
const std::string kTextAreaEnd = "</textarea>";
const std::string kBanner =
    "****************************\n"
    "DEBUG FILE FOR VOSTREL SAVER\n"
    "****************************\n"
    "\n"
    "-----------------------------\n"
    "VOSTREL SCREENSAVER HAS REPOR\n"
    "TED THE FOLLOWING DEBUG INFO:\n"
    "-----------------------------\n"
    "\n"
    "===========\n"
    "Starting...\n"
    "===========\n"
    "\n"
    "Saver Mode, starting report.\n"
    "============================\n"
    "\n";
const std::string kClosing = "==========\nClosing...\n==========";
const std::string kCannotOpen =
    "Can't open HTM file for debug report.\nPlease disable \"Debug Mode\"\n"
    "option in the configuration dialog.";
const std::string kNoMarkers = "Can't find special identifiers in HTM file.";

std::string PageWithReport(const std::string& report) {
    return kHead + kTextAreaStart + report + kTextAreaEnd + kTail;
}

// An install folder recorded under its own machine root, holding the report page, and a
// message box spy that answers every question with `answer`.
class DebugReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteMachineKey(install.File("machine"), install.path());
        SetMachineRoot(install.File("machine").c_str());
        WriteWholeFile(PagePath(), kHead + "<!--begin-->installed report<!--end-->" +
                                       kTail.substr(std::strlen("<!--end-->")));
        settings.debug = 1;
        SetMessageBoxSpy([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            return request.buttons == BoxButtons::YesNo ? answer : BoxAnswer::Ok;
        });
    }
    void TearDown() override { CloseDebugReport(); }

    std::string PagePath() const { return install.File("debug.htm"); }
    std::string Page() const { return ReadWholeFile(PagePath()); }

    void ExpectOneErrorBox(const std::string& text) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].title, kTitle);
        EXPECT_EQ(boxes[0].owner, 0u);
        EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
        EXPECT_EQ(boxes[0].buttons, BoxButtons::Ok);
    }

    TempFolder install;
    std::vector<MessageBoxRequest> boxes;
    BoxAnswer answer = BoxAnswer::No;
};

TEST_F(DebugReportTest, WritesBannerLinesAndClosingBetweenTheUntouchedHeadAndTail) {
    const std::string logged = kBanner + "Register WClass SUCCESSFUL.\nPROCEEDING.\n\nX = 1280\n";
    ASSERT_TRUE(OpenDebugReport());
    EXPECT_EQ(Page(), PageWithReport(kBanner));
    LogLine("Register WClass SUCCESSFUL.\nPROCEEDING.\n\n");
    LogLine("X = %d\n", 1280);
    EXPECT_EQ(Page(), PageWithReport(logged));
    ASSERT_TRUE(CloseDebugReport());
    EXPECT_EQ(Page(), PageWithReport(logged + kClosing));
    LogLine("WM_DESTROY\n");
    EXPECT_EQ(Page(), PageWithReport(logged + kClosing));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DebugReportTest, SecondRunReplacesOnlyTheReport) {
    ASSERT_TRUE(OpenDebugReport());
    LogLine("first run\n");
    ASSERT_TRUE(CloseDebugReport());
    ASSERT_TRUE(OpenDebugReport());
    LogLine("second run\n");
    ASSERT_TRUE(CloseDebugReport());
    EXPECT_EQ(Page(), PageWithReport(kBanner + "second run\n" + kClosing));
}

TEST_F(DebugReportTest, SettingsDumpNamesTheDetailLevelAndLowBytes) {
    settings.part = kPartHigh;
    settings.psound = 0x101;
    settings.pmusic = 0;
    settings.pcd = 1;
    settings.pmp3 = 0x1FF;
    std::strcpy(settings.datapath, "/music/a.mp3");
    settings.useblur = 1;
    settings.showcred = 0;
    settings.restart = 1;
    settings.starfield = 0;
    settings.matrox = 1;
    settings.text = 1;
    std::strcpy(settings.vostrel, "100% %s");
    ASSERT_TRUE(OpenDebugReport());
    LogSettingsDump();
    ASSERT_TRUE(CloseDebugReport());
    EXPECT_EQ(Page(), PageWithReport(kBanner +
                                     "Settings\n========\n"
                                     "Detail Level = HIGH\n"
                                     "Play Sounds = 1\n"
                                     "Play Music = 0\n"
                                     "Play Audio CD = 1\n"
                                     "Play MP3 = 255\n"
                                     "MP3 File Path = /music/a.mp3\n"
                                     "Motion Blur = 1\n"
                                     "Show Credits = 0\n"
                                     "Restart = 1\n"
                                     "Starfield = 0\n"
                                     "Matrox mode = 1\n"
                                     "Display Caption = 1\n"
                                     "Caption = 100% %s\n\nSETTING VIDEO MODE\n"
                                     "==================\n\n" +
                                     kClosing));
}

TEST_F(DebugReportTest, DetailLevelNames) {
    const std::pair<std::uint32_t, std::string> cases[] = {
        {kPartLow, "LOW\n"}, {kPartMedium, "MED\n"}, {kPartHigh, "HIGH\n"}, {0, "UNKNOWN?!?\n"}};
    for (const auto& [part, name] : cases) {
        settings.part = part;
        ASSERT_TRUE(OpenDebugReport());
        LogSettingsDump();
        ASSERT_TRUE(CloseDebugReport());
        EXPECT_NE(Page().find("Detail Level = " + name), std::string::npos) << part;
    }
}

TEST_F(DebugReportTest, SettingsTextsAreEscapedAndCannotPlantMarkers) {
    std::strcpy(settings.vostrel, "</textarea><!--end--> & <!--begin-->");
    std::strcpy(settings.datapath, "/a&b/<c>.mp3");
    ASSERT_TRUE(OpenDebugReport());
    LogSettingsDump();
    ASSERT_TRUE(CloseDebugReport());
    const std::string page = Page();
    EXPECT_NE(page.find("Caption = &lt;/textarea&gt;&lt;!--end--&gt; &amp; &lt;!--begin--&gt;\n"),
              std::string::npos);
    EXPECT_NE(page.find("MP3 File Path = /a&amp;b/&lt;c&gt;.mp3\n"), std::string::npos);

    ASSERT_TRUE(OpenDebugReport());
    ASSERT_TRUE(CloseDebugReport());
    EXPECT_EQ(Page(), PageWithReport(kBanner + kClosing));
}

// None of these may hang the run, be made or be replaced; each is a page that cannot be used,
// and the run goes on without a report.
TEST_F(DebugReportTest, PageThatCannotBeUsedIsReportedAndLeftAlone) {
    namespace fs = std::filesystem;
    const std::string huge = PageWithReport(std::string(kLargestReportPage, 'x'));
    const std::string installed = Page();
    struct Case {
        std::string what;
        std::function<void()> make;
        std::string box;
        std::function<bool()> leftAlone;
    };
    std::vector<Case> cases = {
        {"missing", [] {}, kCannotOpen, [&] { return !fs::exists(PagePath()); }},
        {"folder", [&] { fs::create_directory(PagePath()); }, kCannotOpen,
         [&] { return fs::is_directory(PagePath()); }},
        {"FIFO", [&] { ASSERT_EQ(mkfifo(PagePath().c_str(), 0644), 0); }, kCannotOpen,
         [&] { return fs::is_fifo(PagePath()); }},
        {"page far larger than a report page", [&] { WriteWholeFile(PagePath(), huge); },
         kCannotOpen, [&] { return Page() == huge; }},
        {"read-only page",
         [&] {
             WriteWholeFile(PagePath(), installed);
             fs::permissions(PagePath(), fs::perms::owner_read | fs::perms::group_read |
                                             fs::perms::others_read);
         },
         "Can't overwrite HTM file for debug report.", [&] { return Page() == installed; }},
    };
    // Pages without both markers in order.
    for (const std::string& bad : {"<html><!--begin--> no end</html>"s, "<html>no begin<!--end-->"s,
                                   "<html><!--end--> reversed <!--begin--></html>"s,
                                   "<!--end--> end first <!--begin--> <!--end-->"s}) {
        cases.push_back({bad, [&, bad] { WriteWholeFile(PagePath(), bad); }, kNoMarkers,
                         [&, bad] { return Page() == bad; }});
    }
    for (const auto& page : cases) {
        SCOPED_TRACE(page.what);
        boxes.clear();
        fs::remove(PagePath());
        page.make();
        EXPECT_FALSE(OpenDebugReport());
        ExpectOneErrorBox(page.box);
        LogLine("WM_CREATE\n");
        EXPECT_TRUE(CloseDebugReport());
        EXPECT_TRUE(page.leftAlone());
    }
}

TEST_F(DebugReportTest, TemporariesOfKilledRunsAreRemovedAtTheNextStart) {
    const std::string folder = std::filesystem::path(PagePath()).parent_path().string();
    pid_t gone = fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string stale[] = {".debug.htm." + std::to_string(gone) + ".Ab12Cd",
                                 ".debug.htm.Zz09yY"};
    const std::string kept[] = {".debug.htm." + std::to_string(getpid()) + ".Ab12Cd",
                                ".other.htm.Ab12Cd", ".debug.htm.notours"};
    for (const auto& name : stale) WriteWholeFile(folder + "/" + name, "stale");
    for (const auto& name : kept) WriteWholeFile(folder + "/" + name, "kept");
    ASSERT_TRUE(OpenDebugReport());
    for (const auto& name : stale) EXPECT_FALSE(std::filesystem::exists(folder + "/" + name));
    for (const auto& name : kept) EXPECT_TRUE(std::filesystem::exists(folder + "/" + name));
}

TEST_F(DebugReportTest, LostFolderFailsTheClose) {
    ASSERT_TRUE(OpenDebugReport());
    std::filesystem::remove_all(install.path());
    EXPECT_FALSE(CloseDebugReport());
    ExpectOneErrorBox("Can't close HTM Debug File");
    EXPECT_TRUE(CloseDebugReport());
    std::filesystem::create_directory(install.path());
}

TEST_F(DebugReportTest, DebugOffTouchesNoFileAndAsksNothing) {
    settings.debug = 0x100;  // only the low byte counts
    std::filesystem::remove(PagePath());
    EXPECT_TRUE(OpenDebugReport());
    LogLine("WM_CREATE\n");
    LogSettingsDump();
    EXPECT_TRUE(CloseDebugReport());
    OfferDebugReport();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(std::filesystem::exists(PagePath()));
}

// What the page opens in on Yes, and nothing on No, is seen by the end-to-end test of the
// debug report, through the desktop's real opener.
TEST_F(DebugReportTest, OfferAsksOverTheDesktop) {
    ASSERT_TRUE(OpenDebugReport());
    ASSERT_TRUE(CloseDebugReport());

    OfferDebugReport();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, DesktopWindow());
    EXPECT_EQ(boxes[0].title, kTitle);
    EXPECT_EQ(boxes[0].icon, BoxIcon::Question);
    EXPECT_EQ(boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(boxes[0].text,
              "DEBUG.HTM has been saved to program folder.\n\nDo you wish to edit debug "
              "information now?\n\nNOTICE: Please close any previous debug\nwindow now or click "
              "on your browser's RELOAD\nbutton later to update the report.\n\n(This annoying "
              "message can be removed\nunchecking the 'Debug Mode' option in the\nConfiguration "
              "Dialog)");
}

// Kills a Saver run that logs without end, `delayMicros` after its report opened (or at once
// when negative), and checks that the page holds the head, the banner, whole lines and the tail.
void KillRunAndCheckPage(const std::string& path, int delayMicros) {
    const std::string line = "WM_MOUSEMOVE\n";
    const std::string before = ReadWholeFile(path);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!OpenDebugReport() || write(ready[1], "+", 1) != 1) _exit(2);
        for (;;) LogLine("%s", line.c_str());
    }
    char signal = 0;
    if (delayMicros >= 0) {
        ASSERT_EQ(read(ready[0], &signal, 1), 1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::max(delayMicros, 0)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    close(ready[1]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the run stopped by itself, status " << status;

    const std::string page = ReadWholeFile(path);
    if (page == before) return;  // killed before the report opened
    const std::string start = kHead + kTextAreaStart + kBanner;
    const std::string end = kTextAreaEnd + kTail;
    ASSERT_GE(page.size(), start.size() + end.size());
    ASSERT_EQ(page.substr(0, start.size()), start) << "after " << delayMicros << " us";
    ASSERT_EQ(page.substr(page.size() - end.size()), end) << "after " << delayMicros << " us";
    std::string lines = page.substr(start.size(), page.size() - start.size() - end.size());
    while (lines.starts_with(line)) lines.erase(0, line.size());
    EXPECT_EQ(lines, "") << "a line was cut or garbled";
}

TEST_F(DebugReportTest, RunKilledAtAnyMomentLeavesAPageTheNextRunOpens) {
    // Each run starts from the page the previous one was killed over.
    for (int delayMicros : {-1, 0, 200, 1000, 5000, 15000}) {
        KillRunAndCheckPage(PagePath(), delayMicros);
        if (HasFatalFailure()) return;
    }
    ASSERT_TRUE(OpenDebugReport());
    ASSERT_TRUE(CloseDebugReport());
    EXPECT_EQ(Page(), PageWithReport(kBanner + kClosing));
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
