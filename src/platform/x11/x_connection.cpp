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

// A lost connection (the server died or reset) is the session's end. Xlib's own handlers end
// the process on the spot; for our connection ours only note it and return, Xlib then leaves
// the dead display alone, and the message pump turns the loss into closing the windows.
bool connectionLost = false;
XIOErrorHandler previousIoHandler = nullptr;

int OnIoError(Display* display) {
    if (display != saverDisplay && previousIoHandler != nullptr) return previousIoHandler(display);
    return 0;
}

void NoteConnectionLost(Display*, void*) {
    connectionLost = true;
}

// GTK installs its own handlers when it opens its display, possibly after us; ours go back
// on top whenever our connection is used, chaining to whichever came before.
void InstallErrorHandler() {
    XErrorHandler current = XSetErrorHandler(RecordError);
    if (current != RecordError) previousHandler = current;
    XIOErrorHandler currentIo = XSetIOErrorHandler(OnIoError);
    if (currentIo != OnIoError) previousIoHandler = currentIo;
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
        if (saverDisplay != nullptr)
            XSetIOErrorExitHandler(saverDisplay, NoteConnectionLost, nullptr);
    }
    if (saverDisplay != nullptr) InstallErrorHandler();
    return saverDisplay;
}

Display* OpenedSaverDisplay() {
    return saverDisplay != nullptr ? SaverDisplay() : nullptr;
}

bool SaverDisplayLost() {
    return connectionLost;
}

XErrorTrap::XErrorTrap(Display* display) : display_(display) {
    XSync(display_, False);
    trappedErrors = 0;
}

bool XErrorTrap::Passed() {
    XSync(display_, False);
    return trappedErrors == 0;
}
