#include "tcp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kt::test {

TcpPeer::TcpPeer(Responder responder)
{
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr *>(&sa), sizeof sa) != 0
        || ::listen(listen_, 4) != 0
        || ::getsockname(listen_, reinterpret_cast<sockaddr *>(&sa), &len) != 0) {
        if (listen_ >= 0)
            ::close(listen_);
        throw std::runtime_error("loopback listener failed");
    }
    port_ = ntohs(sa.sin_port);
    stop_ = ::eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this, r = std::move(responder)] {
        for (;;) {
            pollfd p[2] = {{stop_, POLLIN, 0}, {listen_, POLLIN, 0}};
            if (::poll(p, 2, -1) < 0 || p[0].revents)
                return;
            const int conn = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (conn < 0)
                continue;
            ++accepted_;
            const bool stopped = serveUntilEnd(conn, stop_, recorder_, r);
            ::close(conn);
            if (stopped)
                return;
            ++closed_;
        }
    });
}

TcpPeer::~TcpPeer()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t w = ::write(stop_, &one, sizeof one);
    thread_.join();
    ::close(stop_);
    ::close(listen_);
}

} // namespace kt::test
