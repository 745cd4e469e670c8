// The TCP transport: a listening socket that serves one client at a time,
// like a printer's raw port; later clients wait in the backlog.
#pragma once

#include "fd_server.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace kt::emu {

class TcpListener {
public:
    // Binds and listens on an IPv4 address; port 0 takes a free port.
    // Throws std::runtime_error when the address cannot be bound.
    TcpListener(const std::string &host, std::uint16_t port);
    ~TcpListener();
    TcpListener(const TcpListener &) = delete;
    TcpListener &operator=(const TcpListener &) = delete;

    const std::string &host() const { return host_; }
    std::uint16_t port() const { return port_; }

    // Accepts and serves clients until the stop is raised. Each client gets
    // the next number from `connections`.
    void run(Printer &printer, const StreamTiming &timing, const StopSignal &stop,
             std::atomic<int> &connections);

private:
    int fd_ = -1;
    std::string host_;
    std::uint16_t port_ = 0;
};

// "HOST:PORT" into its parts; false when it is not of that form.
bool splitHostPort(const std::string &text, std::string &host, std::uint16_t &port);

} // namespace kt::emu
