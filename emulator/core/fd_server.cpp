#include "fd_server.h"

#include "fd_io.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace kt::emu {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often a terminal whose other side is closed is looked at again.
constexpr int kHangupPollMs = 10;

class Server {
public:
    Server(int fd, PeerKind kind, Printer &printer, int connection, const StreamTiming &timing,
           const StopSignal &stop)
        : fd_(fd), kind_(kind), stream_(printer, connection), timing_(timing), stop_(stop) {}

    ServeEnd run();

private:
    // Sends the answers in order, each after its delay. False when the
    // connection is to end (stopped or dropped); end_ says which.
    bool send(std::vector<Handled> answers);
    int pollTimeoutMs() const;
    bool onTimeout();
    bool onHangup();

    const int fd_;
    const PeerKind kind_;
    CommandStream stream_;
    const StreamTiming timing_;
    const StopSignal &stop_;
    Clock::time_point lastInput_ = Clock::now();
    bool gapFlushed_ = false;
    ServeEnd end_ = ServeEnd::Stopped;
};

bool Server::send(std::vector<Handled> answers) {
    for (auto &h : answers) {
        if (h.delayMs > 0 && !stop_.sleepFor(h.delayMs)) {
            end_ = ServeEnd::Stopped;
            return false;
        }
        // An answer that cannot be written (peer gone, no room) is lost, as
        // it would be on a real line.
        if (!h.reply.empty()) writeAll(fd_, h.reply, static_cast<int>(timing_.writeBound.count()), stop_);
        if (h.drop) {
            end_ = ServeEnd::Dropped;
            return false;
        }
    }
    return true;
}

int Server::pollTimeoutMs() const {
    if (!stream_.hasPending()) return -1;
    const auto wait = gapFlushed_ ? timing_.commandTimeout : timing_.dataGap;
    const auto left = std::chrono::duration_cast<milliseconds>(lastInput_ + wait - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

bool Server::onTimeout() {
    const Flush level = gapFlushed_ ? Flush::EndOfStream : Flush::DataGap;
    gapFlushed_ = true;
    return send(stream_.flush(level));
}

// The other side of a terminal closed it: whatever it left unfinished is
// finished, and the terminal is watched until someone opens it again.
bool Server::onHangup() {
    if (!send(stream_.flush(Flush::EndOfStream))) return false;
    if (!stop_.sleepFor(kHangupPollMs)) {
        end_ = ServeEnd::Stopped;
        return false;
    }
    return true;
}

ServeEnd Server::run() {
    setNonBlocking(fd_);
    std::uint8_t buf[4096];
    for (;;) {
        pollfd p[2] = {{fd_, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
        const int r = ::poll(p, 2, pollTimeoutMs());
        if (r < 0) {
            if (errno == EINTR) continue;
            return ServeEnd::Failed;
        }
        if (p[1].revents) return ServeEnd::Stopped;
        if (r == 0) {
            if (!onTimeout()) return end_;
            continue;
        }
        if (!(p[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        const int err = n < 0 ? errno : 0;
        if (n > 0) {
            lastInput_ = Clock::now();
            gapFlushed_ = false;
            if (!send(stream_.feed({buf, static_cast<std::size_t>(n)}))) return end_;
            continue;
        }
        if (err == EAGAIN || err == EWOULDBLOCK || err == EINTR) continue;
        const bool hangup = n == 0 || err == EIO;
        if (kind_ == PeerKind::Terminal && hangup) {
            if (!onHangup()) return end_;
            continue;
        }
        send(stream_.flush(Flush::EndOfStream));
        return hangup || err == ECONNRESET ? ServeEnd::PeerClosed : ServeEnd::Failed;
    }
}

} // namespace

ServeEnd serveFd(int fd, PeerKind kind, Printer &printer, int connection, const StreamTiming &timing,
                 const StopSignal &stop) {
    return Server(fd, kind, printer, connection, timing, stop).run();
}

} // namespace kt::emu
