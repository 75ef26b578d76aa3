// The cursor display counter on X, which has no process-wide cursor switch: the count is kept
// here, and the saver windows read CursorHidden() when they pick their cursor, which is where
// Windows applies the count itself.
#include "platform/cursor.h"
#include "platform/x11/saver_window_records.h"

namespace x11 {

namespace {
int cursorCount = 0;
}

int ChangeCursorCount(bool show) {
    return show ? ++cursorCount : --cursorCount;
}

bool CursorHidden() {
    return cursorCount < 0;
}

}  // namespace x11
