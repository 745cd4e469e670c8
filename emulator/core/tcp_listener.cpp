#include "tcp_listener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kt::emu {
Result<HostPort> parseHostPort(const std::string &text)
{
    const auto failed = Status::failure("takes HOST:PORT, not \"" + text + "\"");
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        return failed;
    const std::string digits = text.substr(colon + 1);
    if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return failed;
    const unsigned long n = std::stoul(digits);
    if (n > 65535)
        return failed;
    return HostPort{text.substr(0, colon), static_cast<std::uint16_t>(n)};
}

TcpListener::TcpListener(const std::string &host, std::uint16_t port, Printer &printer,
                         const StreamTiming &timing, std::atomic<int> &connections)
    : host_(host), printer_(printer), timing_(timing), connections_(connections)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1)
        throw std::runtime_error("not an IPv4 address: " + host);
    fd_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd_)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    const int one = 1;
    ::setsockopt(fd_.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd_.get(), reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0
        || ::listen(fd_.get(), SOMAXCONN) != 0)
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) + ": "
                                 + std::strerror(errno));
    socklen_t len = sizeof addr;
    ::getsockname(fd_.get(), reinterpret_cast<sockaddr *>(&addr), &len);
    port_ = ntohs(addr.sin_port);
}

void TcpListener::accepted(int client, EventLoop &loop)
{
    // Answers go out at once, each in one segment.
    const int one = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    loop.add(std::make_unique<StreamSession>(client, true, PeerKind::Connection, printer_,
                                             ++connections_, timing_));
}

} // namespace kt::emu
