// Win32's message machinery, written once for the window systems that lack it
// (window_messages.h).
//
// Realised: classes by name; the windows' procedures; SendMessage and PostMessage; one queue
// for the thread, where one pending WM_MOUSEMOVE of a window stands for every move since it
// was queued; dispatch, which a destroyed window hears only WM_DESTROY from; the default
// procedure's closing (SC_CLOSE sends WM_CLOSE, WM_CLOSE destroys, Alt+F4 posts SC_CLOSE).
// Left out: window data, timers, hooks, and a queue per thread (the saver has one).
#include "platform/windowing/window_messages.h"

#include <deque>
#include <map>
#include <string>

namespace {

struct WindowEntry {
    WindowProcedure procedure = nullptr;
    std::string className;
    bool destroyed = false;
};

std::map<std::string, WindowProcedure> windowClasses;
std::map<WindowId, WindowEntry> windows;
std::deque<WindowMessage> messageQueue;

WindowEntry* FindEntry(WindowId window) {
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

bool connectionLost = false;

// A window system whose connection has failed (its server or compositor died) is asked no
// more, and its windows are closed once, as a session's end closes them: the loop that waits
// on them then ends the way it always does, where it would otherwise spin on the dead
// connection or wait for it for ever.
bool PumpWindowEvents(bool wait) {
    if (connectionLost) return false;
    if (ChosenWindowSystem().pumpEvents(wait)) return true;
    connectionLost = true;
    for (const auto& [id, entry] : windows) {
        if (!entry.destroyed) PostWindowMessage(id, kWmClose, 0, 0);
    }
    return false;
}

}  // namespace

WindowProcedure ClassProcedure(const char* className) {
    auto found = windowClasses.find(className);
    return found == windowClasses.end() ? nullptr : found->second;
}

namespace window_messages {

bool RegisterSaverWindowClass(const char* className, WindowProcedure procedure) {
    if (className == nullptr || procedure == nullptr) return false;
    return windowClasses.emplace(className, procedure).second;
}

bool UnregisterSaverWindowClass(const char* className) {
    auto found = windowClasses.find(className);
    if (found == windowClasses.end()) return false;
    for (const auto& [id, entry] : windows) {
        if (!entry.destroyed && entry.className == className) return false;
    }
    windowClasses.erase(found);
    return true;
}

}  // namespace window_messages

void AddWindow(WindowId window, const char* className) {
    windows[window] = {ClassProcedure(className), className};
}

bool WindowLive(WindowId window) {
    const WindowEntry* entry = FindEntry(window);
    return entry != nullptr && !entry->destroyed;
}

void MarkWindowDestroyed(WindowId window) {
    if (WindowEntry* entry = FindEntry(window)) entry->destroyed = true;
}

MessageResult SendWindowMessage(WindowId window, std::uint32_t message, MessageParam wParam,
                                MessageData lParam) {
    const WindowEntry* entry = FindEntry(window);
    return entry != nullptr ? entry->procedure(window, message, wParam, lParam) : 0;
}

void PostWindowMessage(WindowId window, std::uint32_t message, MessageParam wParam,
                       MessageData lParam) {
    messageQueue.push_back({window, message, wParam, lParam});
}

// The main loop handles one message a frame, so a queued move per motion event would keep a
// key waiting behind seconds of small movements; the travel test reads the pointer itself, so
// only the latest point matters.
void PostMouseMove(WindowId window, MessageData point) {
    for (WindowMessage& queued : messageQueue) {
        if (queued.window == window && queued.message == kWmMouseMove) {
            queued.lParam = point;
            return;
        }
    }
    PostWindowMessage(window, kWmMouseMove, 0, point);
}

void PostKeyDown(WindowId window, MessageParam virtualKey, bool altHeld) {
    // Windows hands F10 pressed alone over as a system key too (it would open a menu bar), with
    // the Alt bit clear; the saver ignores system keys, so F10 must not end it.
    const bool systemKey = altHeld || virtualKey == virtual_key::kF10;
    PostWindowMessage(window, systemKey ? kWmSysKeyDown : kWmKeyDown, virtualKey,
                      altHeld ? kKeyAltHeld : 0);
}

MessageData PointParam(int x, int y) {
    return static_cast<MessageData>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}

namespace window_messages {

bool PeekWindowMessage() {
    PumpWindowEvents(false);
    return !messageQueue.empty();
}

bool TakeWindowMessage(WindowMessage* message) {
    while (messageQueue.empty()) {
        if (!PumpWindowEvents(true) && messageQueue.empty()) return false;
    }
    *message = messageQueue.front();
    messageQueue.pop_front();
    return message->message != kWmQuit;
}

MessageResult DispatchWindowMessage(const WindowMessage& message) {
    const WindowEntry* entry = FindEntry(message.window);
    if (entry == nullptr) return 0;
    // A window that has gone hears only of its destruction.
    if (entry->destroyed && message.message != kWmDestroy) return 0;
    return entry->procedure(message.window, message.message, message.wParam, message.lParam);
}

MessageResult DefaultWindowProcedure(WindowId window, std::uint32_t message, MessageParam wParam,
                                     MessageData lParam) {
    if (message == kWmSysCommand && wParam == kScClose) {
        SendWindowMessage(window, kWmClose, 0, 0);
    } else if (message == kWmClose) {
        DestroySaverWindow(window);
    } else if (message == kWmSysKeyDown && wParam == virtual_key::kF4 &&
               (lParam & kKeyAltHeld) != 0) {
        PostWindowMessage(window, kWmSysCommand, kScClose, 0);
    }
    return 0;
}

void PostQuitWindowMessage(int exitCode) {
    PostWindowMessage(0, kWmQuit, static_cast<MessageParam>(exitCode), 0);
}

}  // namespace window_messages
