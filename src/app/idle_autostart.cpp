#include "app/idle_autostart.h"

#include <cstdio>
#include <cstdlib>

#include "platform/autostart.h"

namespace {

constexpr char kEntryName[] = "vostrel-idle";

// An argument of an Exec line: quoted, with the characters the Exec rules reserve inside
// quotes escaped by a backslash, and every backslash doubled, since the entry's string values
// unescape once more.
std::string ExecArgument(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        // The Exec rules' escape, a backslash, written as a string value writes one.
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += "\\\\";
        if (c == '\\') {
            quoted += "\\\\";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace

std::string IdleAutostartEntry(const std::string& program, const std::string& waitText) {
    std::string exec = ExecArgument(program);
    if (!waitText.empty()) exec += " --wait " + ExecArgument(waitText);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Vostrel idle watch\n"
           "Comment=Starts the Vostrel screen saver when the session is idle\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=vostrel\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

int EnableIdleAutostart(const std::string& program, const std::string& waitText) {
    if (!WriteAutostartEntry(kEntryName, IdleAutostartEntry(program, waitText))) {
        std::fprintf(stderr, "vostrel-idle: could not write %s\n",
                     AutostartEntryPath(kEntryName).c_str());
        return EXIT_FAILURE;
    }
    std::printf("vostrel-idle starts with your next session (%s)\n",
                AutostartEntryPath(kEntryName).c_str());
    return EXIT_SUCCESS;
}

int DisableIdleAutostart() {
    if (!RemoveAutostartEntry(kEntryName)) {
        std::fprintf(stderr, "vostrel-idle: could not remove %s\n",
                     AutostartEntryPath(kEntryName).c_str());
        return EXIT_FAILURE;
    }
    std::printf("vostrel-idle no longer starts with your sessions\n");
    return EXIT_SUCCESS;
}
