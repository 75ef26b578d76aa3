// vostrel-render: renders frames of the show offscreen to PNG files.
#include <string>
#include <vector>

#include "app/offscreen_render.h"

int main(int argc, char** argv) {
    return RunOffscreenRender(std::vector<std::string>(argv + 1, argv + argc));
}
