// The tests' way into the platform's hook points: spies that see boxes, sound effects and
// audio engine calls, and stand-ins for the drives and the registry's machine root. Linked
// into test programs alone; ResetProcessState (process_state.h) empties them all but the
// boxes' spy, which it sets to fail the test.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/hook_points.h"

using MessageBoxSpy = std::function<BoxAnswer(const MessageBoxRequest&)>;
using SoundEffectSpy = void (*)(const std::string& path);
using AudioEngineTrace = void (*)(const char* call);

// With an empty function, boxes are the system's again.
inline void SetMessageBoxSpy(MessageBoxSpy spy) {
    platformHooks.messageBox = std::move(spy);
}

inline void SetSoundEffectSpy(SoundEffectSpy spy) {
    platformHooks.soundEffect = spy;
}

inline void SetAudioEngineTrace(AudioEngineTrace trace) {
    platformHooks.audioCall = trace;
}

inline void SetCdDrives(std::vector<std::string> images) {
    platformHooks.cdDrives = std::move(images);
}

// nullptr returns to the machine root beside the program.
inline void SetMachineRoot(const char* folder) {
    platformHooks.machineRoot =
        folder != nullptr ? std::optional<std::string>(folder) : std::nullopt;
}

inline const char* BoxIconName(BoxIcon icon) {
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
