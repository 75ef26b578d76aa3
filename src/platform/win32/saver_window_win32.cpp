// The saver windows on Windows: window classes, the full-screen and child windows, their size,
// focus, cursor and destruction, and the message queue, all the system's own.
//
// A class registered here sends every message to one thunk, which hands it to the procedure
// the class was registered with; the window carries that procedure from WM_NCCREATE on (a
// message before it, WM_GETMINMAXINFO, goes to DefWindowProcW). The full-screen window is a
// topmost pop-up over the whole virtual screen, black. With one monitor it is its own drawing
// surface; with more, the surface is a child window over the primary monitor that takes no
// input (disabled, so the pointer's messages reach the pop-up), made with the window. Only the
// second case needs a child: GL drawn in a child window never reaches Wine's screen.
// A child window is its own surface.
// Messages are the wide ones: titles and class names are the program's own ASCII constants,
// and no text message (WM_CHAR) is read.
// Left out: a child larger than the screen draws at its own size, and the system menu's own
// entries besides closing.
#include <windows.h>

#include <map>
#include <string>

#include "platform/saver_window.h"
#include "platform/win32/saver_window_records.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_window_system.h"

namespace win32 {

namespace {

constexpr const wchar_t* kSurfaceClass = L"VostrelSurface";

std::map<std::string, WindowProcedure> windowClasses;
// The drawing surface of each full-screen window.
std::map<HWND, HWND> surfaces;

HWND Handle(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

WindowId Id(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

LRESULT CALLBACK ClassThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    const auto procedure =
        reinterpret_cast<WindowProcedure>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) surfaces.erase(window);
    if (procedure == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return procedure(Id(window), message, wParam, lParam);
}

bool RegisterSurfaceClass() {
    static const bool registered = [] {
        WNDCLASSW surfaceClass{};
        surfaceClass.style = CS_OWNDC;
        surfaceClass.lpfnWndProc = DefWindowProcW;
        surfaceClass.hInstance = GetModuleHandleW(nullptr);
        surfaceClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        surfaceClass.lpszClassName = kSurfaceClass;
        return RegisterClassW(&surfaceClass) != 0;
    }();
    return registered;
}

RECT PrimaryMonitorRect() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

HWND CreateSurface(HWND fullScreen, int left, int top) {
    if (!RegisterSurfaceClass()) return nullptr;
    const RECT monitor = PrimaryMonitorRect();
    return CreateWindowExW(0, kSurfaceClass, L"", WS_CHILD | WS_VISIBLE | WS_DISABLED,
                           monitor.left - left, monitor.top - top, monitor.right - monitor.left,
                           monitor.bottom - monitor.top, fullScreen, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

WindowProcedure ClassProcedure(const char* className) {
    const auto found = windowClasses.find(className);
    return found != windowClasses.end() ? found->second : nullptr;
}

}  // namespace

HWND DrawingSurface(HWND window) {
    const auto found = surfaces.find(window);
    return found != surfaces.end() ? found->second : window;
}

bool RegisterSaverWindowClass(const char* className, WindowProcedure procedure) {
    const std::wstring name = WideFromUtf8(className);
    WNDCLASSW windowClass{};
    // An own device context per window, as WGL wants it; no class cursor, so that the pointer
    // takes the shape the procedure sets.
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ClassThunk;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name.c_str();
    if (RegisterClassW(&windowClass) == 0) return false;
    windowClasses[className] = procedure;
    return true;
}

bool UnregisterSaverWindowClass(const char* className) {
    if (!UnregisterClassW(WideFromUtf8(className).c_str(), GetModuleHandleW(nullptr))) {
        return false;
    }
    windowClasses.erase(className);
    return true;
}

WindowId CreateFullScreenWindow(const char* className, const char* title) {
    const WindowProcedure procedure = ClassProcedure(className);
    if (procedure == nullptr) return 0;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    HWND window = CreateWindowExW(
        WS_EX_TOPMOST, WideFromUtf8(className).c_str(), WideFromUtf8(title).c_str(),
        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, left, top, GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr, nullptr, GetModuleHandleW(nullptr),
        reinterpret_cast<void*>(procedure));
    if (window == nullptr) return 0;
    const RECT monitor = PrimaryMonitorRect();
    if (monitor.left == left && monitor.top == top &&
        monitor.right - monitor.left == GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
        monitor.bottom - monitor.top == GetSystemMetrics(SM_CYVIRTUALSCREEN)) {
        return Id(window);
    }
    HWND surface = CreateSurface(window, left, top);
    if (surface == nullptr) {
        DestroyWindow(window);
        return 0;
    }
    surfaces[window] = surface;
    return Id(window);
}

WindowId CreateChildWindow(const char* className, const char* title, WindowId parent, int width,
                           int height) {
    const WindowProcedure procedure = ClassProcedure(className);
    if (procedure == nullptr || !IsWindow(Handle(parent))) return 0;
    HWND window =
        CreateWindowExW(0, WideFromUtf8(className).c_str(), WideFromUtf8(title).c_str(),
                        WS_CHILD | WS_VISIBLE, 0, 0, width, height, Handle(parent), nullptr,
                        GetModuleHandleW(nullptr), reinterpret_cast<void*>(procedure));
    return Id(window);
}

bool DestroySaverWindow(WindowId window) {
    return DestroyWindow(Handle(window)) != FALSE;
}

bool GetWindowClientSize(WindowId window, int* width, int* height) {
    HWND handle = Handle(window);
    RECT client{};
    if (handle == GetDesktopWindow()) {
        client = PrimaryMonitorRect();
    } else if (!GetClientRect(handle, &client)) {
        return false;
    }
    *width = client.right - client.left;
    *height = client.bottom - client.top;
    return true;
}

void ShowSaverWindow(WindowId window) {
    ShowWindow(Handle(window), SW_SHOW);
    UpdateWindow(Handle(window));
}

void SetForegroundSaverWindow(WindowId window) {
    if (GetParent(Handle(window)) == nullptr) SetForegroundWindow(Handle(window));
}

void SetSaverWindowFocus(WindowId window) {
    if (GetParent(Handle(window)) == nullptr) SetFocus(Handle(window));
}

void BringSaverWindowToTop(WindowId window) {
    BringWindowToTop(Handle(window));
}

void SetSaverWindowCursor(WindowId, PointerShape shape) {
    SetCursor(shape == PointerShape::Arrow ? LoadCursorA(nullptr, IDC_ARROW) : nullptr);
}

bool GetCursorPosition(int* x, int* y) {
    POINT position{};
    if (!GetCursorPos(&position)) return false;
    *x = position.x;
    *y = position.y;
    return true;
}

bool PeekWindowMessage() {
    MSG message{};
    return PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

bool TakeWindowMessage(WindowMessage* message) {
    MSG taken{};
    if (GetMessageW(&taken, nullptr, 0, 0) <= 0) return false;
    *message = {Id(taken.hwnd), taken.message, taken.wParam, taken.lParam};
    return true;
}

MessageResult DispatchWindowMessage(const WindowMessage& message) {
    const DWORD position = GetMessagePos();
    MSG native{Handle(message.window),
               message.message,
               message.wParam,
               message.lParam,
               static_cast<DWORD>(GetMessageTime()),
               {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))}};
    TranslateMessage(&native);
    return DispatchMessageW(&native);
}

MessageResult DefaultWindowProcedure(WindowId window, std::uint32_t message, MessageParam wParam,
                                     MessageData lParam) {
    return DefWindowProcW(Handle(window), message, wParam, lParam);
}

void PostQuitWindowMessage(int exitCode) {
    PostQuitMessage(exitCode);
}

}  // namespace win32
