// Message boxes, the part every system shares: the hook point, standard error or the system's
// own box, and the state of a box the run survives; the box itself is the system's.
#include "platform/message_box.h"

#include <cstdio>
#include <optional>

#include "platform/hook_points.h"

namespace {

bool boxesOnStandardError = false;
bool runGoesOnBoxOpen = false;

// The hook point, standard error or the system's own box, in that order.
BoxAnswer AnswerMessageBox(const MessageBoxRequest& request, const BoxPlacement& placement) {
    if (const std::optional<BoxAnswer> answer = StandInBoxAnswer(request)) return *answer;
    if (boxesOnStandardError) {
        std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
        return AnswerWithoutPerson(request.buttons);
    }
    return ShowSystemMessageBox(request, placement);
}

}  // namespace

BoxAnswer AnswerWithoutPerson(BoxButtons buttons) {
    return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

void ShowMessageBoxesOnStandardError() {
    boxesOnStandardError = true;
}

bool RunGoesOnBoxOpen() {
    return runGoesOnBoxOpen;
}

BoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
    const BoxPlacement placement = PrepareForMessageBox(request);
    runGoesOnBoxOpen = request.runGoesOn;
    const BoxAnswer answer = AnswerMessageBox(request, placement);
    runGoesOnBoxOpen = false;
    FinishMessageBox(request);
    return answer;
}
