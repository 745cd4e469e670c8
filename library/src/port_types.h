// Types shared by the port dispatcher (port.cpp) and its backends (USB,
// named ports, TCP): every backend offers the same entry points through one
// Operations table, and the dispatcher only looks the table up.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace kt::port {

enum class Kind { Usb, Tcp, Named };

// The arguments an export opens a port with.
struct OpenRequest {
    const char *text = nullptr; // the port text
    int32_t baud = 0;           // serial baud rate; the port number for TCP
    int32_t hdv = 0;            // caller handle, used by named ports
    bool purge = false;         // flush a named port after opening
    int connectMs = 0;          // TCP by host name: connect bound (0: the default)
};

// The outcome of an open: the system error number, 0 when it succeeded.
struct [[nodiscard]] Status {
    int error = 0;
    bool ok() const { return error == 0; }
};

// Bytes moved by one bounded write or read; -1 when it failed, and then
// the system error number.
struct [[nodiscard]] Transfer {
    ssize_t count = 0;
    int error = 0;
    bool failed() const { return count < 0; }
};

// A descriptor a backend opened, or the caller's own handle (never closed).
struct Opened {
    int fd = -1;
    bool callerOwned = false;
};

// One backend's entry points.
struct Operations {
    Kind kind;
    // Opens by the request; on failure leaves `opened` without a descriptor.
    Status (*open)(const OpenRequest &request, Opened &opened);
    // Closes a descriptor this backend opened.
    void (*close)(int fd);
    // One write attempt on a ready descriptor, write(2)'s contract.
    ssize_t (*writeSome)(int fd, const unsigned char *data, std::size_t n);
    // One read of up to n bytes within the backend's own bound; count 0
    // when nothing arrived.
    Transfer (*read)(int fd, unsigned char *buffer, std::size_t n);
    // Upper bound of one whole write, in milliseconds.
    int writeBoundMs;
};

extern const Operations usbOperations;
extern const Operations namedOperations;
extern const Operations tcpOperations;
// The command line's forms: TCP to a host name or any numeric address (text
// is the host, baud the port), a USB printer by an id fragment (text is the
// fragment, "vid_5e1b&" for any printer of the maker) or by its node path.
extern const Operations tcpHostOperations;
extern const Operations usbFragmentOperations;
extern const Operations usbNodeOperations;

// Upper bounds of one write of a chunk, in milliseconds.
constexpr int kNamedWriteMs = 2000; // the serial write time-out
constexpr int kUsbWriteMs = 5000;
constexpr int kTcpWriteMs = 5000;
// Upper bounds of the wait for the first reply byte.
constexpr int kUsbReadMs = 500;
constexpr int kTcpReadMs = 2000;

// A descriptor closed when it goes out of scope unless released.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) { }
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Milliseconds left until a deadline taken from a monotonic clock.
class Deadline {
public:
    explicit Deadline(int ms);
    int remainingMs() const;
    bool passed() const { return remainingMs() <= 0; }

private:
    std::int64_t end_;
};

// poll() on one fd for `events`, at most `ms`; true when ready.
bool waitFor(int fd, short events, int ms);

// Errors after which the same call may simply be made again.
inline bool retryable(int e) { return e == EAGAIN || e == EWOULDBLOCK || e == EINTR; }

// The plain descriptor calls, for backends whose port is a device node.
inline void closeDescriptor(int fd) { ::close(fd); }
inline ssize_t writeDescriptor(int fd, const unsigned char *data, std::size_t n)
{
    return ::write(fd, data, n);
}
inline ssize_t readDescriptor(int fd, unsigned char *buffer, std::size_t n)
{
    return ::read(fd, buffer, n);
}

// Waits up to boundMs for input, then reads once with readSome (USB and
// TCP: whatever the first arrival brought).
Transfer readFirstArrival(int fd, unsigned char *buffer, std::size_t n, int boundMs,
                          ssize_t (*readSome)(int fd, unsigned char *buffer, std::size_t n));

// Handles are printed with %p in the log lines; -1 prints as all ones.
inline void *logHandle(int fd) { return reinterpret_cast<void *>(static_cast<std::intptr_t>(fd)); }

// "(null)" for a missing text, so that %s never sees a null pointer.
inline const char *logText(const char *s) { return s ? s : "(null)"; }

} // namespace kt::port
