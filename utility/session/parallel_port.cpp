#include "session/parallel_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "session/basic_text.h"

namespace kt::session {
namespace {

IoStatus errorOf(int number) { return IoStatus::failure(number, std::strerror(number)); }

// Waits for the descriptor to become ready for events; false on time-out.
bool waitFor(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int n = ::poll(&p, 1, timeoutMs);
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0;
    }
}

} // namespace

std::string fileErrorMessage(const IoStatus &error)
{
    return "Error no " + numberText(error.number()) + ": " + error.description();
}

ParallelPort::ParallelPort(std::string device) : device_(std::move(device)) { }

// Nobody is left to be told of a failed close.
ParallelPort::~ParallelPort() { static_cast<void>(close()); }

IoStatus ParallelPort::open(bool forReading)
{
    // The port that was open is given up either way; opening tells what counts.
    static_cast<void>(close());
    const int flags = (forReading ? O_RDONLY : O_WRONLY) | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    fd_ = ::open(device_.c_str(), flags);
    if (fd_ < 0)
        return errorOf(errno);
    return IoStatus::success();
}

IoStatus ParallelPort::close()
{
    if (fd_ < 0)
        return IoStatus::success();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        return errorOf(errno);
    return IoStatus::success();
}

IoStatus ParallelPort::write(std::uint8_t byte, int timeoutMs)
{
    if (fd_ < 0)
        return errorOf(EBADF);
    for (;;) {
        const ssize_t n = ::write(fd_, &byte, 1);
        if (n == 1)
            return IoStatus::success();
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return errorOf(errno);
        if (!waitFor(fd_, POLLOUT, timeoutMs))
            return errorOf(ETIMEDOUT);
    }
}

std::string ParallelPort::read(std::size_t count, int firstByteMs, int gapMs)
{
    std::string data;
    if (fd_ < 0)
        return data;
    while (data.size() < count) {
        if (!waitFor(fd_, POLLIN, data.empty() ? firstByteMs : gapMs))
            break;
        char buffer[64];
        const std::size_t want = std::min(sizeof buffer, count - data.size());
        const ssize_t n = ::read(fd_, buffer, want);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

} // namespace kt::session
