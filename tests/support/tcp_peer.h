// A loopback TCP server on an ephemeral port standing in for a network
// printer. It accepts one connection after another, records every read with
// its time (for chunking and pacing checks) and answers through a responder.
#pragma once

#include <atomic>
#include <cstdint>

#include "fd_server.h"

namespace kt::test {

class TcpPeer {
public:
    // Listens on 127.0.0.1, port 0. Throws std::runtime_error on failure.
    explicit TcpPeer(Responder responder = {});
    ~TcpPeer();
    TcpPeer(const TcpPeer &) = delete;
    TcpPeer &operator=(const TcpPeer &) = delete;

    std::uint16_t port() const { return port_; }

    std::vector<Read> reads() const { return recorder_.reads(); }
    Bytes received() const { return recorder_.received(); }
    bool waitForBytes(std::size_t n, std::chrono::milliseconds timeout) const
    {
        return recorder_.waitForBytes(n, timeout);
    }
    // Connections accepted, and connections the client has closed.
    int accepted() const { return accepted_; }
    int closed() const { return closed_; }

private:
    Recorder recorder_;
    int listen_ = -1;
    int stop_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<int> accepted_{0};
    std::atomic<int> closed_{0};
    std::thread thread_;
};

} // namespace kt::test
