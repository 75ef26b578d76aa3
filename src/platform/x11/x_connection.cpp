#include "platform/x11/x_connection.h"

namespace {

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

}  // namespace

Display* SaverDisplay() {
    if (!displayTried) {
        displayTried = true;
        saverDisplay = XOpenDisplay(nullptr);
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
