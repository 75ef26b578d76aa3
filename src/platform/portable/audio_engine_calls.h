// What the audio engine's files share beyond the output: the release of the MP3s when the
// engine closes. Each engine call is named to WatchAudioEngineCall (platform/hook_points.h).
#pragma once

// Takes every loaded MP3 out of the mix and releases it.
void ReleaseLoadedMp3s();
