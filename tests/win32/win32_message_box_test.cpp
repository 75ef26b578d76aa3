// Message boxes on Windows: the saver's windows are deactivated by every box, recorded or
// spied ones too, and a box the run survives lends the pointer and gives it back.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/cursor.h"
#include "platform/message_box.h"
#include "platform_spies.h"

namespace {

std::vector<WPARAM> activations;

LRESULT CALLBACK RecordActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATE) activations.push_back(LOWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

// A visible top-level window of this thread, as the saver's is.
class TestWindow {
  public:
    TestWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = RecordActivation;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClass;
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, kClass, L"box test", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
        activations.clear();
    }
    ~TestWindow() {
        DestroyWindow(window_);
        UnregisterClassW(kClass, GetModuleHandleW(nullptr));
    }
    HWND get() const { return window_; }

  private:
    static constexpr const wchar_t* kClass = L"VostrelBoxTest";
    HWND window_ = nullptr;
};

TEST(Win32MessageBox, EveryBoxDeactivatesAndOneTheRunSurvivesLendsThePointer) {
    TestWindow window;
    ASSERT_NE(window.get(), nullptr);
    int countDuringBox = 0;
    SetMessageBoxSpy([&](const MessageBoxRequest&) {
        countDuringBox = ChangeCursorCount(false);
        ChangeCursorCount(true);
        return BoxAnswer::Ok;
    });
    MessageBoxRequest ending;
    ending.owner = reinterpret_cast<WindowId>(window.get());
    ShowMessageBox(ending);
    EXPECT_EQ(activations, std::vector<WPARAM>{WA_INACTIVE});

    activations.clear();
    const int hidden = ChangeCursorCount(false);
    MessageBoxRequest survived = ending;
    survived.runGoesOn = true;
    ShowMessageBox(survived);
    EXPECT_GE(countDuringBox + 1, 0) << "the pointer stayed hidden over the box";
    EXPECT_EQ(ChangeCursorCount(true), hidden + 1) << "the pointer was not hidden again";
    EXPECT_EQ(activations, std::vector<WPARAM>{WA_ACTIVE});
    SetMessageBoxSpy(nullptr);
}

}  // namespace
