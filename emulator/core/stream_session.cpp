#include "stream_session.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <sys/epoll.h>
#include <unistd.h>

#include "fd_io.h"

namespace kt::emu {
namespace {

// How long a terminal whose other side is closed is left alone.
constexpr std::chrono::milliseconds kHangupRest{10};
// Reads per wake-up, so that one fast sender cannot starve the others.
constexpr int kReadsPerTurn = 4;
constexpr std::size_t kReadSize = 64 * 1024;

} // namespace

StreamSession::StreamSession(int fd, bool ownsFd, PeerKind kind, Printer &printer, int connection,
                             const StreamTiming &timing)
    : fd_(fd), ownsFd_(ownsFd), kind_(kind), timing_(timing), stream_(printer, connection)
{
    if (auto made = setNonBlocking(fd_); !made) {
        if (ownsFd_)
            ::close(fd_);
        throw std::runtime_error("cannot serve: " + made.error());
    }
}

StreamSession::~StreamSession()
{
    if (ownsFd_)
        ::close(fd_);
}

EventSource::Interest StreamSession::interest() const
{
    Interest i;
    if (resting()) {
        i.deadline = *restUntil_;
        return i;
    }
    i.write = !outbox_.empty();
    i.read = waitingForInput();
    auto at = [&i](Clock::time_point t) { i.deadline = std::min(i.deadline, t); };
    if (due_)
        at(*due_);
    if (!outbox_.empty())
        at(outboxDeadline_);
    if (i.read && stream_.hasPending())
        at(lastInput_ + (gapFlushed_ ? timing_.commandTimeout : timing_.dataGap));
    if (discarding_ && discardedAny_)
        at(lastInput_ + timing_.dataGap);
    if (i.read && kind_ == PeerKind::Connection && timing_.idleTimeout.count() > 0)
        at(lastInput_ + timing_.idleTimeout);
    return i;
}

bool StreamSession::onReady(std::uint32_t events, EventLoop &)
{
    if (events & EPOLLOUT)
        flushOutbox();
    if ((events & (EPOLLIN | EPOLLHUP | EPOLLERR)) && waitingForInput()) {
        readInput((events & (EPOLLHUP | EPOLLERR)) != 0);
    } else if (events & (EPOLLHUP | EPOLLERR)) {
        flushOutbox(); // finds out whether the peer is gone
    }
    return !finished();
}

bool StreamSession::onDeadline(EventLoop &)
{
    const auto now = Clock::now();
    if (restUntil_ && now >= *restUntil_)
        restUntil_.reset();
    if (due_ && now >= *due_)
        pump();
    // An answer that cannot be written in time is lost, as on a real line.
    if (!outbox_.empty() && now >= outboxDeadline_)
        outbox_.clear();
    if (discarding_ && discardedAny_ && now >= lastInput_ + timing_.dataGap) {
        discarding_ = false;
        discardedAny_ = false;
    }
    if (waitingForInput() && stream_.hasPending()
        && now >= lastInput_ + (gapFlushed_ ? timing_.commandTimeout : timing_.dataGap)) {
        const Flush level = gapFlushed_ ? Flush::EndOfStream : Flush::DataGap;
        gapFlushed_ = true;
        take(stream_.flush(level));
    }
    if (kind_ == PeerKind::Connection && timing_.idleTimeout.count() > 0 && waitingForInput()
        && !stream_.hasPending() && now >= lastInput_ + timing_.idleTimeout)
        closing_ = true;
    return !finished();
}

bool StreamSession::onNudge(EventLoop &)
{
    if (closing_ || failed_)
        return !finished();
    const auto messages = stream_.statusMessages();
    if (!messages.empty()) {
        if (outbox_.empty())
            outboxDeadline_ = Clock::now() + timing_.writeBound;
        outbox_.insert(outbox_.end(), messages.begin(), messages.end());
        flushOutbox();
    }
    return !finished();
}

void StreamSession::readInput(bool hungUp)
{
    static thread_local std::vector<std::uint8_t> buf(kReadSize);
    bool gotAny = false;
    for (int round = 0; round < kReadsPerTurn && waitingForInput(); ++round) {
        const ssize_t n = ::read(fd_, buf.data(), buf.size());
        if (n > 0) {
            gotAny = true;
            lastInput_ = Clock::now();
            gapFlushed_ = false;
            if (discarding_)
                discardedAny_ = true;
            else
                take(stream_.feed({buf.data(), static_cast<std::size_t>(n)}));
            continue;
        }
        // A hang-up with nothing to read is an end of data too, or the loop
        // would be woken for it again and again.
        const bool wouldBlock
            = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
        if (wouldBlock && (gotAny || !hungUp))
            return;
        const bool hangup = n == 0 || wouldBlock || errno == EIO;
        // Whatever the client left unfinished is finished by the end of its data.
        take(stream_.flush(Flush::EndOfStream));
        if (kind_ == PeerKind::Terminal && hangup) {
            // The client closed the terminal: its conversation is over, and
            // the next one to open it is served afresh.
            discarding_ = false;
            discardedAny_ = false;
            restUntil_ = Clock::now() + kHangupRest;
            return;
        }
        closing_ = true;
        return;
    }
}

void StreamSession::take(std::vector<Handled> answers)
{
    for (auto &h : answers)
        queue_.push_back(std::move(h));
    pump();
}

void StreamSession::pump()
{
    while (!queue_.empty()) {
        Handled &h = queue_.front();
        if (h.delayMs > 0) {
            const auto now = Clock::now();
            if (!due_)
                due_ = now + std::chrono::milliseconds(h.delayMs);
            if (now < *due_)
                break;
            due_.reset();
        }
        if (!h.reply.empty()) {
            if (outbox_.empty())
                outboxDeadline_ = Clock::now() + timing_.writeBound;
            outbox_.insert(outbox_.end(), h.reply.begin(), h.reply.end());
        }
        const bool drop = h.drop;
        queue_.pop_front();
        if (drop) {
            endConversation();
            break;
        }
    }
    flushOutbox();
}

// The drop fault: the command after the last one answered is not answered.
// A TCP client is disconnected; a port that stays open throws away what is
// pending and what follows until the line goes quiet, then starts afresh.
void StreamSession::endConversation()
{
    queue_.clear();
    due_.reset();
    if (kind_ == PeerKind::Connection) {
        closing_ = true;
        return;
    }
    discardedAny_ = stream_.restart();
    discarding_ = true;
}

void StreamSession::flushOutbox()
{
    while (!outbox_.empty()) {
        const ssize_t n = writeSome(fd_, outbox_.data(), outbox_.size());
        if (n < 0) {
            // The peer is gone: a connection ends, a port loses the answer.
            outbox_.clear();
            if (kind_ == PeerKind::Connection)
                failed_ = true;
            return;
        }
        if (n == 0)
            return;
        outbox_.erase(outbox_.begin(), outbox_.begin() + n);
    }
}

bool StreamSession::finished() const
{
    return failed_ || (closing_ && outbox_.empty() && queue_.empty());
}

} // namespace kt::emu
