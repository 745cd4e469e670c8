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
    int lastError = ETIMEDOUT;
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (fd.get() < 0)
            return -1;
        const int r = ::connect(fd.get(), reinterpret_cast<const sockaddr *>(&sa), sizeof sa);
        if (r == 0 || errno == EISCONN)
            return fd.release();
        lastError = errno;
        if (errno == EINPROGRESS) {
            lastError = ETIMEDOUT;
            if (waitFor(fd.get(), POLLOUT, deadline.remainingMs())) {
                int error = 0;
                socklen_t len = sizeof error;
                if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &len) != 0)
                    error = errno;
                if (error == 0)
                    return fd.release();
                lastError = error;
            }
        }
        if (deadline.passed())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    errno = lastError;
    return -1;
}

namespace {

Status openTCP(const OpenRequest &request, Opened &opened)
{
    const auto address = parseIP(request.text);
    if (!address)
        return {EINVAL};
    // A port number outside 1..65535 would wrap to some other port.
    if (request.baud < 1 || request.baud > 65535)
        return {EINVAL};
    opened.fd = connectTCP(*address, static_cast<std::uint16_t>(request.baud));
    return {opened.fd < 0 ? errno : 0};
}

void closeTCP(int fd)
{
    ::shutdown(fd, SHUT_WR);
    // Unread input would make close() reset the connection, and a reset can
    // make the printer drop bytes it has not read yet; take it off first.
    unsigned char sink[4096];
    for (int i = 0; i < 16 && ::recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0; ++i) { }
    ::shutdown(fd, SHUT_RD);
    ::close(fd);
}

ssize_t sendSome(int fd, const unsigned char *data, std::size_t n)
{
    return ::send(fd, data, n, MSG_NOSIGNAL);
}

ssize_t receiveSome(int fd, unsigned char *buffer, std::size_t n)
{
    return ::recv(fd, buffer, n, 0);
}

Transfer readTCP(int fd, unsigned char *buffer, std::size_t n)
{
    return readFirstArrival(fd, buffer, n, kTcpReadMs, receiveSome);
}

} // namespace

const Operations tcpOperations{Kind::Tcp, openTCP, closeTCP, sendSome, readTCP, kTcpWriteMs};

} // namespace kt::port
