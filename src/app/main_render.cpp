// vostrel-render: renders frames of the show offscreen to PNG files.
#include <cstdio>

int main() {
    std::fprintf(stderr, "vostrel-render: the offscreen renderer is not built yet\n");
    return 2;
}
