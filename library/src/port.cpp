#include "port.h"

#include "port_named.h"
#include "port_tcp.h"
#include "port_usb.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kt::port {
namespace {

std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int writeBoundMs(Kind kind)
{
    switch (kind) {
    case Kind::Usb: return kUsbWriteMs;
    case Kind::Tcp: return kTcpWriteMs;
    case Kind::Named: break;
    }
    return kNamedWriteMs;
}

bool retryable(int e) { return e == EAGAIN || e == EWOULDBLOCK || e == EINTR; }

// Serial read time-outs: the whole read may take 1 ms plus 1 ms per byte
// asked for, and it ends once the line has been quiet for 1 ms.
ssize_t readNamed(int fd, unsigned char *buffer, std::size_t n)
{
    const Deadline total(static_cast<int>(std::min<std::size_t>(n, 60000)) + 1);
    std::size_t got = 0;
    while (got < n) {
        const int wait = got ? std::min(1, total.remainingMs()) : total.remainingMs();
        if (!waitFor(fd, POLLIN, std::max(wait, 0)))
            break;
        const ssize_t r = ::read(fd, buffer + got, n - got);
        if (r < 0 && retryable(errno))
            continue;
        if (r < 0)
            return got ? static_cast<ssize_t>(got) : -1;
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
        if (total.passed())
            break;
    }
    return static_cast<ssize_t>(got);
}

} // namespace

Deadline::Deadline(int ms) : end_(nowMs() + ms) {}

int Deadline::remainingMs() const
{
    const std::int64_t left = end_ - nowMs();
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, 1 << 30));
}

bool waitFor(int fd, short events, int ms)
{
    const Deadline d(ms);
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, d.remainingMs());
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR || d.passed())
            return false;
    }
}

Kind classify(const char *text)
{
    if (text && strcasecmp(text, "usb") == 0)
        return Kind::Usb;
    if (isAddressPort(text))
        return Kind::Tcp;
    return Kind::Named;
}

int open(const char *text, int32_t baud, int32_t hdv, bool purge, Connection &c)
{
    c = Connection{};
    c.kind = classify(text);
    switch (c.kind) {
    case Kind::Usb: return openUSB(c);
    case Kind::Tcp: return openTCP(text, baud, c);
    case Kind::Named: break;
    }
    return openCOM(text, baud, hdv, purge, c);
}

void close(Connection &c)
{
    if (c.fd >= 0 && !c.callerOwned) {
        if (c.kind == Kind::Tcp)
            closeTCP(c.fd);
        else
            ::close(c.fd);
    }
    c.fd = -1;
}

ssize_t writeBounded(const Connection &c, const void *data, std::size_t n)
{
    const auto *p = static_cast<const unsigned char *>(data);
    const Deadline d(writeBoundMs(c.kind));
    std::size_t done = 0;
    while (done < n) {
        // Wait for room first: a caller's handle may be in blocking mode.
        if (!waitFor(c.fd, POLLOUT, d.remainingMs())) {
            errno = ETIMEDOUT;
            return -1;
        }
        const ssize_t r = c.kind == Kind::Tcp
                              ? ::send(c.fd, p + done, n - done, MSG_NOSIGNAL)
                              : ::write(c.fd, p + done, n - done);
        if (r > 0)
            done += static_cast<std::size_t>(r);
        else if (r < 0 && !retryable(errno))
            return -1;
        else if (d.passed()) {
            errno = ETIMEDOUT;
            return -1;
        }
    }
    return static_cast<ssize_t>(done);
}

ssize_t readOnce(const Connection &c, void *buffer, std::size_t n)
{
    if (n == 0)
        return 0;
    auto *b = static_cast<unsigned char *>(buffer);
    if (c.kind == Kind::Named)
        return readNamed(c.fd, b, n);
    if (!waitFor(c.fd, POLLIN, c.kind == Kind::Tcp ? kTcpReadMs : kUsbReadMs))
        return 0;
    const ssize_t r = c.kind == Kind::Tcp ? ::recv(c.fd, b, n, 0) : ::read(c.fd, b, n);
    if (r < 0 && retryable(errno))
        return 0;
    return r;
}

} // namespace kt::port
