// The first-copy claim on Linux: bind() on an abstract unix socket address succeeds for one
// socket at a time, and the socket is closed by the kernel when its process ends, even by
// SIGKILL, so a crashed first copy never leaves the others silent. The address is named after
// the claim and the user id, and no file is ever created.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "platform/first_copy.h"

bool ClaimFirstCopy(const char* name) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const std::string address = std::string(name) + "-" + std::to_string(getuid());
    sockaddr_un socketAddress{};
    socketAddress.sun_family = AF_UNIX;
    // sun_path[0] stays 0: that is what puts the address in the abstract namespace.
    const std::size_t length = std::min(address.size(), sizeof socketAddress.sun_path - 1);
    std::memcpy(socketAddress.sun_path + 1, address.data(), length);
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&socketAddress), size) == 0) return true;
    close(fd);
    return false;
}
