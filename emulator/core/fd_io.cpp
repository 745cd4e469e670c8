#include "fd_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace kt::emu {
namespace {

Status failed(const char *what, int fd)
{
    return Status::failure(std::string(what) + " on descriptor " + std::to_string(fd) + ": "
                           + std::strerror(errno));
}

} // namespace

void UniqueFd::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

Status makeRaw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return failed("tcgetattr", fd);
    ::cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &t) != 0)
        return failed("tcsetattr", fd);
    return Status::success();
}

Status setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        return failed("fcntl", fd);
    return Status::success();
}

Status ensureDescriptors(std::size_t needed)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return Status::failure(std::string("getrlimit: ") + std::strerror(errno));
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed)
        return Status::success();
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < needed)
        return Status::failure("needs " + std::to_string(needed)
                               + " open descriptors, but the hard limit is "
                               + std::to_string(limit.rlim_max)
                               + " (raise it, e.g. ulimit -Hn, or serve fewer printers)");
    limit.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
        return Status::failure(std::string("setrlimit: ") + std::strerror(errno));
    return Status::success();
}

ssize_t writeSome(int fd, const std::uint8_t *bytes, std::size_t size)
{
    ssize_t n = ::send(fd, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && errno == ENOTSOCK)
        n = ::write(fd, bytes, size);
    if (n >= 0)
        return n;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

} // namespace kt::emu
