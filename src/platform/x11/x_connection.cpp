#include "platform/x11/x_connection.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// An X server that starts over when its last client leaves (Xvfb's default) refuses new
// connections for the moment it takes to do so; a start that meets that moment tries once
// more after it. Without a display named at all there is nothing to wait for.
constexpr auto kServerResetPause = std::chrono::milliseconds(250);

Display* saverDisplay = nullptr;
bool displayTried = false;
int trappedErrors = 0;
XErrorHandler previousHandler = nullptr;

int RecordError(Display* display, XErrorEvent* error) {
    if (display == saverDisplay) {
        ++trappedErrors;
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

// A lost connection means the server has gone (died, or reset): the session's end. Whichever
// connection of the process meets it ends the process on the spot with the saver's usual
// status, where Xlib's and GTK's own handlers end it with 1. Returning into the caller is no
// option: GLX, met in the middle of the set-up, reads the dead connection's missing replies
// and crashes. Nor is running the exit-time destructors under the sound's running threads.
int EndWithTheSession(Display*) {
    std::_Exit(0);
}

// GTK installs its own handlers when it opens its display, possibly after us; ours go back
// on top whenever our connection is used, chaining to whichever came before.
void InstallErrorHandler() {
    XErrorHandler current = XSetErrorHandler(RecordError);
    if (current != RecordError) previousHandler = current;
    XSetIOErrorHandler(EndWithTheSession);
}

Display* OpenDisplayOnceMore() {
    Display* display = XOpenDisplay(nullptr);
    const char* named = std::getenv("DISPLAY");
    if (display != nullptr || named == nullptr || *named == '\0') return display;
    std::this_thread::sleep_for(kServerResetPause);
    return XOpenDisplay(nullptr);
}

}  // namespace

Display* SaverDisplay() {
    if (!displayTried) {
        displayTried = true;
        saverDisplay = OpenDisplayOnceMore();
    }
    if (saverDisplay != nullptr) InstallErrorHandler();
    return saverDisplay;
}

Display* OpenedSaverDisplay() {
    return saverDisplay != nullptr ? SaverDisplay() : nullptr;
}

XErrorTrap::XErrorTrap(Display* display) : display_(display) {
    XSync(display_, False);
    trappedErrors = 0;
}

bool XErrorTrap::Passed() {
    XSync(display_, False);
    return trappedErrors == 0;
}
