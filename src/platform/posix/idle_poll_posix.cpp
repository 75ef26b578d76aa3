#include <poll.h>

#include <vector>

#include "platform/idle_poll.h"

void SleepUntilReadable(int own, int timeoutMs, std::span<const int> alsoWatched) {
    std::vector<pollfd> watched{{own, POLLIN, 0}};
    for (int descriptor : alsoWatched) watched.push_back({descriptor, POLLIN, 0});
    poll(watched.data(), watched.size(), timeoutMs);
}
