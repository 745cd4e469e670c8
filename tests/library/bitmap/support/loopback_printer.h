// A printer stand-in on 127.0.0.1 and an ephemeral port: it takes one
// connection and keeps every byte until the peer closes. Each wait is
// bounded, so a library that never connects fails the test instead of
// hanging it.
#pragma once

#include <cstdint>
#include <thread>
#include <vector>

namespace kt::bitmap::testing {

class LoopbackPrinter {
public:
    LoopbackPrinter();
    ~LoopbackPrinter();
    LoopbackPrinter(const LoopbackPrinter &) = delete;
    LoopbackPrinter &operator=(const LoopbackPrinter &) = delete;

    int port() const { return port_; }
    // Waits for the connection to end; the bytes received (none when no
    // connection came within the bound).
    std::vector<std::uint8_t> received();

private:
    void serve();

    int listener_ = -1;
    int port_ = 0;
    std::vector<std::uint8_t> bytes_;
    std::thread thread_;
};

} // namespace kt::bitmap::testing
