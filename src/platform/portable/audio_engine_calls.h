// What the audio engine's files share beyond the output: the test trace and the
// release of the MP3s when the engine closes.
#pragma once

// Names an engine call to the test trace, when one is set.
void TraceAudioCall(const char* call);

// Takes every loaded MP3 out of the mix and releases it.
void ReleaseLoadedMp3s();
