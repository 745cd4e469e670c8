#include "port_tcp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
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

int connectOnce(const sockaddr *address, socklen_t length, int ms, int &error)
{
    UniqueFd fd(::socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) {
        error = errno;
        return kNoSocket;
    }
    if (::connect(fd.get(), address, length) == 0 || errno == EISCONN)
        return fd.release();
    error = errno;
    if (errno != EINPROGRESS)
        return -1;
    error = ETIMEDOUT;
    if (!waitFor(fd.get(), POLLOUT, ms))
        return -1;
    int soError = 0;
    socklen_t len = sizeof soError;
    if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &soError, &len) != 0)
        soError = errno;
    if (soError == 0)
        return fd.release();
    error = soError;
    return -1;
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
        const int fd = connectOnce(reinterpret_cast<const sockaddr *>(&sa), sizeof sa,
                                   deadline.remainingMs(), lastError);
        if (fd >= 0)
            return fd;
        if (fd == kNoSocket || deadline.passed())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    errno = lastError;
    return -1;
}

int connectHost(const char *host, std::uint16_t port, int budgetMs)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo *found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host, service.c_str(), &hints, &found) != 0 || !found) {
        errno = EADDRNOTAVAIL;
        return -1;
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo *)> owned(found, ::freeaddrinfo);
    const Deadline deadline(budgetMs);
    int error = EADDRNOTAVAIL;
    for (const addrinfo *a = found; a && !deadline.passed(); a = a->ai_next) {
        const int fd = connectOnce(a->ai_addr, a->ai_addrlen, deadline.remainingMs(), error);
        if (fd >= 0)
            return fd;
        if (fd == kNoSocket)
            break;
    }
    errno = deadline.passed() ? ETIMEDOUT : error;
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

// The host of the request by name or numeric address (IPv4 or IPv6), the
// port number in baud, one connect within the TCP bound.
Status openHost(const OpenRequest &request, Opened &opened)
{
    if (!request.text || !*request.text || request.baud < 1 || request.baud > 65535)
        return {EINVAL};
    opened.fd = connectHost(request.text, static_cast<std::uint16_t>(request.baud),
                            request.connectMs > 0 ? request.connectMs : kConnectBudgetMs);
    return {opened.fd < 0 ? errno : 0};
}

} // namespace

const Operations tcpOperations{Kind::Tcp, openTCP, closeTCP, sendSome, readTCP, kTcpWriteMs};
const Operations tcpHostOperations{Kind::Tcp, openHost, closeTCP, sendSome, readTCP, kTcpWriteMs};

} // namespace kt::port
