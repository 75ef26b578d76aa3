// Puts the process-wide records the show reads back to a fresh run's values: default
// settings, saver mode, an install folder, a generator that has not drawn yet. The music, the
// MP3 and the CD are off (a test that wants them switches them on): each set-up with music
// opens the sound device, and an opening while the last test's closing is still under way
// (which a loaded machine can stretch past its wait) fails with an audio box.
#pragma once

void ResetShowForTest();
