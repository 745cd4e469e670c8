// A client connection to a TCP server of a test or benchmark (the
// emulator, a peer, a fleet printer).
#pragma once

#include <cstdint>
#include <string>

namespace kt::test {

// A TCP connection to host:port (an IPv4 address), made within `ms`
// milliseconds; -1 on failure or time-out. With `noDelay` every write goes
// out at once (Nagle's algorithm off), as a benchmark's queries must.
int connectTcp(std::uint16_t port, int ms = 10000, const std::string &host = "127.0.0.1",
               bool noDelay = false);

} // namespace kt::test
