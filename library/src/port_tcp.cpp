#include "port_tcp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace kt::port {

std::optional<Address> parseIP(const char *text)
{
    if (!text)
        return std::nullopt;
    Address a{};
    const char *p = text;
    for (std::size_t part = 0; part < a.size(); ++part) {
        if (part > 0 && *p++ != '.')
            return std::nullopt;
        if (*p < '0' || *p > '9')
            return std::nullopt;
        unsigned value = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            value = value * 10 + static_cast<unsigned>(*p - '0');
            if (value > 255)
                return std::nullopt;
        }
        a[part] = static_cast<std::uint8_t>(value);
    }
    if (*p != '\0')
        return std::nullopt;
    return a;
}

bool isAddressPort(const char *text)
{
    if (!text)
        return false;
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    while (*p != 0 && *p <= 32)
        ++p;
    return *p >= '0' && *p <= '9';
}

int connectTCP(const Address &address, std::uint16_t port, int budgetMs)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    std::uint32_t host = 0;
    for (std::uint8_t b : address)
        host = (host << 8) | b;
    sa.sin_addr.s_addr = htonl(host);

    const Deadline deadline(budgetMs);
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return -1;
        int r = ::connect(fd, reinterpret_cast<const sockaddr *>(&sa), sizeof sa);
        if (r == 0 || errno == EISCONN)
            return fd;
        if (errno == EINPROGRESS && waitFor(fd, POLLOUT, deadline.remainingMs())) {
            int error = 0;
            socklen_t len = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0)
                return fd;
        }
        ::close(fd);
        if (deadline.passed())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

int openTCP(const char *text, int32_t port, Connection &c)
{
    const auto address = parseIP(text);
    if (!address)
        return 1;
    // A port number outside 1..65535 would wrap to some other port.
    if (port < 1 || port > 65535)
        return 1;
    c.fd = connectTCP(*address, static_cast<std::uint16_t>(port));
    return c.fd < 0 ? 1 : 0;
}

void closeTCP(int fd)
{
    ::shutdown(fd, SHUT_WR);
    // Unread input would make close() reset the connection, and a reset can
    // make the printer drop bytes it has not read yet; take it off first.
    unsigned char sink[4096];
    for (int i = 0; i < 16 && ::recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0; ++i) {
    }
    ::shutdown(fd, SHUT_RD);
    ::close(fd);
}

} // namespace kt::port
