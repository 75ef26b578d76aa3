// Hook points: where a test program watches the platform's calls or stands in for the world
// outside the process. Each is empty unless a test program fills it (through
// tests/support/platform_spies.h); the saver's own programs never do, so their every call goes
// to the system. Only the platform's own files include this header: the other layers' include
// roots leave it out.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_box.h"

struct PlatformHooks {
    // Receives every message box and gives its answer; no dialog appears while it is set.
    std::function<BoxAnswer(const MessageBoxRequest&)> messageBox;
    // Receives every sound effect instead of the speakers.
    void (*soundEffect)(const std::string& path) = nullptr;
    // Receives the name of every audio engine call as it is made ("init", "load song",
    // "play song", "stop song", "free song", "load mp3", "play mp3", "cd play", "cd stop",
    // "close").
    void (*audioCall)(const char* call) = nullptr;
    // Disc images (.cue files that libcdio reads as drives), searched in place of the
    // machine's drives and in the same way.
    std::optional<std::vector<std::string>> cdDrives;
    // The registry's machine root, in place of the one found beside the program.
    std::optional<std::string> machineRoot;
};

inline PlatformHooks platformHooks;
