#include "app/debug_report.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "app/product.h"
#include "app/report_page.h"
#include "platform/desktop.h"
#include "platform/file_replace.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "settings/install_folder.h"
#include "settings/settings.h"

namespace {

constexpr const char* kBoxTitle = kProductName;
constexpr const char* kReportPagePath = "\\debug.htm";

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

std::optional<ReportPage> debugReport;

unsigned LowByte(std::uint32_t value) {
    return value & 0xFFu;
}

bool DebugModeOn() {
    return LowByte(settings.debug) != 0;
}

void ShowReportError(const char* text) {
    ShowMessageBox({0, kBoxTitle, text, BoxIcon::Error, BoxButtons::Ok});
}

std::string ReportPagePath() {
    LookUpDataFolder();
    return DataPath(kReportPagePath);
}

std::string Formatted(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// A settings text as stored, even if its terminator went missing.
std::string SettingText(const char (&text)[kSettingTextSize]) {
    return std::string(text, strnlen(text, kSettingTextSize));
}

const char* DetailLevelName(std::uint32_t part) {
    switch (part) {
        case kPartLow:
            return "LOW\n";
        case kPartMedium:
            return "MED\n";
        case kPartHigh:
            return "HIGH\n";
        default:
            return "UNKNOWN?!?\n";
    }
}

void LogSwitch(const char* format, std::uint32_t value) {
    LogLine(format, static_cast<int>(LowByte(value)));
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

    ReportPage report{ReportPagePath(), std::move(*frame), kBanner};
    if (!SaveReportPage(report)) {
        ShowReportError(kCannotOverwritePage);
        return false;
    }
    debugReport = std::move(report);
    return true;
}

void LogLine(const char* format, ...) {
    if (!debugReport) return;
    va_list args;
    va_start(args, format);
    const std::string line = Formatted(format, args);
    va_end(args);
    debugReport->report += EscapeForTextArea(line);
    // A line that cannot be saved stays in the report and reaches the page with the next one.
    SaveReportPage(*debugReport);
}

bool CloseDebugReport() {
    if (!debugReport) return true;
    debugReport->report += kClosingLines;
    const bool saved = SaveReportPage(*debugReport);
    debugReport.reset();
    if (!saved) {
        ShowReportError(kCannotCloseReport);
        return false;
    }
    return true;
}

void OfferDebugReport() {
    if (!DebugModeOn()) return;
    const BoxAnswer answer = ShowMessageBox(
        {DesktopWindow(), kBoxTitle, kOfferQuestion, BoxIcon::Question, BoxButtons::YesNo});
    if (answer == BoxAnswer::Yes) ShellOpen(DataPath(kReportPagePath));
}

void LogSettingsDump() {
    LogLine("Settings\n========\n");
    LogLine("Detail Level = %s", DetailLevelName(settings.part));
    LogSwitch("Play Sounds = %d\n", settings.psound);
    LogSwitch("Play Music = %d\n", settings.pmusic);
    LogSwitch("Play Audio CD = %d\n", settings.pcd);
    LogSwitch("Play MP3 = %d\n", settings.pmp3);
    LogLine("MP3 File Path = %s\n", SettingText(settings.datapath).c_str());
    LogSwitch("Motion Blur = %d\n", settings.useblur);
    LogSwitch("Show Credits = %d\n", settings.showcred);
    LogSwitch("Restart = %d\n", settings.restart);
    LogSwitch("Starfield = %d\n", settings.starfield);
    LogSwitch("Matrox mode = %d\n", settings.matrox);
    LogSwitch("Display Caption = %d\n", settings.text);
    LogLine("Caption = %s\n\nSETTING VIDEO MODE\n==================\n\n",
            SettingText(settings.vostrel).c_str());
}
