#include "app/debug_report.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "app/report_location.h"
#include "base/data_manifest.h"
#include "base/product.h"
#include "base/report_log.h"
#include "platform/desktop.h"
#include "platform/file_replace.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "settings/install_folder.h"
#include "settings/settings.h"

namespace {

constexpr const char* kReportPagePath = DataName(DataRole::ReportPage);

constexpr const char* kCannotOpenPage =
    "Can't open HTM file for debug report.\nPlease disable \"Debug Mode\"\n"
    "option in the configuration dialog.";
constexpr const char* kMarkersMissing = "Can't find special identifiers in HTM file.";
constexpr const char* kCannotClosePage = "Can't close HTM common structure.";
constexpr const char* kCannotOverwritePage = "Can't overwrite HTM file for debug report.";
constexpr const char* kCannotCloseReport = "Can't close HTM Debug File";
constexpr const char* kSavedToProgramFolder = "DEBUG.HTM has been saved to program folder.";
constexpr const char* kSavedToOwnCopy = "DEBUG.HTM has been saved to your own copy in\n";
constexpr const char* kOfferQuestion =
    "\n\nDo you wish to edit debug information now?\n\n"
    "NOTICE: Please close any previous debug\n"
    "window now or click on your browser's RELOAD\n"
    "button later to update the report.\n\n"
    "(This annoying message can be removed\n"
    "unchecking the 'Debug Mode' option in the\n"
    "Configuration Dialog)";

// The word REPORTED is broken across two lines on purpose: the banner is 29 columns wide.
constexpr const char* kBanner =
    "****************************\nDEBUG FILE FOR VOSTREL SAVER\n****************************\n\n"
    "-----------------------------\n"
    "VOSTREL SCREENSAVER HAS REPOR\n"
    "TED THE FOLLOWING DEBUG INFO:\n"
    "-----------------------------\n\n===========\nStarting...\n===========\n\n"
    "Saver Mode, starting report.\n============================\n\n";
constexpr const char* kClosingLines = "==========\nClosing...\n==========";

bool DebugModeOn() {
    return LowByte(settings.debug) != 0;
}

void ShowReportError(const char* text) {
    ShowMessageBox({0, kBoxTitle, text, BoxIcon::Error, BoxButtons::Ok});
}

std::string ReportPagePath() {
    LookUpDataFolder();
    return ReportPageLocation(DataPath(kReportPagePath));
}

}  // namespace

bool OpenDebugReport() {
    if (!DebugModeOn()) return true;

    // A run killed while it saved the page left its temporary copy behind.
    RemoveStaleReplacements(ReportPagePath());
    std::string page;
    switch (ReadPage(ReportPagePath(), page)) {
        case PageRead::NotOpened:
        case PageRead::TooLarge:
            ShowReportError(kCannotOpenPage);
            return false;
        case PageRead::NotClosed:
            ShowReportError(kCannotClosePage);
            return false;
        case PageRead::Read:
            break;
    }
    std::optional<PageFrame> frame = SplitPage(page);
    if (!frame) {
        ShowReportError(kMarkersMissing);
        return false;
    }

    if (!StartReportLog({ReportPagePath(), std::move(*frame), kBanner})) {
        ShowReportError(kCannotOverwritePage);
        return false;
    }
    return true;
}

bool CloseDebugReport() {
    if (!FinishReportLog(kClosingLines)) {
        ShowReportError(kCannotCloseReport);
        return false;
    }
    return true;
}

namespace {

// The page is where the box says it is: the program folder, or the folder of the user's own
// copy when the program folder could not be written.
std::string OfferText(const std::string& installedPage, const std::string& page) {
    if (page == installedPage) return std::string(kSavedToProgramFolder) + kOfferQuestion;
    const std::size_t nameStart = page.find_last_of("/\\");
    const std::string folder = nameStart == std::string::npos ? page : page.substr(0, nameStart);
    return kSavedToOwnCopy + folder + "." + kOfferQuestion;
}

}  // namespace

void OfferDebugReport() {
    if (!DebugModeOn()) return;
    const std::string installedPage = DataPath(kReportPagePath);
    const std::string page = ReportPageLocation(installedPage);
    const std::string text = OfferText(installedPage, page);
    const BoxAnswer answer = ShowMessageBox(
        {DesktopWindow(), kBoxTitle, text.c_str(), BoxIcon::Question, BoxButtons::YesNo});
    if (answer == BoxAnswer::Yes) ShellOpen(page);
}
