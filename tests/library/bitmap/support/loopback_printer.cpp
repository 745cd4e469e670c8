#include "loopback_printer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kt::bitmap::testing {
namespace {

constexpr int kWaitMs = 5000;

bool readable(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, kWaitMs) == 1;
}

} // namespace

LoopbackPrinter::LoopbackPrinter()
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
        ::listen(listener_, 1) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &size) != 0)
        throw std::runtime_error("cannot listen on the loopback address");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackPrinter::~LoopbackPrinter()
{
    if (thread_.joinable())
        thread_.join();
    ::close(listener_);
}

void LoopbackPrinter::serve()
{
    if (!readable(listener_))
        return;
    const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (peer < 0)
        return;
    std::uint8_t chunk[4096];
    while (readable(peer)) {
        const ssize_t got = ::read(peer, chunk, sizeof chunk);
        if (got <= 0)
            break;
        bytes_.insert(bytes_.end(), chunk, chunk + got);
    }
    ::close(peer);
}

std::vector<std::uint8_t> LoopbackPrinter::received()
{
    if (thread_.joinable())
        thread_.join();
    return bytes_;
}

} // namespace kt::bitmap::testing
