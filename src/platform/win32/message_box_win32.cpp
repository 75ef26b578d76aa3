// Message boxes on Windows: ShowSystemMessageBox is MessageBoxW, owned by the request's window,
// so that the box stays above a topmost saver and keeps the owner disabled while it is up.
// The hook point is shared by every system.
//
// PrepareForMessageBox and FinishMessageBox give the saver's windows what a real box gives
// them, for boxes a hook point answers as well: WM_ACTIVATE with WA_INACTIVE before a box that
// ends the run (a real box then deactivates them once more, which changes nothing), and around
// a box the run survives, the pointer shown over the black screen so that the user can reach
// the box, then hidden again, the keyboard back and WM_ACTIVATE with WA_ACTIVE.
// The saver's windows are this thread's visible top-level ones; the dialog's too, which
// ignores activation.
// Left out: MessageBoxA, since the texts are UTF-8 (MessageBoxW takes them converted); help
// buttons and the styles the program never asks for.
#include <windows.h>

#include <vector>

#include "platform/cursor.h"
#include "platform/message_box.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_window_system.h"

namespace {

// How far the pointer's display count was raised for the box the run survives.
int cursorShowsLent = 0;

UINT IconStyle(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error:
            return MB_ICONERROR;
        case BoxIcon::Warning:
            return MB_ICONWARNING;
        case BoxIcon::Question:
            return MB_ICONQUESTION;
        case BoxIcon::Information:
            return MB_ICONINFORMATION;
    }
    return MB_ICONINFORMATION;
}

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM windows) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadTopLevelWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectVisibleWindow,
                      reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void SendActivation(WORD state) {
    for (HWND window : ThreadTopLevelWindows()) {
        if (IsWindow(window)) SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(state, 0), 0);
    }
}

// Raised until the pointer shows; each raise is given back when the box is answered.
void LendPointer() {
    cursorShowsLent = 0;
    int count = 0;
    do {
        count = ChangeCursorCount(true);
        ++cursorShowsLent;
    } while (count < 0);
}

void TakeInputBack() {
    for (; cursorShowsLent > 0; --cursorShowsLent) ChangeCursorCount(false);
    for (HWND window : ThreadTopLevelWindows()) {
        SetForegroundWindow(window);
        SetFocus(window);
    }
    SendActivation(WA_ACTIVE);
}

}  // namespace

namespace win32 {

BoxPlacement PrepareForMessageBox(const MessageBoxRequest& request) {
    if (request.runGoesOn) {
        LendPointer();
    } else {
        SendActivation(WA_INACTIVE);
    }
    return {};
}

void FinishMessageBox(const MessageBoxRequest& request) {
    if (request.runGoesOn) TakeInputBack();
}

}  // namespace win32

BoxAnswer ShowSystemMessageBox(const MessageBoxRequest& request, const BoxPlacement&) {
    // The owner may have gone with the deactivation that PrepareForMessageBox sent: a saver
    // closes on it. MessageBoxW refuses a destroyed owner, so the box then stands alone. A box
    // that stands alone goes on top: a set-up's notice comes while the topmost saver covers
    // the screen, and no window that is not topmost can rise above it.
    HWND owner = reinterpret_cast<HWND>(request.owner);
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    UINT style = (request.buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK) |
                 IconStyle(request.icon) | MB_SETFOREGROUND;
    if (owner == nullptr) style |= MB_TOPMOST;
    const int answer = MessageBoxW(owner, WideFromUtf8(request.text).c_str(),
                                   WideFromUtf8(request.title).c_str(), style);
    if (request.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return answer == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
}
