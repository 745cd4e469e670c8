// TCP to a dotted IPv4 address. The backend's entry points are
// tcpOperations (port_types.h): openTCP parses the address and connects,
// closeTCP shuts the socket down and closes it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <sys/socket.h>

#include "port_types.h"

namespace kt::port {

using Address = std::array<std::uint8_t, 4>;

// Exactly four decimal parts of at most 255 separated by single dots,
// nothing before or after; leading zeros allowed.
std::optional<Address> parseIP(const char *text);

// The whole connect, retries included, gives up after this long.
constexpr int kConnectBudgetMs = 5000;
constexpr int kConnectAttempts = 5000;

// Connects within budgetMs: each attempt uses a fresh non-blocking socket
// (a Linux socket cannot connect again after a failed connect), pausing
// 1 ms after a refused attempt. Returns the socket (non-blocking), or -1
// with errno set to the last attempt's error (ETIMEDOUT when the budget ran
// out without an answer).
int connectTCP(const Address &address, std::uint16_t port, int budgetMs = kConnectBudgetMs);

// One connect attempt on a fresh non-blocking socket, waiting at most ms.
// Gives the socket, or -1 with the reason in `error`; kNoSocket when no
// socket could be made at all (trying again would not help).
constexpr int kNoSocket = -2;
int connectOnce(const sockaddr *address, socklen_t length, int ms, int &error);

// Connects to a host name or a numeric IPv4 or IPv6 address: every
// address the name resolves to is tried once, all within budgetMs. -1 with
// errno EADDRNOTAVAIL when the name resolves to nothing, else the last
// attempt's error (ECONNREFUSED, ETIMEDOUT, ...).
int connectHost(const char *host, std::uint16_t port, int budgetMs);

} // namespace kt::port
