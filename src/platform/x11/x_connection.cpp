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

// GTK installs its own handler when it opens its display, possibly after us; ours goes back
// on top whenever our connection is used, chaining to whichever came before.
void InstallErrorHandler() {
    XErrorHandler current = XSetErrorHandler(RecordError);
    if (current != RecordError) previousHandler = current;
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
