// The one sleep of an idle source's wait: until `own` (the source's connection) or one of the
// caller's descriptors turns readable, or timeoutMs has passed (-1: no limit).
#pragma once
#include <span>

void SleepUntilReadable(int own, int timeoutMs, std::span<const int> alsoWatched);
