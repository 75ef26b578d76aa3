// ShowCursor's counter. X has no process-wide cursor switch: the saver window reads
// CursorHidden() when it picks its cursor, which is where Windows would apply the count.
#include "platform/cursor.h"

namespace {
int cursorCount = 0;
}

int ShowCursor(bool show) {
    return show ? ++cursorCount : --cursorCount;
}

bool CursorHidden() {
    return cursorCount < 0;
}
