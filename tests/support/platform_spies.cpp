// The hook points as the test programs have them: each goes to the spy or stand-in a test
// set, and to the system when none is set. Defining every hook point here keeps the
// platform library's own definitions (platform/hook_points.cpp) out of the test programs.
#include "platform_spies.h"

#include <optional>
#include <utility>

#include "platform/hook_points.h"

namespace {

struct PlatformSpies {
    MessageBoxSpy messageBox;
    SoundEffectSpy soundEffect = nullptr;
    AudioEngineTrace audioCall = nullptr;
    std::optional<std::vector<std::string>> cdDrives;
    std::optional<std::string> machineRoot;
};

PlatformSpies spies;

}  // namespace

std::optional<BoxAnswer> StandInBoxAnswer(const MessageBoxRequest& request) {
    if (!spies.messageBox) return std::nullopt;
    return spies.messageBox(request);
}

bool StandInTookSoundEffect(const std::string& path) {
    if (spies.soundEffect == nullptr) return false;
    spies.soundEffect(path);
    return true;
}

void WatchAudioEngineCall(const char* call) {
    if (spies.audioCall != nullptr) spies.audioCall(call);
}

std::optional<std::vector<std::string>> StandInCdDrives() {
    return spies.cdDrives;
}

std::optional<std::string> StandInMachineRoot() {
    return spies.machineRoot;
}

void SetMessageBoxSpy(MessageBoxSpy spy) {
    spies.messageBox = std::move(spy);
}

void SetSoundEffectSpy(SoundEffectSpy spy) {
    spies.soundEffect = spy;
}

void SetAudioEngineTrace(AudioEngineTrace trace) {
    spies.audioCall = trace;
}

void SetCdDrives(std::vector<std::string> images) {
    spies.cdDrives = std::move(images);
}

void SetMachineRoot(const char* folder) {
    spies.machineRoot = folder != nullptr ? std::optional<std::string>(folder) : std::nullopt;
}

void ResetPlatformSpies() {
    spies = PlatformSpies{};
}

const char* BoxIconName(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error:
            return "error";
        case BoxIcon::Warning:
            return "warning";
        case BoxIcon::Question:
            return "question";
        case BoxIcon::Information:
            return "information";
    }
    return "information";
}
