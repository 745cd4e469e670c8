// One descriptor's conversation with the printer, as an event source: reads
// what the client sends, feeds it to the descriptor's own command stream,
// and writes the answers back without ever waiting, so that a slow or idle
// client holds up nobody else.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <optional>
#include <vector>

#include "command_stream.h"
#include "event_loop.h"
#include "printer.h"

namespace kt::emu {

struct StreamTiming {
    // A pause this long ends a parameter value that came without its NUL
    // (the library's parameter write sends none).
    std::chrono::milliseconds dataGap{50};
    // A command still incomplete this long after the last byte is dropped.
    std::chrono::milliseconds commandTimeout{1000};
    // Longest wait for room to write an answer before it is dropped.
    std::chrono::milliseconds writeBound{2000};
    // A TCP client that sends nothing this long is disconnected (0: never).
    std::chrono::milliseconds idleTimeout{std::chrono::minutes(10)};
};

enum class PeerKind {
    Connection, // an accepted TCP client: its end of data, or a drop, closes it
    Terminal,   // a pseudo-terminal: the other side may close and open again
    Descriptor, // another served descriptor (a USB node): its end of data ends serving
};

class StreamSession : public EventSource {
public:
    // Makes `fd` non-blocking. Closes it when done if `ownsFd`.
    StreamSession(int fd, bool ownsFd, PeerKind kind, Printer &printer, int connection,
                  const StreamTiming &timing);
    ~StreamSession() override;
    StreamSession(const StreamSession &) = delete;
    StreamSession &operator=(const StreamSession &) = delete;

    int fd() const override { return fd_; }
    Interest interest() const override;
    bool onReady(std::uint32_t events, EventLoop &loop) override;
    bool onDeadline(EventLoop &loop) override;
    // Automatic status back: sends the status messages owed to this client.
    bool onNudge(EventLoop &loop) override;

private:
    // `hungUp`: the loop saw the peer hang up.
    void readInput(bool hungUp);
    void take(std::vector<Handled> answers);
    // Moves answers to the outbox in order, each after its delay.
    void pump();
    void endConversation();
    void flushOutbox();
    bool finished() const;
    bool waitingForInput() const
    {
        return !closing_ && queue_.empty() && outbox_.empty() && !resting();
    }
    bool resting() const { return restUntil_.has_value(); }

    const int fd_;
    const bool ownsFd_;
    const PeerKind kind_;
    const StreamTiming timing_;
    CommandStream stream_;
    std::deque<Handled> queue_;            // answers not yet due
    std::optional<Clock::time_point> due_; // when the queue's first answer is due
    std::vector<std::uint8_t> outbox_;     // bytes due but not yet written
    Clock::time_point outboxDeadline_{};
    Clock::time_point lastInput_ = Clock::now();
    bool gapFlushed_ = false;
    bool closing_ = false; // ends once the outbox is written
    bool failed_ = false;  // ends now
    // After a drop on a port that stays open: input is thrown away until the
    // line has been quiet for a data gap after something was thrown away.
    bool discarding_ = false;
    bool discardedAny_ = false;
    // A terminal whose other side is closed is looked at again later.
    std::optional<Clock::time_point> restUntil_;
};

} // namespace kt::emu
