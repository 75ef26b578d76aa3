// The Win32 window system's driver: always there, with its own message machinery.
#include "platform/win32/win32_window_system.h"

namespace {

bool Available() {
    return true;
}

}  // namespace

#define VOSTREL_WIN32_CALL(result, name, parameters, arguments) win32::name,

extern const WindowSystemDriver kWin32WindowSystem = {
    "win32", true, Available, nullptr,
    VOSTREL_WINDOW_CALLS(VOSTREL_WIN32_CALL) VOSTREL_WINDOW_MESSAGE_CALLS(VOSTREL_WIN32_CALL)};
