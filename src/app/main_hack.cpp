// vostrel-hack: the saver as a screen-saver host's hack (XScreenSaver, MATE, Xfce). It has a
// program of its own because `vostrel`'s command line would read the hosts' -root as a
// configuration request.
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/host_arguments.h"
#include "app/host_mode.h"
#include "platform/desktop.h"

namespace {

constexpr int kUsageExitStatus = 2;

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const HostArguments host = ParseHostArguments(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    if (!host.valid) {
        std::fprintf(stderr, "vostrel-hack: %s\n%s", host.error.c_str(), kHostUsage);
        return kUsageExitStatus;
    }
    ChooseWindowSystemForForeignWindows();
    const WindowId window = host.root ? DesktopWindow() : host.window;
    if (window == 0) {
        std::fprintf(stderr, "vostrel-hack: no X display to draw on\n");
        return EXIT_FAILURE;
    }
    return RunHostMode(window);
}
