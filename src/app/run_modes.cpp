#include "app/run_modes.h"

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/debug_report.h"
#include "base/product.h"
#include "base/run_flags.h"
#include "display/hardware_test.h"
#include "display/saver_run.h"
#include "platform/cursor.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/named_mutex.h"
#include "platform/program_folder.h"
#include "platform/shell.h"
#include "settings/config_dialog.h"
#include "settings/settings.h"

namespace {

constexpr const char* kMutexName = "VostrelMutex";
constexpr const char* kPasswordQuestion =
    "Password Check not yet implemented.\nDo you wish to e-mail the author asking\n"
    "to include such feature?";
constexpr const char* kPasswordSecondQuestion = "Mail me anyway?\neheh :-)";
constexpr const char* kPasswordSubject = "Hey man! Your screensaver's got no password check!";
constexpr const char* kPasswordSecondSubject = "Hey man, I can't help it! I've got to write to ya!";
constexpr const char* kDialogMailSubject = "Vostrel v" VOSTREL_VERSION;

WindowId ResolveParent(const CommandLine& line) {
    switch (line.parentSource) {
        case ParentSource::None:
            return 0;
        case ParentSource::Number:
            return static_cast<WindowId>(static_cast<std::uint32_t>(line.parentNumber));
        case ParentSource::Desktop:
            return DesktopWindow();
        case ParentSource::Foreground:
            return ForegroundWindow();
    }
    return 0;
}

bool AskYesNo(WindowId owner, const char* text) {
    return ShowMessageBox({owner, kBoxTitle, text, BoxIcon::Question, BoxButtons::YesNo}) ==
           BoxAnswer::Yes;
}

// Every switch the scan does not know (--help among them) asks for the dialog, so without a
// display this is what someone trying the program from a terminal reads: it says what the
// switches are and where the programs are that run without one or under a host.
constexpr const char* kNoDisplayHelp =
    "%s: the configuration dialog needs a display.\n"
    "The modes (a switch may start with / or -):\n"
    "  /c        the configuration dialog (also with no switch, or one it does not know)\n"
    "  /s        the saver, full screen\n"
    "  /p <id>   the preview, drawn in the X window <id>\n"
    "  /a        the password change\n"
    "Without a display, the show's frames render to PNG files with\n"
    "  %s   (see its --help)\n"
    "Screen-saver hosts (XScreenSaver and the like) run the saver as\n"
    "  %s\n";

std::string CompanionPath(const char* program) {
    const std::string folder = ProgramFolder();
    return folder.empty() ? program : folder + "/" + program;
}

void RunConfigMode(WindowId owner) {
    if (!RunConfigDialog(owner, {kHomePage, MailLink(kDialogMailSubject), RunDialogHardwareTest})) {
        std::fprintf(stderr, kNoDisplayHelp, kBoxTitle, CompanionPath(kRendererProgram).c_str(),
                     CompanionPath(kHostProgram).c_str());
    }
}

void RunSaverMode(WindowId desktop) {
    ReadDebugSetting();
    if (!OpenDebugReport()) return;
    RunSaver(desktop);
    if (!CloseDebugReport()) return;
    ChangeCursorCount(true);  // balances the hiding done by the full-screen run
    OfferDebugReport();
}

bool IsUnreservedUriChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string MailLink(std::string_view subject) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string link = std::string("mailto:") + kContactAddress + "?subject=";
    for (unsigned char c : subject) {
        if (IsUnreservedUriChar(c)) {
            link += static_cast<char>(c);
        } else {
            link += '%';
            link += kHex[c >> 4];
            link += kHex[c & 0xF];
        }
    }
    return link;
}

void RunPasswordMode(WindowId owner) {
    if (AskYesNo(owner, kPasswordQuestion)) {
        ShellOpen(MailLink(kPasswordSubject));
    } else if (AskYesNo(owner, kPasswordSecondQuestion)) {
        ShellOpen(MailLink(kPasswordSecondSubject));
    }
}

int RunProgram(std::string_view commandLineText) {
    CreateNamedMutex(kMutexName);
    const CommandLine line = ScanCommandLine(commandLineText);
    runMode = line.mode;
    previewFlag = line.previewFlag;
    if (runMode == RunMode::Preview) ChooseWindowSystemForForeignWindows();
    const WindowId parent = ResolveParent(line);

    switch (runMode) {
        case RunMode::Config:
            RunConfigMode(parent);
            break;
        case RunMode::Preview:
            RunSaver(parent);
            break;
        case RunMode::Saver:
            RunSaverMode(parent);
            break;
        case RunMode::Password:
            RunPasswordMode(parent);
            break;
        case RunMode::Host:  // the hack program's mode; no switch of this program gives it
            break;
    }
    return 0;
}
