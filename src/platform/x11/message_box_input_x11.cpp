// What a message box does to the saver's X11 windows: PrepareForMessageBox and
// FinishMessageBox, for real, recorded and spied boxes alike (saver_window_records.h says why
// a box must take activation and input from them).
#include "platform/message_box.h"
#include "platform/x11/saver_window_records.h"

namespace x11 {

BoxPlacement PrepareForMessageBox(const MessageBoxRequest& request) {
    if (request.runGoesOn) {
        LendInputToMessageBox();
    } else {
        DeactivateTopLevelWindows();
    }
    return {};
}

void FinishMessageBox(const MessageBoxRequest& request) {
    if (request.runGoesOn) TakeInputBackFromMessageBox();
}

}  // namespace x11
