#include "listening_source.h"

#include <cerrno>
#include <sys/socket.h>

namespace kt::emu {
namespace {

constexpr std::chrono::milliseconds kRest{100};

} // namespace

EventSource::Interest ListeningSource::interest() const
{
    Interest i;
    if (Clock::now() < restUntil_)
        i.deadline = restUntil_;
    else
        i.read = true;
    return i;
}

bool ListeningSource::onReady(std::uint32_t, EventLoop &loop)
{
    for (;;) {
        const int client = ::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client >= 0) {
            accepted(client, loop);
            continue;
        }
        if (errno == ECONNABORTED || errno == EPROTO || errno == EINTR)
            continue; // that client only
        // Out of descriptors or memory, or the socket failed.
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            restUntil_ = Clock::now() + kRest;
        return true;
    }
}

} // namespace kt::emu
