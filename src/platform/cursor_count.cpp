// The process-wide cursor display counter, the same on every system. On X there is no
// process-wide cursor switch: the saver window reads CursorHidden() when it picks its cursor,
// which is where Windows applies the count itself.
#include "platform/cursor.h"

namespace {
int cursorCount = 0;
}

int ChangeCursorCount(bool show) {
    return show ? ++cursorCount : --cursorCount;
}

bool CursorHidden() {
    return cursorCount < 0;
}
