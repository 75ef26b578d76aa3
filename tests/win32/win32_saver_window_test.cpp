// The saver window on Windows: a class's procedure sees its window's messages from WM_CREATE
// through the queue to WM_DESTROY, and a full-screen window's surface takes a pixel format
// and a context that draws what can be read back.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gl_current.h"
#include "platform/gl_functions.h"
#include "platform/saver_window.h"

namespace {

constexpr const char* kClass = "VostrelTestSaver";
std::vector<std::uint32_t> seen;

MessageResult Record(WindowId window, std::uint32_t message, MessageParam wParam,
                     MessageData lParam) {
    if (message == kWmCreate || message == kWmKeyDown || message == kWmDestroy) {
        seen.push_back(message);
    }
    return DefaultWindowProcedure(window, message, wParam, lParam);
}

void DispatchWaitingMessages() {
    WindowMessage message;
    while (PeekWindowMessage() && TakeWindowMessage(&message)) DispatchWindowMessage(message);
}

TEST(Win32SaverWindow, MessagesRunFromCreationThroughTheQueueToDestruction) {
    seen.clear();
    ASSERT_TRUE(RegisterSaverWindowClass(kClass, Record));
    EXPECT_FALSE(RegisterSaverWindowClass(kClass, Record));
    const WindowId window = CreateFullScreenWindow(kClass, "test");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(seen, std::vector<std::uint32_t>{kWmCreate});
    EXPECT_FALSE(UnregisterSaverWindowClass(kClass)) << "a window of the class still exists";

    PostMessageW(reinterpret_cast<HWND>(window), WM_KEYDOWN, VK_ESCAPE, 0);
    DispatchWaitingMessages();
    EXPECT_NE(std::find(seen.begin(), seen.end(), kWmKeyDown), seen.end());
    DefaultWindowProcedure(window, kWmClose, 0, 0);
    EXPECT_EQ(seen.back(), kWmDestroy);
    EXPECT_TRUE(UnregisterSaverWindowClass(kClass));
}

TEST(Win32SaverGl, TheFullScreenSurfaceCoversThePrimaryMonitorAndDraws) {
    ASSERT_TRUE(RegisterSaverWindowClass(kClass, Record));
    const WindowId window = CreateFullScreenWindow(kClass, "test");
    ASSERT_NE(window, 0u);
    const DrawingContext context = GetDrawingContext(window);
    ASSERT_NE(context, 0u);
    int width = 0, height = 0;
    ASSERT_TRUE(GetDrawingSize(context, &width, &height));
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));

    const int format = ChooseSaverPixelFormat(context, PixelFormatRequest{});
    ASSERT_GT(format, 0);
    ASSERT_TRUE(SetSaverPixelFormat(context, format));
    EXPECT_NE(DescribeSaverPixelFormat(context, format), PixelFormatKind::Unknown);
    GlContext* gl = CreateGlContext(context);
    ASSERT_NE(gl, nullptr);
    ASSERT_TRUE(MakeGlContextCurrent(context, gl));
    EXPECT_TRUE(LoadGlFunctions()) << "no framebuffer objects from wglGetProcAddress";
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(width / 2, height / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_TRUE(SwapSaverBuffers(context));

    EXPECT_TRUE(DeleteGlContext(gl));
    EXPECT_FALSE(GlContextCurrent());
    ReleaseDrawingContext(window, context);
    DestroySaverWindow(window);
    DispatchWaitingMessages();
    UnregisterSaverWindowClass(kClass);

    GlProbe* probe = CreateGlProbe();
    ASSERT_NE(probe, nullptr);
    EXPECT_TRUE(GlContextCurrent());
    DestroyGlProbe(probe);
    EXPECT_FALSE(GlContextCurrent());
}

// The hardware test's verdict rests on this: Wine's own format (0x25) has neither generic flag.
TEST(Win32SaverGl, AFormatsFlagsTellWhatDrivesIt) {
    constexpr DWORD kWindowGl = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    const struct {
        DWORD flags;
        PixelFormatKind kind;
    } cases[] = {
        {kWindowGl | PFD_GENERIC_FORMAT, PixelFormatKind::Software},
        {kWindowGl | PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED,
         PixelFormatKind::GenericAccelerated},
        {kWindowGl, PixelFormatKind::Driver},
        {kWindowGl | PFD_GENERIC_ACCELERATED, PixelFormatKind::Driver},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PixelFormatKindFromFlags(c.flags), c.kind) << std::hex << c.flags;
    }
}

}  // namespace
