// saver_host: plays the parts of Windows that start the saver with a window of their own, for
// the end-to-end tests under Wine, and says on standard output what it saw, one "name value"
// line at a time.
//
//   saver_host preview <saver> <seconds>
//     The display settings' preview: a plain top-level window, the saver started with /p and
//     its handle, a key and a click sent while the preview runs, then the window destroyed.
//   saver_host test <saver>
//     The configuration dialog's "3D Test" button pressed, the verdict box read and answered,
//     the dialog cancelled.
//   saver_host window
//     A host that starts nothing: its window's handle ("window N"), then it waits, handling
//     its window's messages, until it is killed (or kOrphanWait has passed).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "base/product.h"
#include "display/saver_run.h"
#include "platform/dialog_view.h"
#include "settings/dialog_template.h"

namespace {

constexpr const wchar_t* kHostClass = L"VostrelTestHost";
constexpr const char* kMutexName = "VostrelMutex";
constexpr const wchar_t* kDialogClass = L"#32770";
constexpr int kBoxTextId = 0xFFFF;  // the static text of a system message box
constexpr DWORD kStartWait = 30000;
constexpr DWORD kVerdictWait = 60000;
constexpr DWORD kExitWait = 20000;
constexpr DWORD kPollStep = 50;
constexpr DWORD kOrphanWait = 120000;
constexpr int kHostSize = 320;
constexpr int kHostPosition = 100;
constexpr int kClickPoint = 40;
constexpr WORD kTypedKey = 'X';

std::wstring Wide(const char* text) {
    return std::wstring(text, text + std::strlen(text));
}

void Say(const char* name, const std::string& value) {
    std::printf("%s %s\n", name, value.c_str());
    std::fflush(stdout);
}

// The text with its line feeds written as \n, so that it stays on one output line.
std::string OneLine(const std::wstring& text) {
    std::string line;
    for (wchar_t c : text) {
        if (c == L'\n') {
            line += "\\n";
        } else if (c != L'\r') {
            line += static_cast<char>(c < 0x80 ? c : '?');
        }
    }
    return line;
}

// Handles what arrives for this thread's windows while it waits; true when `done` says so
// within `milliseconds`.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollStep, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

bool Running(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

PROCESS_INFORMATION StartSaver(const char* saver, const std::string& arguments) {
    std::wstring line = L"\"" + Wide(saver) + L"\" " + Wide(arguments.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        Say("started", "0");
        std::exit(1);
    }
    return process;
}

// Says how the saver ended once it has had `kExitWait` to do so, and ends it if it has not.
void SayExit(const PROCESS_INFORMATION& process) {
    PumpUntil(kExitWait, [&] { return !Running(process.hProcess); });
    DWORD code = 0;
    if (Running(process.hProcess)) {
        Say("exit", "running");
        TerminateProcess(process.hProcess, 1);
    } else {
        GetExitCodeProcess(process.hProcess, &code);
        Say("exit", std::to_string(code));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Whether the saver's mutex exists and nobody owns it.
void SayMutex() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kMutexName);
    Say("mutex", mutex != nullptr ? "open" : "absent");
    if (mutex == nullptr) return;
    const bool free = WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0;
    if (free) ReleaseMutex(mutex);
    Say("mutex_owned", free ? "0" : "1");
    CloseHandle(mutex);
}

void SendKeyAndClick(HWND host) {
    POINT point{kClickPoint, kClickPoint};
    ClientToScreen(host, &point);
    SetCursorPos(point.x, point.y);
    INPUT inputs[4] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = kTypedKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[2].type = inputs[3].type = INPUT_MOUSE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(4, inputs, sizeof(INPUT));
}

HWND MakeHostWindow() {
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    hostClass.lpszClassName = kHostClass;
    RegisterClassW(&hostClass);
    HWND host = CreateWindowExW(0, kHostClass, L"saver host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                kHostPosition, kHostPosition, kHostSize, kHostSize, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(host);
    SetFocus(host);
    return host;
}

struct DialogSearch {
    DWORD process;
    std::wstring title;  // empty: any title
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (owner == search->process && IsWindowVisible(window) && wcscmp(name, kDialogClass) == 0 &&
        (search->title.empty() || search->title == title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(DWORD process, const std::wstring& title, DWORD milliseconds) {
    DialogSearch search{process, title, nullptr};
    PumpUntil(milliseconds, [&] {
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

void ClickButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int RunPreview(const char* saver, DWORD seconds) {
    HWND host = MakeHostWindow();
    const PROCESS_INFORMATION process =
        StartSaver(saver, "/p " + std::to_string(reinterpret_cast<std::uintptr_t>(host)));
    const std::wstring saverClass = Wide(kSaverClassName);
    HWND preview = nullptr;
    PumpUntil(kStartWait, [&] {
        preview = FindWindowExW(host, nullptr, saverClass.c_str(), nullptr);
        return preview != nullptr || !Running(process.hProcess);
    });
    Say("preview", preview != nullptr ? "1" : "0");
    SendKeyAndClick(host);
    PumpUntil(seconds * 1000, [] { return false; });
    GUITHREADINFO input{};
    input.cbSize = sizeof input;
    GetGUIThreadInfo(GetWindowThreadProcessId(host, nullptr), &input);
    Say("foreground_is_host", GetForegroundWindow() == host ? "1" : "0");
    Say("focus_is_preview", preview != nullptr && input.hwndFocus == preview ? "1" : "0");
    SayMutex();
    Say("boxes", FindDialog(process.dwProcessId, L"", 0) != nullptr ? "1" : "0");
    Say("running", Running(process.hProcess) ? "1" : "0");
    DestroyWindow(host);
    SayExit(process);
    return 0;
}

int RunHardwareTest(const char* saver) {
    const PROCESS_INFORMATION process = StartSaver(saver, "/c");
    HWND dialog = FindDialog(process.dwProcessId, Wide(kConfigDialogTitle), kStartWait);
    Say("dialog", dialog != nullptr ? "1" : "0");
    if (dialog != nullptr) {
        ClickButton(dialog, kIdHardwareTest);
        HWND box = FindDialog(process.dwProcessId, Wide(kBoxTitle), kVerdictWait);
        wchar_t text[512] = {};
        if (box != nullptr) GetDlgItemTextW(box, kBoxTextId, text, 512);
        Say("box", box != nullptr ? OneLine(text) : "none");
        if (box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
        ClickButton(dialog, kIdCancel);
    }
    SayExit(process);
    return 0;
}

int RunWindow() {
    HWND host = MakeHostWindow();
    Say("window", std::to_string(reinterpret_cast<std::uintptr_t>(host)));
    PumpUntil(kOrphanWait, [] { return false; });
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 2 ? argv[1] : "";
    if (command == "preview" && argc == 4) {
        return RunPreview(argv[2], static_cast<DWORD>(std::atoi(argv[3])));
    }
    if (command == "test" && argc == 3) return RunHardwareTest(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "window") == 0) return RunWindow();
    std::fprintf(stderr, "usage: saver_host preview <saver> <seconds> | test <saver> | window\n");
    return 2;
}
