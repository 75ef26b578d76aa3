// Hook points: where a test program watches the platform's calls or stands in for the world
// outside the process. A link seam, so that nothing of it can be switched on in a shipped
// program: the programs link hook_points.cpp, where every hook point answers "no stand-in"
// and the call goes to the system; a test program defines all of them itself
// (tests/support/platform_spies.cpp), and the linker then never takes hook_points.cpp's
// object from the platform library. A test program that defined only some would get both
// definitions of the rest and fail to link, which is why they all live in that one file.
// Only the platform's own files include this header: the other layers' include roots leave
// it out.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/message_box.h"

// The answer to a box that no dialog should show, or nothing for the system's own box.
std::optional<BoxAnswer> StandInBoxAnswer(const MessageBoxRequest& request);
// True when a sound effect was taken instead of reaching the speakers.
bool StandInTookSoundEffect(const std::string& path);
// Sees the name of every audio engine call as it is made ("init", "load song", "play song",
// "stop song", "free song", "load mp3", "play mp3", "cd play", "cd stop", "close").
void WatchAudioEngineCall(const char* call);
// Disc images (.cue files that libcdio reads as drives), to search in place of the
// machine's drives and in the same way; nothing for the machine's drives.
std::optional<std::vector<std::string>> StandInCdDrives();
// The registry's machine root in place of the one found beside the program, or nothing.
std::optional<std::string> StandInMachineRoot();
