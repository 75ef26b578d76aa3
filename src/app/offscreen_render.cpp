#include "app/offscreen_render.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/render_settings.h"
#include "app/show_state_json.h"
#include "base/run_flags.h"
#include "display/projection.h"
#include "display/virtual_mode.h"
#include "platform/offscreen_gl.h"
#include "platform/png_writer.h"
#include "settings/install_folder.h"
#include "settings/mode_size.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/show_setup.h"
#include "show/show_state.h"

namespace {

// With restart on, the counter goes back before it could start the cycle's end frame;
// without it, it stops at the last frame.
constexpr int kLastFrameWithRestart = kCycleEndFrame - 1;

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "vostrel-render: %s\n", message.c_str());
    if (code == kRenderBadArguments) std::fputs(kRenderUsage, stderr);
    return code;
}

bool ApplySets(const RenderRequest& request, Settings& target, std::string& error) {
    for (const auto& [name, value] : request.sets) {
        if (!SetSettingByName(target, name, value, error)) return false;
    }
    return true;
}

// One pass from the start frame reaches these frames and no others.
bool FramesReachable(const RenderRequest& request, std::string& error) {
    const int first = showState.showFrame;
    const int last = settings.restart != 0 ? kLastFrameWithRestart : kLastShowFrame;
    if (request.frames.front() >= first && request.frames.back() <= last) return true;
    error = "with these settings one pass of the show draws frames " + std::to_string(first) +
            " to " + std::to_string(last) + " only";
    return false;
}

std::string FramePath(const std::string& dir, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", frame);
    return (std::filesystem::path(dir) / name).string();
}

// Draws from the start frame through the last listed one; false after reporting a failure.
bool RenderListedFrames(const RenderRequest& request, std::ofstream* stateFile) {
    // One pass never takes more frames than this; a show that stops advancing must not
    // keep the renderer busy for ever.
    const int framesAllowed = kLastShowFrame - showState.showFrame + 1;
    std::size_t next = 0;
    for (int drawn = 0; next < request.frames.size(); ++drawn) {
        if (drawn == framesAllowed) {
            Fail(kRenderFailed, "the show stopped at frame " + std::to_string(showState.showFrame));
            return false;
        }
        const int frame = showState.showFrame;
        RenderShowFrame();
        if (frame != request.frames[next]) continue;
        const std::string path = FramePath(request.outDir, frame);
        if (!WritePngFile(path, request.width, request.height, ReadVirtualModePixels())) {
            Fail(kRenderFailed, "cannot write " + path);
            return false;
        }
        if (stateFile != nullptr && !(*stateFile << ShowStateJson(frame) << '\n')) {
            Fail(kRenderFailed, "cannot write " + request.statePath);
            return false;
        }
        ++next;
    }
    return true;
}

// Settings, context, picture and show are ready; renders and writes everything.
int RenderShow(const RenderRequest& request) {
    std::string error;
    if (!FramesReachable(request, error)) return Fail(kRenderBadArguments, error);
    std::error_code ignored;
    std::filesystem::create_directories(request.outDir, ignored);
    if (!std::filesystem::is_directory(request.outDir)) {
        return Fail(kRenderFailed, "cannot make the folder " + request.outDir);
    }
    std::ofstream stateFile;
    if (!request.statePath.empty()) {
        stateFile.open(request.statePath, std::ios::out | std::ios::trunc);
        if (!stateFile) return Fail(kRenderFailed, "cannot write " + request.statePath);
    }
    if (!RenderListedFrames(request, request.statePath.empty() ? nullptr : &stateFile)) {
        return kRenderFailed;
    }
    // The lines wait in the stream's buffer; a full disk only shows when they are flushed.
    if (!request.statePath.empty()) {
        stateFile.close();
        if (stateFile.fail()) return Fail(kRenderFailed, "cannot write " + request.statePath);
    }
    return kRenderOk;
}

int RenderInContext(const RenderRequest& request) {
    const int colorDepth = ColorDepthFromBpp(settings.bpp);
    if (!EnterVirtualMode(request.width, request.height, colorDepth)) {
        return Fail(kRenderBadArguments, "this OpenGL cannot make a " +
                                             std::to_string(request.width) + "x" +
                                             std::to_string(request.height) + " picture");
    }
    SetProjection(request.width, request.height);
    SetupShow(0);
    const int result =
        showReady ? RenderShow(request) : Fail(kRenderFailed, "the show could not be set up");
    ShutdownShow();
    LeaveVirtualMode();
    return result;
}

}  // namespace

int RunOffscreenRender(const std::vector<std::string>& arguments) {
    RenderRequest request;
    std::string error;
    if (!ParseRenderArguments(arguments, request, error)) return Fail(kRenderBadArguments, error);
    if (request.helpWanted) {
        std::fputs(kRenderUsage, stdout);
        return kRenderOk;
    }
    Settings trial;  // a bad --set is refused before anything is looked up
    if (!ApplySets(request, trial, error)) return Fail(kRenderBadArguments, error);
    runMode = request.preview ? RunMode::Preview : RunMode::Saver;
    previewFlag = request.preview ? 1 : 0;

    LookUpDataFolder();
    if (!installFolderFound) {
        return Fail(kRenderFailed, "no install folder was found, so the show has no data");
    }
    if (!CheckDataFiles()) {
        std::fputs("vostrel-render: warning: some data files are missing\n", stderr);
    }
    LoadSaverSettings();
    ApplySets(request, settings, error);

    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr) return Fail(kRenderFailed, "no offscreen OpenGL context (EGL)");
    const int result = RenderInContext(request);
    DestroyOffscreenGlContext(context);
    return result;
}
