// Win32's message machinery for a window system that has none of its own: window classes, the
// windows made of them, the thread's message queue with its merging of mouse moves, dispatch,
// the default procedure, and the key messages in Windows' virtual-key codes (saver_window.h
// gives the contract). It realises the message calls of a window-system driver
// (window_system_driver.h); the driver adds each window it makes, says when one is destroyed,
// turns its events into the messages posted here, and pumps its events when the queue asks.
#pragma once
#include "platform/saver_window.h"
#include "platform/windowing/window_system_driver.h"

namespace window_messages {
VOSTREL_WINDOW_MESSAGE_CALLS(VOSTREL_DECLARE_WINDOW_CALL)
}  // namespace window_messages

// Windows' virtual-key codes: letters and digits are their capitals' and digits' ASCII codes.
namespace virtual_key {
inline constexpr MessageParam kBack = 0x08;  // Tab follows
inline constexpr MessageParam kReturn = 0x0D;
inline constexpr MessageParam kShift = 0x10;
inline constexpr MessageParam kControl = 0x11;
inline constexpr MessageParam kMenu = 0x12;  // Alt
inline constexpr MessageParam kPause = 0x13;
inline constexpr MessageParam kEscape = 0x1B;
inline constexpr MessageParam kSpace = 0x20;
inline constexpr MessageParam kPrior = 0x21;  // Next, End, Home, the arrows and Select follow
inline constexpr MessageParam kInsert = 0x2D;
inline constexpr MessageParam kDelete = 0x2E;
inline constexpr MessageParam kDigit0 = 0x30;
inline constexpr MessageParam kLetterA = 0x41;
inline constexpr MessageParam kNumpad0 = 0x60;
inline constexpr MessageParam kF1 = 0x70;
inline constexpr MessageParam kF4 = kF1 + 3;
inline constexpr MessageParam kF10 = kF1 + 9;
}  // namespace virtual_key

// The procedure that className was registered with; null when none.
WindowProcedure ClassProcedure(const char* className);
// A window just made of a registered class, before it hears WM_CREATE.
void AddWindow(WindowId window, const char* className);
// Whether the window is one of ours that has not been destroyed.
bool WindowLive(WindowId window);
// From now on the window hears only of its destruction.
void MarkWindowDestroyed(WindowId window);

// SendMessage's contract: the window's procedure, called at once.
MessageResult SendWindowMessage(WindowId window, std::uint32_t message, MessageParam wParam,
                                MessageData lParam);
// PostMessage's contract: queued for the message loop.
void PostWindowMessage(WindowId window, std::uint32_t message, MessageParam wParam,
                       MessageData lParam);
// A pointer move, merged into a move of the window's that is still queued, as on Windows.
void PostMouseMove(WindowId window, MessageData point);
// A key pressed: WM_SYSKEYDOWN with Alt held, and for F10 alone, as Windows sends them;
// WM_KEYDOWN otherwise.
void PostKeyDown(WindowId window, MessageParam virtualKey, bool altHeld);
// A point in a mouse message's lParam: x in the low word, y in the high one.
MessageData PointParam(int x, int y);
