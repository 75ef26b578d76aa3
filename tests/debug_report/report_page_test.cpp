#include "app/report_page.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/file_replace.h"
#include "temp_folder.h"

namespace {

using namespace std::string_literals;

// Format fields, line ends, a NUL and a second begin marker must all come through untouched.
const std::string kHead = "<html><body>100% width, %s %d %n\r\n<p>before</p>"s;
const std::string kTail = "<!--end--> <p>50% after</p>\0 <!--begin--></body></html>\r\n"s;
const std::string kTextAreaStart = "<!--begin--><textarea name=\"DEBUG\" cols=\"30\">";

std::string InstalledPage() {
    return kHead + "<!--begin-->old report" + kTail;
}

TEST(SplitPage, KeepsTextBeforeFirstBeginAndFromFirstEnd) {
    const auto frame = SplitPage(InstalledPage());
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->head, kHead);
    EXPECT_EQ(frame->reportTail, kTail);
}

TEST(SplitPage, RefusesMissingOrReversedMarkers) {
    EXPECT_FALSE(SplitPage("<html><!--begin--> no end </html>"));
    EXPECT_FALSE(SplitPage("<html> no begin <!--end--></html>"));
    EXPECT_FALSE(SplitPage("<html><!--end--> reversed <!--begin--></html>"));
    EXPECT_FALSE(SplitPage("<html><!--end--><!--begin--> later end <!--end--></html>"));
    EXPECT_FALSE(SplitPage(""));
}

TEST(ComposePage, PutsTheReportInsideTheTextAreaBetweenHeadAndTail) {
    const PageFrame frame{kHead, kTail};
    EXPECT_EQ(ComposePage(frame, "line\n"), kHead + kTextAreaStart + "line\n</textarea>" + kTail);
}

TEST(ComposePage, SecondRunKeepsHeadAndTailAndOnlyTheSecondReport) {
    const auto first = SplitPage(InstalledPage());
    ASSERT_TRUE(first);
    const auto second = SplitPage(ComposePage(*first, "first report\n"));
    ASSERT_TRUE(second);
    EXPECT_EQ(ComposePage(*second, "second report\n"),
              kHead + kTextAreaStart + "second report\n</textarea>" + kTail);
}

TEST(EscapeForTextArea, ReplacesMarkupCharactersOnly) {
    EXPECT_EQ(EscapeForTextArea("a&b <!--end--></textarea> 100% \"q\"\n"),
              "a&amp;b &lt;!--end--&gt;&lt;/textarea&gt; 100% \"q\"\n");
}

TEST(ReadPage, KeepsEveryByteAndTellsAMissingPage) {
    TempFolder folder;
    const std::string bytes = InstalledPage() + std::string("\r\n\0\x1a tail", 9);
    WriteBytes(folder.File("debug.htm"), bytes);
    std::string text;
    EXPECT_EQ(ReadPage(folder.File("debug.htm"), text), PageRead::Read);
    EXPECT_EQ(text, bytes);
    EXPECT_EQ(ReadPage(folder.File("absent.htm"), text), PageRead::NotOpened);
}

TEST(WriteFileAtomically, KeepsPermissionsFollowsLinksAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::string page = folder.File("page.htm");
    WriteBytes(page, "old");
    chmod(page.c_str(), 0640);
    std::filesystem::create_symlink(page, folder.File("link.htm"));

    ASSERT_TRUE(WriteFileAtomically(folder.File("link.htm"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.htm")));
    EXPECT_EQ(ReadBytes(page), "new");
    struct stat info {};
    ASSERT_EQ(stat(page.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(WriteFileAtomically, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
    TempFolder folder;
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/page.htm"), "text"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

std::string NumberedLine(int i) {
    return "Step " + std::to_string(i) + " SUCCESSFUL.\n";
}

// Logs lines forever; only a kill ends it. Says on `ready` when its first line is saved.
[[noreturn]] void LogUntilKilled(const std::string& path, int ready) {
    std::string text;
    if (ReadPage(path, text) != PageRead::Read) _exit(2);
    auto frame = SplitPage(text);
    if (!frame) _exit(3);
    ReportPage page{path, std::move(*frame), ""};
    for (int i = 0;; ++i) {
        page.report += NumberedLine(i);
        SaveReportPage(page);
        if (i == 0 && write(ready, "+", 1) != 1) _exit(4);
    }
}

// The report must be whole lines 0, 1, 2, ... in order, up to some line.
void ExpectWholeLinesInOrder(const std::string& report) {
    std::string expected;
    for (int i = 0; expected.size() < report.size(); ++i) expected += NumberedLine(i);
    EXPECT_EQ(report, expected.substr(0, report.size()));
    EXPECT_EQ(report.size(), expected.size()) << "the report ends inside a line";
}

// Kills a writer while it logs, after `delayMicros` counted from its first line (or at once
// when negative), and checks the page it leaves.
void KillWriterAndCheckPage(const std::string& path, int delayMicros) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) LogUntilKilled(path, ready[1]);
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
    ASSERT_TRUE(WIFSIGNALED(status)) << "writer stopped by itself, status " << status;

    std::string text;
    ASSERT_EQ(ReadPage(path, text), PageRead::Read);
    const auto frame = SplitPage(text);
    ASSERT_TRUE(frame) << "markers lost after " << delayMicros << " us";
    EXPECT_EQ(frame->head, kHead);
    EXPECT_EQ(frame->reportTail, kTail);
    if (text == InstalledPage()) return;  // killed before its first line
    const std::string textAreaEnd = "</textarea>";
    const std::size_t reportStart = kHead.size() + kTextAreaStart.size();
    const std::size_t reportEnd = text.size() - kTail.size() - textAreaEnd.size();
    ASSERT_EQ(text.substr(0, reportStart), kHead + kTextAreaStart);
    ASSERT_EQ(text.substr(reportEnd), textAreaEnd + kTail);
    ExpectWholeLinesInOrder(text.substr(reportStart, reportEnd - reportStart));
}

TEST(SaveReportPage, AKilledWriterLeavesAWholePageAtEveryMoment) {
    TempFolder folder;
    const std::string path = folder.File("debug.htm");
    WriteBytes(path, InstalledPage());
    // Each writer starts from the page the previous one was killed over, as the next run would;
    // the kills spread from before the first line to well into a long report.
    for (int delayMicros : {-1, 0, 50, 300, 1000, 2500, 7000, 20000}) {
        KillWriterAndCheckPage(path, delayMicros);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
