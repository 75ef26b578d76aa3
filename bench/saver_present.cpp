// bench_saver_present: what a frame costs the saver window beyond the show itself, the
// virtual mode's present (a scaled blit) plus the buffer swap, for a few modes, and a preview's
// present (read back, copied and scaled into its window by the X server) for a few window
// sizes. Needs an X display with GLX; prints the median time per frame and the rate it allows.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "display/display_mode.h"
#include "platform/desktop.h"
#include "platform/saver_window.h"

namespace {

constexpr int kFrames = 300;
constexpr const char* kClassName = "bench_saver_present";

MessageResult Ignore(WindowId window, std::uint32_t message, MessageParam wParam,
                     MessageData lParam) {
    return DefaultWindowProcedure(window, message, wParam, lParam);
}

double MedianFrameMilliseconds(DrawingContext context) {
    std::vector<double> times;
    for (int frame = 0; frame < kFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        glClearColor(0.0f, 0.0f, (frame % 2) * 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        SwapDisplayBuffers(context);
        glFinish();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(times.begin(), times.begin() + kFrames / 2, times.end());
    return times[kFrames / 2];
}

// A preview window of the given size inside the root window, drawn as the saver draws one.
void MeasurePreview(int width, int height) {
    const WindowId window = CreateChildWindow(kClassName, "bench", DesktopWindow(), width, height);
    const DrawingContext context = GetDrawingContext(window);
    GlContext* gl = nullptr;
    if (window != 0 && SetSaverPixelFormat(context, ChooseSaverPixelFormat(context, {})) &&
        (gl = CreateGlContext(context)) != nullptr && MakeGlContextCurrent(context, gl)) {
        int drawnWidth = 0, drawnHeight = 0;
        GetDrawingSize(context, &drawnWidth, &drawnHeight);
        if (EnterDisplayMode(drawnWidth, drawnHeight, 32)) {
            const double milliseconds = MedianFrameMilliseconds(context);
            std::printf("preview %5d x %5d (drawn %4d x %4d): median %.3f ms per frame\n", width,
                        height, drawnWidth, drawnHeight, milliseconds);
            RestoreDisplayMode();
        }
    }
    if (gl != nullptr) DeleteGlContext(gl);
    if (window != 0) DestroySaverWindow(window);
}

}  // namespace

int main() {
    RegisterSaverWindowClass(kClassName, Ignore);
    const WindowId window = CreateFullScreenWindow(kClassName, "bench");
    const DrawingContext context = GetDrawingContext(window);
    GlContext* gl = nullptr;
    if (window == 0 || !SetSaverPixelFormat(context, ChooseSaverPixelFormat(context, {})) ||
        (gl = CreateGlContext(context)) == nullptr || !MakeGlContextCurrent(context, gl)) {
        std::printf("bench_saver_present: no X display with GLX\n");
        return 0;
    }
    int width = 0, height = 0;
    GetDrawingSize(context, &width, &height);
    std::printf("window surface %d x %d, %s\n", width, height,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    const struct {
        int width, height, depth;
    } modes[] = {{640, 480, 16}, {1024, 768, 32}, {1280, 1024, 32}};
    for (const auto& mode : modes) {
        if (!EnterDisplayMode(mode.width, mode.height, mode.depth)) continue;
        const double milliseconds = MedianFrameMilliseconds(context);
        std::printf("mode %4d x %4d x %d: median %.3f ms per frame (%.0f frames/s)\n", mode.width,
                    mode.height, mode.depth, milliseconds, 1000.0 / milliseconds);
        RestoreDisplayMode();
    }
    DeleteGlContext(gl);
    DestroySaverWindow(window);
    const struct {
        int width, height;
    } previews[] = {{152, 112}, {640, 480}, {1280, 1024}, {32767, 32767}};
    for (const auto& preview : previews) MeasurePreview(preview.width, preview.height);
    UnregisterSaverWindowClass(kClassName);
    return 0;
}
