// The TCP transport: a listening socket, as an event source, that accepts
// every client at once and gives each a conversation of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "fd_io.h"
#include "listening_source.h"
#include "status.h"
#include "stream_session.h"

namespace kt::emu {

class TcpListener : public ListeningSource {
public:
    // Binds and listens on an IPv4 address with a full-size backlog; port 0
    // takes a free port. Throws std::runtime_error when the address cannot
    // be bound. Each client gets the next number from `connections`.
    TcpListener(const std::string &host, std::uint16_t port, Printer &printer,
                const StreamTiming &timing, std::atomic<int> &connections);

    const std::string &host() const { return host_; }
    std::uint16_t port() const { return port_; }

private:
    void accepted(int client, EventLoop &loop) override;

    std::string host_;
    std::uint16_t port_ = 0;
    Printer &printer_;
    const StreamTiming timing_;
    std::atomic<int> &connections_;
};

struct HostPort {
    std::string host;
    std::uint16_t port = 0;
};

// "HOST:PORT" into its parts.
Result<HostPort> parseHostPort(const std::string &text);

} // namespace kt::emu
