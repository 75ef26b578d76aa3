#include "app/offscreen_render.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/render_progress.h"
#include "app/render_settings.h"
#include "app/show_state_json.h"
#include "base/product.h"
#include "base/run_flags.h"
#include "display/projection.h"
#include "display/virtual_mode.h"
#include "platform/gl_functions.h"
#include "platform/offscreen_gl.h"
#include "platform/png_writer.h"
#include "platform/terminal.h"
#include "settings/install_folder.h"
#include "settings/mode_size.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/show_setup.h"
#include "show/show_state.h"

namespace {

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kRendererProgram, message.c_str());
    if (code == kRenderBadArguments) std::fputs(kRenderUsage, stderr);
    return code;
}

bool ApplySets(const RenderRequest& request, Settings& target, std::string& error) {
    for (const auto& [name, value] : request.sets) {
        if (!SetSettingByName(target, name, value, error)) return false;
    }
    return true;
}

// Frames are numbered from the start frame on, so none before it is ever drawn.
bool FramesReachable(const RenderRequest& request, int startFrame, std::string& error) {
    if (request.frames.front() >= startFrame) return true;
    error = "with these settings the show starts at frame " + std::to_string(startFrame) +
            ", so no earlier frame is drawn";
    return false;
}

std::string FramePath(const std::string& dir, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", frame);
    return (std::filesystem::path(dir) / name).string();
}

// The listed frame's picture, and its state line when asked for; the path that could not be
// written, or "" when all was written.
std::string WriteListedFrame(const RenderRequest& request, int frame, std::ofstream* stateFile) {
    const std::string path = FramePath(request.outDir, frame);
    if (!WritePngFile(path, request.width, request.height, ReadVirtualModePixels())) return path;
    if (stateFile != nullptr && !(*stateFile << ShowStateJson(frame) << '\n')) {
        return request.statePath;
    }
    return {};
}

// Draws from the start frame through the last listed one; false after reporting a failure.
// Frame N is the start frame plus the frames drawn before it: the numbers count on past the
// restart (and past the show's own last frame when it does not restart), so every frame of
// a long run has a number of its own.
bool RenderListedFrames(const RenderRequest& request, int startFrame, std::ofstream* stateFile) {
    RenderProgress progress(request.frames.back() - startFrame + 1, StandardErrorIsTerminal());
    std::size_t next = 0;
    for (int frame = startFrame; next < request.frames.size(); ++frame) {
        RenderShowFrame();
        // Where the saver swaps, the frame ends here: a driver that draws on the processor
        // (Mesa's llvmpipe) otherwise keeps queueing the frames' work and memory, without
        // bound, since nothing else makes it wait for them.
        glFinish();
        const bool listed = frame == request.frames[next];
        if (listed) {
            const std::string unwritten = WriteListedFrame(request, frame, stateFile);
            if (!unwritten.empty()) {
                progress.Finish();
                Fail(kRenderFailed, "cannot write " + unwritten);
                return false;
            }
            ++next;
        }
        progress.FrameDrawn(listed);
    }
    return true;
}

// Settings, context, picture and show are ready; renders and writes everything.
int RenderShow(const RenderRequest& request) {
    std::string error;
    const int startFrame = showState.showFrame;
    if (!FramesReachable(request, startFrame, error)) return Fail(kRenderBadArguments, error);
    std::error_code ignored;
    std::filesystem::create_directories(request.outDir, ignored);
    if (!std::filesystem::is_directory(request.outDir)) {
        return Fail(kRenderFailed, "cannot make the folder " + request.outDir);
    }
    std::ofstream stateFile;
    if (!request.statePath.empty()) {
        // Binary: each JSON line ends in a bare line feed on every system.
        stateFile.open(request.statePath, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!stateFile) return Fail(kRenderFailed, "cannot write " + request.statePath);
    }
    if (!RenderListedFrames(request, startFrame,
                            request.statePath.empty() ? nullptr : &stateFile)) {
        return kRenderFailed;
    }
    // The lines wait in the stream's buffer; a full disk only shows when they are flushed.
    if (!request.statePath.empty()) {
        stateFile.close();
        if (stateFile.fail()) return Fail(kRenderFailed, "cannot write " + request.statePath);
    }
    return kRenderOk;
}

// The renderer makes pictures, not sound, and opens no sound output at all: no sound system
// is probed (nothing of it on the terminal, nothing a sound server keeps in the home folder).
// The bangs then go to an effect voice that was never opened, which drops them. `psound`
// is back as set before the first frame, since it decides whether the show draws its random
// numbers for the bangs, and so shapes the pictures; unless the run is one whose set-up
// switches the effects off for good, as the preview's does.
void SetUpSilentShow() {
    settings.pmusic = 0;
    settings.pmp3 = 0;
    settings.pcd = 0;
    const std::uint32_t soundEffects = settings.psound;
    settings.psound = 0;
    SetupShow(0);
    if (!SetupSilencesRun()) settings.psound = soundEffects;
}

int RenderInContext(const RenderRequest& request) {
    const int colorDepth = ColorDepthFromBpp(settings.bpp);
    if (!EnterVirtualMode(request.width, request.height, colorDepth)) {
        return Fail(kRenderBadArguments, "this OpenGL cannot make a " +
                                             std::to_string(request.width) + "x" +
                                             std::to_string(request.height) + " picture");
    }
    SetProjection(request.width, request.height);
    SetUpSilentShow();
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
        std::fprintf(stderr, "%s: warning: some data files are missing\n", kRendererProgram);
    }
    LoadStoredSettings();
    ApplySets(request, settings, error);

    DrawOffscreenInCallingThread();
    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr) return Fail(kRenderFailed, "no offscreen OpenGL context (EGL)");
    const int result = RenderInContext(request);
    DestroyOffscreenGlContext(context);
    return result;
}
