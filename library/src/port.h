// One open connection to a printer, found from the exports' port text, baud
// and caller handle, and the bounded reads and writes on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace kt::port {

enum class Kind { Usb, Tcp, Named };

// "usb" in any case is USB; a text whose first character above blank is a
// digit is a TCP address; everything else, NULL included, is a named port.
Kind classify(const char *text);

struct Connection {
    int fd = -1;
    Kind kind = Kind::Named;
    bool callerOwned = false; // a caller's handle: used as it stands, never closed
};

// Opens by the port text. For TCP `baud` is the port number; `hdv` matters
// only for named ports; `purge` flushes a named port after opening.
// Returns 0 with c.fd open, or non-zero with c.fd == -1.
int open(const char *text, int32_t baud, int32_t hdv, bool purge, Connection &c);

// Closes what open() opened (TCP: shutdown first); a caller's handle stays open.
void close(Connection &c);

// Upper bounds of one write of a chunk, in milliseconds.
constexpr int kNamedWriteMs = 2000; // the serial write time-out
constexpr int kUsbWriteMs = 5000;
constexpr int kTcpWriteMs = 5000;
// Upper bounds of the wait for the first reply byte.
constexpr int kUsbReadMs = 500;
constexpr int kTcpReadMs = 2000;

// Writes all n bytes, waiting for the port at most its write bound.
// Returns the bytes written; -1 when the port failed or the bound passed
// before everything went out (errno tells which: ETIMEDOUT for the bound).
ssize_t writeBounded(const Connection &c, const void *data, std::size_t n);

// Reads once, up to n bytes. Named ports give what has arrived within
// about 1 + n milliseconds; USB and TCP wait for the first bytes up to
// their read bound. Returns the count (0: nothing arrived) or -1.
ssize_t readOnce(const Connection &c, void *buffer, std::size_t n);

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

// Handles are printed with %p in the log lines; -1 prints as all ones.
inline void *logHandle(int fd) { return reinterpret_cast<void *>(static_cast<std::intptr_t>(fd)); }

// "(null)" for a missing text, so that %s never sees a null pointer.
inline const char *logText(const char *s) { return s ? s : "(null)"; }

} // namespace kt::port
