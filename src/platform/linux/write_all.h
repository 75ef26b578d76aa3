// WriteAll: the whole of `content` to a descriptor, through short writes and signals. False on
// any error, and on a write that makes no progress (a full device can answer 0 for ever).
#pragma once
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <string_view>

inline bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}
