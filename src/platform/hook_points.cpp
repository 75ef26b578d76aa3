// The hook points as the shipped programs have them: no stand-in anywhere, every call goes to
// the system. Nothing else may live in this file (see hook_points.h).
#include "platform/hook_points.h"

std::optional<BoxAnswer> StandInBoxAnswer(const MessageBoxRequest&) {
    return std::nullopt;
}

bool StandInTookSoundEffect(const std::string&) {
    return false;
}

void WatchAudioEngineCall(const char*) {}

std::optional<std::vector<std::string>> StandInCdDrives() {
    return std::nullopt;
}

std::optional<std::string> StandInMachineRoot() {
    return std::nullopt;
}
