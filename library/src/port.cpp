// The dispatcher: classifies the port text and forwards to the backend's
// operations table.
#include "port.h"

#include <array>
#include <poll.h>
#include <strings.h>

namespace kt::port {
namespace {

constexpr std::array<const Operations *, 3> kBackends{&usbOperations, &tcpOperations,
                                                      &namedOperations};

const Operations &operationsFor(Kind kind)
{
    for (const Operations *ops : kBackends)
        if (ops->kind == kind)
            return *ops;
    return namedOperations;
}

} // namespace

bool isAddressPort(const char *text)
{
    if (!text)
        return false;
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    while (*p != 0 && *p <= 32)
        ++p;
    return *p >= '0' && *p <= '9';
}

Kind classify(const char *text)
{
    if (text && strcasecmp(text, "usb") == 0)
        return Kind::Usb;
    if (isAddressPort(text))
        return Kind::Tcp;
    return Kind::Named;
}

Status Connection::open(const OpenRequest &request)
{
    return open(operationsFor(classify(request.text)), request);
}

Status Connection::open(const Operations &backend, const OpenRequest &request)
{
    close();
    ops_ = &backend;
    handle_ = Opened{};
    return ops_->open(request, handle_);
}

void Connection::close()
{
    if (ops_ && handle_.fd >= 0 && !handle_.callerOwned)
        ops_->close(handle_.fd);
    handle_ = Opened{};
}

Transfer Connection::write(const void *data, std::size_t n)
{
    const auto *p = static_cast<const unsigned char *>(data);
    const Deadline d(ops_->writeBoundMs);
    std::size_t done = 0;
    while (done < n) {
        // Wait for room first: a caller's handle may be in blocking mode.
        if (!waitFor(handle_.fd, POLLOUT, d.remainingMs()))
            return {-1, ETIMEDOUT};
        const ssize_t r = ops_->writeSome(handle_.fd, p + done, n - done);
        if (r > 0)
            done += static_cast<std::size_t>(r);
        else if (r < 0 && !retryable(errno))
            return {-1, errno};
        else if (d.passed())
            return {-1, ETIMEDOUT};
    }
    return {static_cast<ssize_t>(done), 0};
}

Transfer Connection::read(void *buffer, std::size_t n)
{
    if (n == 0)
        return {};
    return ops_->read(handle_.fd, static_cast<unsigned char *>(buffer), n);
}

} // namespace kt::port

namespace kt::port {

Transfer Connection::readWithin(void *buffer, std::size_t n, int ms)
{
    if (n == 0)
        return {};
    const Transfer t
        = readFirstArrival(handle_.fd, static_cast<unsigned char *>(buffer), n, ms, readDescriptor);
    // Ready to read and nothing there: the peer has hung up.
    if (!t.failed() && t.count == 0 && waitFor(handle_.fd, POLLIN, 0))
        return {-1, ECONNRESET};
    return t;
}

void Connection::discardInput()
{
    unsigned char sink[256];
    for (int i = 0; i < 64 && waitFor(handle_.fd, POLLIN, 0); ++i)
        if (readDescriptor(handle_.fd, sink, sizeof sink) <= 0)
            return;
}

} // namespace kt::port
