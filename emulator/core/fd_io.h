// Descriptor helpers of the transports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

#include "status.h"

namespace kt::emu {

// Owns a descriptor and closes it.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) { }
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd &&other) noexcept : fd_(other.release()) { }
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1);

private:
    int fd_;
};

// Raw mode for a terminal (a pseudo-terminal standing in for a serial
// line): no echo, no line editing, no translation. Fails if it is none.
Status makeRaw(int fd);
Status setNonBlocking(int fd);

// Makes room for `needed` open descriptors in this process: raises the soft
// limit towards the hard one when it is lower. Fails, naming both numbers,
// when even the hard limit is too low.
Status ensureDescriptors(std::size_t needed);

// One write without waiting: the bytes taken (0 when there is no room), or
// -1 with errno set when the peer is gone. A socket closed by its peer
// raises no SIGPIPE.
ssize_t writeSome(int fd, const std::uint8_t *bytes, std::size_t size);

} // namespace kt::emu
