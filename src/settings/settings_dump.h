// The settings part of the debug report, written by the saver run once the video mode is chosen.
#pragma once

// Writes the settings that shape the run (detail level, audio, paths, switches, caption),
// ending with the heading of the video-mode steps.
void LogSettingsDump();
