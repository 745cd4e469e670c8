// A loopback socket bound to an ephemeral port: connects to it are refused
// until listen() is called on fd.
#pragma once

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kt::test {

struct ReservedPort {
    ReservedPort()
    {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof sa;
        if (::bind(fd, reinterpret_cast<sockaddr *>(&sa), sizeof sa) != 0
            || ::getsockname(fd, reinterpret_cast<sockaddr *>(&sa), &len) != 0) {
            ::close(fd);
            throw std::runtime_error("cannot reserve a loopback port");
        }
        port = ntohs(sa.sin_port);
    }
    ~ReservedPort() { ::close(fd); }
    ReservedPort(const ReservedPort &) = delete;
    ReservedPort &operator=(const ReservedPort &) = delete;

    int fd = -1;
    std::uint16_t port = 0;
};

} // namespace kt::test
