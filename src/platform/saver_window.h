// The saver's window and its OpenGL context, with the contract of the Win32 calls the saver
// run makes (window class, window, device context, pixel format, rendering context, buffer
// swap, cursor, focus, message queue).
//
//   - A window class names the procedure that receives the window's messages. Creating a
//     window sends it WM_CREATE before the call returns; destroying it sends WM_DESTROY before
//     the window goes. Everything else arrives through the queue: PeekWindowMessage says
//     whether a message waits, TakeWindowMessage removes it, DispatchWindowMessage hands it to
//     the procedure. Procedures pass what they do not swallow to DefaultWindowProcedure.
//   - Message numbers and codes carry the values Windows gives them: a key message's wParam is
//     the Windows virtual-key code (0 for a key Windows has none for), and its lParam has
//     kKeyAltHeld when Alt is held; a key with Alt held, and F10 alone, arrive as
//     WM_SYSKEYDOWN.
//   - The full-screen window covers every monitor, black, with its drawing surface over the
//     primary one; a child window's surface fills it. A window-system error never ends the
//     process: the call that meets it fails.
//   - A drawing context belongs to a window; its pixel format is chosen from a request and set
//     once, and a GL context is created for it.
#pragma once
#include <cstdint>

#include "platform/window_id.h"

using MessageParam = std::uintptr_t;  // wParam
using MessageData = std::intptr_t;    // lParam
using MessageResult = std::intptr_t;
using WindowProcedure = MessageResult (*)(WindowId window, std::uint32_t message,
                                          MessageParam wParam, MessageData lParam);

inline constexpr std::uint32_t kWmCreate = 0x0001;
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmActivate = 0x0006;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQuit = 0x0012;
inline constexpr std::uint32_t kWmActivateApp = 0x001C;
inline constexpr std::uint32_t kWmSetCursor = 0x0020;
inline constexpr std::uint32_t kWmNcActivate = 0x0086;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmSysKeyDown = 0x0104;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr std::uint32_t kWmMButtonDown = 0x0207;

inline constexpr MessageParam kWaInactive = 0;
inline constexpr MessageParam kWaActive = 1;
inline constexpr MessageParam kScClose = 0xF060;
inline constexpr MessageParam kScScreenSave = 0xF140;
// lParam bit of a key message: Alt was held.
inline constexpr MessageData kKeyAltHeld = MessageData{1} << 29;

struct WindowMessage {
    WindowId window = 0;
    std::uint32_t message = 0;
    MessageParam wParam = 0;
    MessageData lParam = 0;
};

// False when the name is already registered.
bool RegisterSaverWindowClass(const char* className, WindowProcedure procedure);
// False when the name is not registered or a window of the class still exists.
bool UnregisterSaverWindowClass(const char* className);

// Topmost, visible, covering the screen; 0 when it cannot be made.
WindowId CreateFullScreenWindow(const char* className, const char* title);
// Visible child of parent at (0, 0); 0 when it cannot be made (no parent, a parent that does
// not exist, a size the window system refuses).
WindowId CreateChildWindow(const char* className, const char* title, WindowId parent, int width,
                           int height);
bool DestroySaverWindow(WindowId window);
// The client size; the desktop window's is that of the primary monitor.
bool GetWindowClientSize(WindowId window, int* width, int* height);

void ShowSaverWindow(WindowId window);
// Takes the keyboard and the pointer for a top-level window; nothing for a child.
void SetForegroundSaverWindow(WindowId window);
// Gives a top-level window the input focus; a child never takes it from its host.
void SetSaverWindowFocus(WindowId window);
void BringSaverWindowToTop(WindowId window);

enum class PointerShape { Hidden, Arrow };
// The pointer over the window; hidden whatever the shape while the cursor count hides it.
void SetSaverWindowCursor(WindowId window, PointerShape shape);
// The pointer position in screen (root window) coordinates.
bool GetCursorPosition(int* x, int* y);

