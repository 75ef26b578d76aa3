// Writes the configuration dialog's resource script.
// Usage: vostrel-dialog-rc <resource folder> <output .rc>
#include <cstdio>
#include <fstream>

#include "dialog_resource/dialog_resource.h"
#include "settings/dialog_template.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <resource folder> <output .rc>\n", argv[0]);
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << DialogResourceScript(ConfigDialogTemplate(), argv[1]);
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
