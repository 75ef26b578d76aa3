// The dialog's 3D hardware test, run for real in this process: a full-screen test window on
// the X server, the verdict box, and the picture counted at the buffer swap.
//
// The renderer's identity is the one thing a test machine cannot change, so this file stands
// in for glGetString(GL_RENDERER) when a test names a renderer; every other GL call, and the
// swap, go to the real library. The swap is watched to count the picture's frames.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <GL/glx.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/run_flags.h"
#include "display/hardware_test.h"
#include "display/saver_state.h"
#include "fake_dialog_view.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform_spies.h"
#include "scratch_install.h"
#include "settings/config_dialog.h"
#include "settings/dialog_template.h"
#include "settings/install_folder.h"

namespace {

const char* fakeRenderer = nullptr;
int swaps = 0;
int brightestFrame = 0;  // the largest channel value seen in any frame
int lastFrameBrightest = 0;

// The centre of the 640 x 480 test mode, where the picture always is: reading only there keeps
// each frame quick on a software renderer.
int BrightestAtCentre() {
    constexpr int kSide = 32;
    std::uint8_t pixels[kSide * kSide * 4] = {};
    glReadPixels(320 - kSide / 2, 240 - kSide / 2, kSide, kSide, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    int brightest = 0;
    for (int i = 0; i < kSide * kSide * 4; i += 4) {
        brightest = std::max({brightest, int{pixels[i]}, int{pixels[i + 1]}, int{pixels[i + 2]}});
    }
    return brightest;
}

}  // namespace

extern "C" const GLubyte* glGetString(GLenum name) {
    using Real = const GLubyte* (*)(GLenum);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glGetString"));
    if (name == GL_RENDERER && fakeRenderer != nullptr) {
        return reinterpret_cast<const GLubyte*>(fakeRenderer);
    }
    return real(name);
}

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    using Real = void (*)(Display*, GLXDrawable);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    ++swaps;
    lastFrameBrightest = BrightestAtCentre();
    brightestFrame = std::max(brightestFrame, lastFrameBrightest);
    real(display, drawable);
}

namespace {

class HardwareTestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vostrel-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
        WriteMachineKey(folder_ + "/machine", BuildInstallFolder());
        SetMachineRoot((folder_ + "/machine").c_str());
        SetMessageBoxSpy([this](const MessageBoxRequest& box) {
            boxes_.push_back(box);
            return BoxAnswer::Ok;
        });
        testResult = 0;
    }
    void TearDown() override {
        fakeRenderer = nullptr;
        std::filesystem::remove_all(folder_);
    }

    static bool HaveGl() {
        GlProbe* probe = CreateGlProbe();
        if (probe == nullptr) return false;
        DestroyGlProbe(probe);
        return true;
    }

    std::string folder_;
    std::vector<MessageBoxRequest> boxes_;
};

TEST_F(HardwareTestTest, VerdictAndPictureFollowTheRenderer) {
    if (!HaveGl()) GTEST_SKIP() << "no GL on an X display";
    struct Case {
        const char* renderer;  // null: this machine's own, a software rasteriser
        int result;
        int frames;
        BoxIcon icon;
        const char* verdict;
    };
    const char* failed =
        "3D Hardware Acceleration Test FAILED!\nVostrel ScreenSaver may not work properly\non "
        "your system.";
    // One dialog's tests in a row, each a whole run of its own.
    const Case cases[] = {
        {nullptr, 0, 0, BoxIcon::Warning, failed},
        {"NVIDIA GeForce RTX 3060/PCIe/SSE2", 1, 101, BoxIcon::Information,
         "3D Hardware Acceleration Test OK."},
        {"virgl (Intel(R) UHD Graphics 620)", 2, 101, BoxIcon::Information,
         "3D Hardware Acceleration Test OK!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.renderer != nullptr ? c.renderer : "this machine's renderer");
        fakeRenderer = c.renderer;
        swaps = brightestFrame = lastFrameBrightest = 0;
        boxes_.clear();
        RunDialogHardwareTest();
        EXPECT_EQ(testResult, c.result);
        EXPECT_EQ(swaps, c.frames);
        if (c.frames > 0) {
            EXPECT_GT(brightestFrame, 0);      // the picture was drawn ...
            EXPECT_EQ(lastFrameBrightest, 0);  // ... and had faded out by the last frame
        }
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].owner, 0u);
        EXPECT_EQ(boxes_[0].title, "Vostrel ScreenSaver");
        EXPECT_EQ(boxes_[0].icon, c.icon);
        EXPECT_EQ(boxes_[0].text, c.verdict);
        // The window went, and the pointer is shown again.
        EXPECT_EQ(GetDrawingContext(saverWindow), 0u);
        EXPECT_EQ(saverContext, nullptr);
    }
}

TEST_F(HardwareTestTest, OkAfterTheTestStoresWhatOkAloneStores) {
    if (!HaveGl()) GTEST_SKIP() << "no GL on an X display";
    const std::string keyFile = folder_ + "/config/vostrel/Software/VostrelSaver.reg";
    auto storeWithOk = [&](bool testFirst) {
        std::filesystem::remove(keyFile);
        ConfigDialog dialog({"", "", RunDialogHardwareTest});
        FakeDialogView view;
        dialog.Initialise(view);
        dialog.Command(view, kIdDebug);
        dialog.Command(view, static_cast<int>(kResolution800));
        view.texts[kIdCaption] = "abc";
        if (testFirst) dialog.Command(view, kIdHardwareTest);
        dialog.Command(view, kIdOk);
        EXPECT_TRUE(view.ended);
        std::ifstream in(keyFile);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string alone = storeWithOk(false);
    const std::string afterTest = storeWithOk(true);
    EXPECT_NE(alone.find("\"vostrel\"=\"ABC\""), std::string::npos);
    EXPECT_EQ(afterTest, alone);
}

}  // namespace
