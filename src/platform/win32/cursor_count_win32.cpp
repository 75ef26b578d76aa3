// The cursor display counter on Windows is the system's own: ShowCursor keeps it for the
// thread and applies it wherever the pointer is over this thread's windows.
#include <windows.h>

#include "platform/cursor.h"
#include "platform/win32/win32_window_system.h"

namespace win32 {

int ChangeCursorCount(bool show) {
    return ShowCursor(show ? TRUE : FALSE);
}

}  // namespace win32
