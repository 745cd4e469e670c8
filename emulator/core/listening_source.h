// A listening socket as an event source: takes every client waiting in the
// backlog in one turn and hands each to accepted(). When accepting fails
// for want of descriptors or memory it rests a while instead of being woken
// for it again at once.
#pragma once

#include "event_loop.h"
#include "fd_io.h"

namespace kt::emu {

class ListeningSource : public EventSource {
public:
    int fd() const override { return fd_.get(); }
    Interest interest() const override;
    bool onReady(std::uint32_t events, EventLoop &loop) override;
    bool onDeadline(EventLoop &) override { return true; }

protected:
    // The socket is set up (bound and listening) by the derived class.
    ListeningSource() = default;
    // A new client, non-blocking; the callee owns the descriptor.
    virtual void accepted(int client, EventLoop &loop) = 0;

    UniqueFd fd_;

private:
    Clock::time_point restUntil_{};
};

} // namespace kt::emu
