// Message boxes: owner, title, text, icon and buttons, answered modally.
//
// Before any box, one a test program's hook point answers included, the saver's top-level windows
// lose activation, as they do to a box on Windows: a full-screen saver ends instead of hiding the
// box under it. A box the run survives (`runGoesOn`, the set-up's notices that the show goes on
// without sound) is the exception: while it is up the saver's windows lend it the keyboard and the
// pointer and receive no deactivation; when it is answered they take both back, hide the
// pointer again, and receive WM_ACTIVATE with WA_ACTIVE. Meanwhile the screen stays covered, the
// box above it.
#pragma once
#include <functional>
#include <string>

#include "platform/window_id.h"

enum class BoxIcon { Error, Warning, Question, Information };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

struct MessageBoxRequest {
    WindowId owner = 0;
    std::string title;
    std::string text;
    BoxIcon icon = BoxIcon::Information;
    BoxButtons buttons = BoxButtons::Ok;
    bool runGoesOn = false;
};

BoxAnswer ShowMessageBox(const MessageBoxRequest& request);
// From here on every box goes to standard error and answers as without a display: a process
// drawing inside a screen-saver host's window has no one to answer a dialog, which would only
// wait hidden under the host's window.
void ShowMessageBoxesOnStandardError();

// The answer when no person can answer: No to a question, OK to a notice.
BoxAnswer AnswerWithoutPerson(BoxButtons buttons);

// True while a box the run survives is up: a deactivation then is the box's, not the user's.
bool RunGoesOnBoxOpen();

// Where the system's box goes, as the window system says before it. Among the desktop's windows,
// wherever a window system stacks a box above the saver's windows by itself or no saver window
// is up. On Wayland, where no client may stack its windows, over the full-screen saver: on the
// overlay layer, covering its output in black in place of the saver's surfaces, or as the child
// of their toplevel, which the compositor exported (xdg-foreign) under `exportedParent`.
enum class BoxStand { AmongWindows, CoverOnOverlay, ChildOfExported };

// `shown` is called once the box is drawn and `answered` once it is answered, before it goes,
// where set: a box that covers the output in place of the saver's windows takes their place
// only while it is up, so that nothing between shows the desktop.
struct BoxPlacement {
    BoxStand stand = BoxStand::AmongWindows;
    std::string exportedParent;
    std::function<void()> shown;
    std::function<void()> answered;
};

// Each system's backend; called by ShowMessageBox only. PrepareForMessageBox runs before every
// box and FinishMessageBox after it, hooked ones included; ShowSystemMessageBox
// shows the box where PrepareForMessageBox placed it and waits.
BoxPlacement PrepareForMessageBox(const MessageBoxRequest& request);
void FinishMessageBox(const MessageBoxRequest& request);
BoxAnswer ShowSystemMessageBox(const MessageBoxRequest& request, const BoxPlacement& placement);
