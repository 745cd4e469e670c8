// Bounded waiting shared by the dispatcher and the backends.
#include <algorithm>
#include <chrono>
#include <poll.h>

#include "port_types.h"

namespace kt::port {
namespace {

std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

Deadline::Deadline(int ms) : end_(nowMs() + ms) { }

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

Transfer readFirstArrival(int fd, unsigned char *buffer, std::size_t n, int boundMs,
                          ssize_t (*readSome)(int fd, unsigned char *buffer, std::size_t n))
{
    if (!waitFor(fd, POLLIN, boundMs))
        return {};
    const ssize_t r = readSome(fd, buffer, n);
    if (r < 0 && retryable(errno))
        return {};
    return {r, r < 0 ? errno : 0};
}

} // namespace kt::port