using DrawingContext = std::uint64_t;  // 0 means none
struct GlContext;

DrawingContext GetDrawingContext(WindowId window);
bool ReleaseDrawingContext(WindowId window, DrawingContext context);

struct PixelFormatRequest {
    int colorBits = 32;  // RGBA, double-buffered, drawn to a window
    int depthBits = 16;
};
// A format index from 1, or 0 when no format fits.
int ChooseSaverPixelFormat(DrawingContext context, const PixelFormatRequest& request);
// Once per window.
bool SetSaverPixelFormat(DrawingContext context, int format);

// What drives a pixel format's picture: the graphics driver itself, a generic layer that
// forwards to graphics hardware, or software alone; Unknown when the format does not exist.
// Asked with the context made for that format current.
enum class PixelFormatKind { Unknown, Software, GenericAccelerated, Driver };
PixelFormatKind DescribeSaverPixelFormat(DrawingContext context, int format);

// How Windows tells it, by a format's flags (PFD_GENERIC_FORMAT, PFD_GENERIC_ACCELERATED): a
// generic format without acceleration is the system's software renderer, a generic accelerated
// one forwards to graphics hardware, and any other is the installed driver's own.
inline constexpr std::uint32_t kPfdGenericFormat = 0x40;
inline constexpr std::uint32_t kPfdGenericAccelerated = 0x1000;
constexpr PixelFormatKind PixelFormatKindFromFlags(std::uint32_t flags) {
    if ((flags & kPfdGenericFormat) == 0) return PixelFormatKind::Driver;
    return (flags & kPfdGenericAccelerated) != 0 ? PixelFormatKind::GenericAccelerated
                                                 : PixelFormatKind::Software;
}

// How a GL's renderer string tells it: a software rasteriser (llvmpipe, softpipe, swrast) is
// Software; a layer forwarding to a host's or another API's hardware (virgl, zink, d3d12,
// SVGA3D) is GenericAccelerated; any other renderer is the Driver's. Unknown for none.
PixelFormatKind PixelFormatKindOfRenderer(const char* renderer);

// Null when it cannot be made (no pixel format set).
GlContext* CreateGlContext(DrawingContext context);
// Waits for the display's refresh at each swap where the driver offers it.
bool MakeGlContextCurrent(DrawingContext context, GlContext* glContext);
bool DeleteGlContext(GlContext* glContext);
// A child window's picture is drawn offscreen and copied into the window here; false when the
// window has gone, which a host may do at any moment without harm.
bool SwapSaverBuffers(DrawingContext context);
// The size of the area the picture is drawn for: a child window's own size, or for a child
// larger than the screen can show, the largest size within the screen with the window's aspect,
// which the swap scales up to the window.
bool GetDrawingSize(DrawingContext context, int* width, int* height);
// Catches up with what the window system has reported and answers whether the context's
// window still exists. A host may destroy a preview at any moment, and drawing into a window
// that has gone can bring the GL down, so a frame asks this before it touches the window.
bool DrawingContextValid(DrawingContext context);

// A context like the saver window's, current on no window, for what must be asked of the GL
// before the window exists; null when none can be made. Destroying it leaves none current.
struct GlProbe;
GlProbe* CreateGlProbe();
void DestroyGlProbe(GlProbe* probe);

bool PeekWindowMessage();
// Waits for a message; false when it is WM_QUIT or no message can come.
bool TakeWindowMessage(WindowMessage* message);
MessageResult DispatchWindowMessage(const WindowMessage& message);
// What Windows does with a message no procedure swallowed: SC_CLOSE sends WM_CLOSE, WM_CLOSE
// destroys the window, Alt+F4 posts SC_CLOSE; the rest is ignored.
MessageResult DefaultWindowProcedure(WindowId window, std::uint32_t message, MessageParam wParam,
                                     MessageData lParam);
void PostQuitWindowMessage(int exitCode);
