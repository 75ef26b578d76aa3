// The window systems a program carries, each a driver in one table, as a system lists its own
// display drivers: the first that is available here is chosen at start, and every window
// call of the seam goes to it. A driver is its name, its probe, and its realisation of the
// window calls (saver_window.h, cursor.h, desktop.h, screensaver_notice.h, the refresh rate,
// what a message box does to the windows, its GL's lookup). A window system without a message
// machinery of its own takes the shared one (window_messages.h) for the message calls and
// pumps its events into it.
#pragma once
#include "platform/message_box.h"
#include "platform/saver_window.h"

// CALL(result, name, parameters, arguments) for each call a window system realises itself.
#define VOSTREL_WINDOW_CALLS(CALL)                                                                 \
    CALL(WindowId, CreateFullScreenWindow, (const char* className, const char* title),             \
         (className, title))                                                                       \
    CALL(WindowId, CreateChildWindow,                                                              \
         (const char* className, const char* title, WindowId parent, int width, int height),       \
         (className, title, parent, width, height))                                                \
    CALL(bool, DestroySaverWindow, (WindowId window), (window))                                    \
    CALL(bool, GetWindowClientSize, (WindowId window, int* width, int* height),                    \
         (window, width, height))                                                                  \
    CALL(void, ShowSaverWindow, (WindowId window), (window))                                       \
    CALL(void, SetForegroundSaverWindow, (WindowId window), (window))                              \
    CALL(void, SetSaverWindowFocus, (WindowId window), (window))                                   \
    CALL(void, BringSaverWindowToTop, (WindowId window), (window))                                 \
    CALL(void, SetSaverWindowCursor, (WindowId window, PointerShape shape), (window, shape))       \
    CALL(bool, GetCursorPosition, (int* x, int* y), (x, y))                                        \
    CALL(DrawingContext, GetDrawingContext, (WindowId window), (window))                           \
    CALL(bool, ReleaseDrawingContext, (WindowId window, DrawingContext context),                   \
         (window, context))                                                                        \
    CALL(int, ChooseSaverPixelFormat, (DrawingContext context, const PixelFormatRequest& request), \
         (context, request))                                                                       \
    CALL(bool, SetSaverPixelFormat, (DrawingContext context, int format), (context, format))       \
    CALL(PixelFormatKind, DescribeSaverPixelFormat, (DrawingContext context, int format),          \
         (context, format))                                                                        \
    CALL(GlContext*, CreateGlContext, (DrawingContext context), (context))                         \
    CALL(bool, MakeGlContextCurrent, (DrawingContext context, GlContext * glContext),              \
         (context, glContext))                                                                     \
    CALL(bool, DeleteGlContext, (GlContext * glContext), (glContext))                              \
    CALL(bool, SwapSaverBuffers, (DrawingContext context), (context))                              \
    CALL(bool, GetDrawingSize, (DrawingContext context, int* width, int* height),                  \
         (context, width, height))                                                                 \
    CALL(bool, DrawingContextValid, (DrawingContext context), (context))                           \
    CALL(GlProbe*, CreateGlProbe, (), ())                                                          \
    CALL(void, DestroyGlProbe, (GlProbe * probe), (probe))                                         \
    CALL(int, ChangeCursorCount, (bool show), (show))                                              \
    CALL(WindowId, DesktopWindow, (), ())                                                          \
    CALL(WindowId, ForegroundWindow, (), ())                                                       \
    CALL(bool, SetScreenSaverRunning, (bool running), (running))                                   \
    CALL(double, DisplayRefreshRate, (), ())                                                       \
    CALL(BoxPlacement, PrepareForMessageBox, (const MessageBoxRequest& request), (request))        \
    CALL(void, FinishMessageBox, (const MessageBoxRequest& request), (request))                    \
    CALL(bool, WindowGlContextCurrent, (), ())                                                     \
    CALL(void*, WindowGlProcAddress, (const char* name), (name))

// The message calls: the shared machinery's, or a system's own.
#define VOSTREL_WINDOW_MESSAGE_CALLS(CALL)                                                   \
    CALL(bool, RegisterSaverWindowClass, (const char* className, WindowProcedure procedure), \
         (className, procedure))                                                             \
    CALL(bool, UnregisterSaverWindowClass, (const char* className), (className))             \
    CALL(bool, PeekWindowMessage, (), ())                                                    \
    CALL(bool, TakeWindowMessage, (WindowMessage * message), (message))                      \
    CALL(MessageResult, DispatchWindowMessage, (const WindowMessage& message), (message))    \
    CALL(MessageResult, DefaultWindowProcedure,                                              \
         (WindowId window, std::uint32_t message, MessageParam wParam, MessageData lParam),  \
         (window, message, wParam, lParam))                                                  \
    CALL(void, PostQuitWindowMessage, (int exitCode), (exitCode))

#define VOSTREL_DECLARE_WINDOW_CALL(result, name, parameters, arguments) result name parameters;
#define VOSTREL_WINDOW_DRIVER_FIELD(result, name, parameters, arguments) result(*name) parameters;

struct WindowSystemDriver {
    const char* name;
    // Whether its windows can be children of other programs' windows given by id (a preview's
    // host, a screen-saver host's window).
    bool foreignWindows;
    // Whether the window system can run here (its server answers); asked once, at start.
    bool (*available)();
    // Turns the events that have arrived into messages of the shared machinery, first waiting
    // for one when asked; false when none can come. Null for a system with its own machinery.
    bool (*pumpEvents)(bool wait);
    VOSTREL_WINDOW_CALLS(VOSTREL_WINDOW_DRIVER_FIELD)
    VOSTREL_WINDOW_MESSAGE_CALLS(VOSTREL_WINDOW_DRIVER_FIELD)
};

// The chosen driver: the first of the program's table that is available, chosen on the first
// window call; the table's first when none is, whose calls then fail as they do without a
// display.
const WindowSystemDriver& ChosenWindowSystem();
