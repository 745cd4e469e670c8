// sendx: open, send in 512-byte chunks, optionally read one reply, close.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>

#include "KT4000.h"
#include "diag_log.h"
#include "last_error.h"
#include "port.h"

namespace {

constexpr std::size_t kChunk = 512;
constexpr int kMarkQueries = 20;
constexpr auto kMarkPause = std::chrono::milliseconds(20);

void sleepMs(long ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Data bytes are logged as " %x", reply bytes as " %x ".
void logBytes(const unsigned char *p, std::size_t n, bool reply)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (reply)
            kt::diag::write(" %x ", p[i]);
        else
            kt::diag::write(" %x", p[i]);
    }
}

// Before every chunk but the first on TCP: wait for the socket to be past
// any out-of-band mark, pausing 20 ms per query, at most 20 queries.
void paceTcp(int fd, int &queries, int &result, unsigned long &mark)
{
    int value = 0;
    do {
        result = ::ioctl(fd, SIOCATMARK, &value);
        ++queries;
        std::this_thread::sleep_for(kMarkPause);
    } while ((result < 0 || value > 1) && queries < kMarkQueries);
    mark = static_cast<unsigned long>(value);
}

struct SendResult {
    bool ok = true;
    long lastCount = 0; // byte count the last write reported
    int error = 0;      // system error of the failed write or reply read
};

SendResult sendChunks(kt::port::Connection &c, const unsigned char *data, std::size_t length)
{
    const bool tcp = c.kind() == kt::port::Kind::Tcp;
    SendResult s;
    int skrv = 0;
    unsigned long mark = 0;
    for (std::size_t off = 0; off < length; off += kChunk) {
        const std::size_t chunk = std::min(kChunk, length - off);
        if (tcp) {
            int queries = 0;
            if (off > 0)
                paceTcp(c.fd(), queries, skrv, mark);
            kt::diag::write(" k=%d, skrv=%d, nob=%lu \n", queries, skrv, mark);
        }
        const kt::port::Transfer written = c.write(data + off, chunk);
        const int err = written.error;
        s.ok = written.count == static_cast<ssize_t>(chunk);
        s.lastCount = std::max<long>(written.count, 0);
        if (tcp) {
            skrv = written.failed() ? -1 : static_cast<int>(written.count);
            kt::diag::write(" WriteFile( %ld ), ok=%d, nob=%lu, skrv=%d, wsae=%d, lerr=%lx \n",
                            static_cast<long>(chunk), 1, mark, skrv, err,
                            static_cast<unsigned long>(err));
        } else {
            kt::diag::write(" WriteFile( %ld ), ok=%d, nob=%lu, skrv=%d, wsae=%d, lerr=%lx \n",
                            static_cast<long>(chunk), s.ok ? 1 : 0,
                            static_cast<unsigned long>(s.lastCount), 0, 0,
                            static_cast<unsigned long>(err));
        }
        if (!s.ok) {
            s.error = err;
            break;
        }
    }
    return s;
}

// What one call did on the port, kept for the closing log lines.
struct Exchange {
    kt::port::Status open;
    SendResult sent;
    bool replyRead = false;
    long replyCount = 0;
};

// Opens the port, sends the data, and reads one reply when asked. The
// connection is closed when this returns.
Exchange exchange(const kt::port::OpenRequest &request, const unsigned char *bytes,
                  std::size_t length, int32_t wait, int32_t size, void *reply)
{
    Exchange x;
    kt::port::Connection c;
    x.open = c.open(request);
    if (!x.open.ok())
        return x;
    const bool tcp = c.kind() == kt::port::Kind::Tcp;

    x.sent = sendChunks(c, bytes, length);
    kt::diag::write(" data out at %ld \n", kt::diag::now());
    kt::diag::flush();

    if (wait != 0 && reply != nullptr && x.sent.ok) {
        sleepMs(wait);
        const kt::port::Transfer r = c.read(reply, size > 0 ? static_cast<std::size_t>(size) : 0);
        x.replyRead = true;
        if (r.failed() && tcp) {
            x.sent.ok = false;
            x.sent.error = r.error;
        }
        // A failed read on the other ports counts as a read of nothing.
        x.replyCount = std::max<long>(r.count, 0);
    }

    // The printer gets time to take the bytes before the socket closes.
    if (tcp)
        sleepMs((x.replyRead ? x.replyCount : static_cast<long>(length)) / 7);
    return x;
}

using kt::last_error::Outcome;

Outcome send(const void *data, const char *port, int32_t baud, int32_t hdv, int32_t len,
             int32_t wait, int32_t size, void *reply)
{
    kt::diag::Session log;
    const auto *bytes = static_cast<const unsigned char *>(data);
    // No data is nothing to send.
    const std::size_t length = !bytes ? 0
        : len >= 1                    ? static_cast<std::size_t>(len)
                                      : std::strlen(static_cast<const char *>(data));

    kt::diag::write("\n in sendx: port=%s, baud=%ld, hdv=%ld, len=%ld, tm=%ld \n",
                    kt::port::logText(port), static_cast<long>(baud), static_cast<long>(hdv),
                    static_cast<long>(length), kt::diag::now());
    logBytes(bytes, length, false);
    kt::diag::write("\n");
    kt::diag::flush();

    const Exchange x = exchange({port, baud, hdv, true}, bytes, length, wait, size, reply);
    if (!x.open.ok())
        return kt::last_error::failure(KT_ERR_OPEN, x.open.error);

    kt::diag::write(" out sendx at %ld \n", kt::diag::now());
    if (wait != 0 && reply != nullptr) {
        kt::diag::write("\n sendx=%d, port=%s, baud=%ld, dw=%ld, nob=%lu \n", x.sent.ok ? 1 : 0,
                        kt::port::logText(port), static_cast<long>(baud),
                        x.replyRead ? x.replyCount : static_cast<long>(length),
                        static_cast<unsigned long>(x.replyRead ? x.replyCount : x.sent.lastCount));
        logBytes(static_cast<const unsigned char *>(reply), static_cast<std::size_t>(x.replyCount),
                 true);
        kt::diag::write("\n");
    }
    return x.sent.ok ? kt::last_error::success(KT_OK)
                     : kt::last_error::failure(KT_ERR_IO, x.sent.error);
}

} // namespace

int32_t sendx(const void *data, const char *port, int32_t baud, int32_t hdv, int32_t len,
              int32_t wait, int32_t size, void *reply)
{
    return kt::last_error::finish(send(data, port, baud, hdv, len, wait, size, reply));
}

int32_t sendy(const void *, const char *, int32_t, int32_t, int32_t, int32_t, int32_t, void *)
{
    return kt::last_error::finish(kt::last_error::success(KT_OK));
}
