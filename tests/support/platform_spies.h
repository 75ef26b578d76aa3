// The tests' way into the platform's hook points (platform/hook_points.h): spies that see
// boxes, sound effects and audio engine calls, and stand-ins for the drives and the
// registry's machine root. platform_spies.cpp defines the hook points themselves, so it is
// linked into test programs alone; ResetProcessState (process_state.h) empties them all but
// the boxes' spy, which it sets to fail the test.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"

using MessageBoxSpy = std::function<BoxAnswer(const MessageBoxRequest&)>;
using SoundEffectSpy = void (*)(const std::string& path);
using AudioEngineTrace = void (*)(const char* call);

// With an empty function, boxes are the system's again.
void SetMessageBoxSpy(MessageBoxSpy spy);
void SetSoundEffectSpy(SoundEffectSpy spy);
void SetAudioEngineTrace(AudioEngineTrace trace);
void SetCdDrives(std::vector<std::string> images);
// nullptr returns to the machine root beside the program.
void SetMachineRoot(const char* folder);
void ResetPlatformSpies();

const char* BoxIconName(BoxIcon icon);
