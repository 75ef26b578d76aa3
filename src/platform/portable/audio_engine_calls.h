// What the audio engine's files share beyond the output: the test trace and the
// release of the MP3s when the engine closes.
#pragma once

// Names an engine call to the hook point that watches them (platform/hook_points.h).
void TraceAudioCall(const char* call);

// Takes every loaded MP3 out of the mix and releases it.
void ReleaseLoadedMp3s();
