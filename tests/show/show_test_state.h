// Puts the process-wide records the show reads back to a fresh run's values: default
// settings, saver mode, an install folder, a generator that has not drawn yet.
#pragma once

void ResetShowForTest();
