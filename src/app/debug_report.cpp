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
constexpr const char* kOfferQuestion =
    "DEBUG.HTM has been saved to program folder.\n\n"
    "Do you wish to edit debug information now?\n\n"
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

void OfferDebugReport() {
    if (!DebugModeOn()) return;
    const BoxAnswer answer = ShowMessageBox(
        {DesktopWindow(), kBoxTitle, kOfferQuestion, BoxIcon::Question, BoxButtons::YesNo});
    if (answer == BoxAnswer::Yes) ShellOpen(ReportPageLocation(DataPath(kReportPagePath)));
}
