// Serving the far end of a printer connection in tests: a thread reads
// everything the code under test writes, records each read with its time,
// and writes back what a responder returns.
//
//   kt::test::PtyPair pty;
//   kt::test::FdServer printer(pty.master(), [](const kt::test::Bytes &in) {
//       return in == kt::test::bytes("\x1d\x49\x43") ? kt::test::bytes("_KT-4000") :
//       kt::test::Bytes{};
//   });
//   ... code under test writes to pty.slavePath() ...
//   printer.waitForBytes(3, 1s); printer.received();
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace kt::test {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// The bytes of a text, without a terminator ("\0" inside counts).
Bytes bytes(std::string_view text);

// One read() of the serving thread and the time it returned.
struct Read {
    Bytes bytes;
    Clock::time_point at;
};

// Called with the bytes of every read; what it returns is written back at
// once (nothing when empty).
using Responder = std::function<Bytes(const Bytes &chunk)>;

// Thread-safe record of what a server read.
class Recorder {
public:
    void add(Bytes chunk);
    std::vector<Read> reads() const;
    Bytes received() const; // all reads, concatenated
    // Waits until at least n bytes were received in all; false on time-out.
    bool waitForBytes(std::size_t n, std::chrono::milliseconds timeout) const;
    void clear();

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Read> reads_;
    std::size_t total_ = 0;
};

// Serves one descriptor it does not own until destroyed, or until the
// descriptor reports end of file or an error.
class FdServer {
public:
    explicit FdServer(int fd, Responder responder = {});
    ~FdServer();
    FdServer(const FdServer &) = delete;
    FdServer &operator=(const FdServer &) = delete;

    std::vector<Read> reads() const { return recorder_.reads(); }
    Bytes received() const { return recorder_.received(); }
    bool waitForBytes(std::size_t n, std::chrono::milliseconds timeout) const
    {
        return recorder_.waitForBytes(n, timeout);
    }
    void clear() { recorder_.clear(); }

private:
    Recorder recorder_;
    int stop_ = -1; // eventfd that ends the thread
    std::thread thread_;
};

// The loop shared by FdServer and TcpPeer: serves fd until end of file, an
// error, or stopFd becoming readable. Returns true when stopFd ended it.
bool serveUntilEnd(int fd, int stopFd, Recorder &recorder, const Responder &responder);

} // namespace kt::test
