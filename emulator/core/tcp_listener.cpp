#include "tcp_listener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kt::emu {

bool splitHostPort(const std::string &text, std::string &host, std::uint16_t &port) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
    const std::string digits = text.substr(colon + 1);
    if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long n = std::stoul(digits);
    if (n > 65535) return false;
    host = text.substr(0, colon);
    port = static_cast<std::uint16_t>(n);
    return true;
}

TcpListener::TcpListener(const std::string &host, std::uint16_t port) : host_(host) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1)
        throw std::runtime_error("not an IPv4 address: " + host);
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    const int one = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(fd_, 8) != 0) {
        const std::string why = std::strerror(errno);
        ::close(fd_);
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) + ": " + why);
    }
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr *>(&addr), &len);
    port_ = ntohs(addr.sin_port);
}

TcpListener::~TcpListener() {
    if (fd_ >= 0) ::close(fd_);
}

void TcpListener::run(Printer &printer, const StreamTiming &timing, const StopSignal &stop,
                      std::atomic<int> &connections) {
    for (;;) {
        pollfd p[2] = {{fd_, POLLIN, 0}, {stop.fd(), POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (p[1].revents) return;
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        // Answers go out at once, each in one segment.
        const int one = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const ServeEnd end = serveFd(client, PeerKind::Socket, printer, ++connections, timing, stop);
        ::close(client);
        if (end == ServeEnd::Stopped) return;
    }
}

} // namespace kt::emu
