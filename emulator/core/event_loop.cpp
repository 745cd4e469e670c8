#include "event_loop.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace kt::emu {
namespace {

constexpr std::uint64_t kWakeId = 0;
constexpr int kMaxEvents = 256;

std::uint32_t eventsFor(const EventSource::Interest &i)
{
    return (i.read ? EPOLLIN : 0u) | (i.write ? EPOLLOUT : 0u);
}

// The signals the program waits for (stop, status changes, the end of a
// client it started) go to the program's own thread, never to the loop.
void blockStopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGUSR1, SIGUSR2, SIGCHLD})
        sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

} // namespace

EventLoop::EventLoop(ErrorSink errors) : errors_(std::move(errors))
{
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = kWakeId;
    if (epoll_ < 0 || wake_ < 0 || ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &ev) != 0) {
        const std::string why = std::strerror(errno);
        if (epoll_ >= 0)
            ::close(epoll_);
        if (wake_ >= 0)
            ::close(wake_);
        throw std::runtime_error("cannot set up the event loop: " + why);
    }
}

EventLoop::~EventLoop()
{
    stop();
    ::close(wake_);
    ::close(epoll_);
}

void EventLoop::add(std::unique_ptr<EventSource> source)
{
    std::lock_guard lock(mutex_);
    if (stopping_)
        return; // destroyed at once: the emulator is going away
    incoming_.push_back(std::move(source));
    if (!started_) {
        started_ = true;
        thread_ = std::thread([this] { run(); });
    }
    wake();
}

void EventLoop::stop()
{
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        stopping_ = true;
        wake();
    }
    if (thread_.joinable())
        thread_.join();
    entries_.clear();
    incoming_.clear();
}

void EventLoop::nudge()
{
    std::lock_guard lock(mutex_);
    nudged_ = true;
    wake();
}

void EventLoop::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(wake_, &one, sizeof one);
}

void EventLoop::run()
{
    blockStopSignals();
    epoll_event events[kMaxEvents];
    for (;;) {
        const int n = ::epoll_wait(epoll_, events, kMaxEvents, waitMs());
        if (n < 0 && errno != EINTR) {
            errors_(std::string("event loop: epoll_wait: ") + std::strerror(errno));
            return;
        }
        for (int i = 0; i < n; ++i) {
            if (events[i].data.u64 == kWakeId) {
                std::uint64_t count;
                [[maybe_unused]] auto r = ::read(wake_, &count, sizeof count);
                continue;
            }
            dispatch(events[i].data.u64, Call::Ready, events[i].events);
        }
        bool nudged = false;
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            nudged = std::exchange(nudged_, false);
        }
        takeNewSources();
        if (nudged) {
            std::vector<std::uint64_t> all;
            all.reserve(entries_.size());
            for (const auto &[id, entry] : entries_)
                all.push_back(id);
            for (auto id : all)
                dispatch(id, Call::Nudge);
        }
        const auto now = Clock::now();
        std::vector<std::uint64_t> due;
        for (const auto &[id, entry] : entries_)
            if (entry.deadline <= now)
                due.push_back(id);
        for (auto id : due)
            dispatch(id, Call::Deadline);
    }
}

void EventLoop::takeNewSources()
{
    std::vector<std::unique_ptr<EventSource>> sources;
    {
        std::lock_guard lock(mutex_);
        sources.swap(incoming_);
    }
    for (auto &s : sources)
        insert(std::move(s));
}

void EventLoop::insert(std::unique_ptr<EventSource> source)
{
    const std::uint64_t id = nextId_++;
    auto &entry = entries_[id];
    entry.source = std::move(source);
    refresh(id, entry);
}

void EventLoop::dispatch(std::uint64_t id, Call call, std::uint32_t events)
{
    const auto it = entries_.find(id);
    if (it == entries_.end())
        return; // removed earlier in this round
    bool keep = false;
    try {
        EventSource &source = *it->second.source;
        keep = call == Call::Ready ? source.onReady(events, *this)
            : call == Call::Nudge  ? source.onNudge(*this)
                                   : source.onDeadline(*this);
    } catch (const std::exception &e) {
        errors_(e.what());
    }
    if (keep)
        refresh(id, it->second);
    else
        remove(id);
}

void EventLoop::refresh(std::uint64_t id, Entry &entry)
{
    const EventSource::Interest interest = entry.source->interest();
    entry.deadline = interest.deadline;
    const std::uint32_t want = eventsFor(interest);
    if (want == entry.watched)
        return;
    epoll_event ev{};
    ev.events = want;
    ev.data.u64 = id;
    const int fd = entry.source->fd();
    const int op = !want ? EPOLL_CTL_DEL : entry.watched ? EPOLL_CTL_MOD : EPOLL_CTL_ADD;
    if (::epoll_ctl(epoll_, op, fd, op == EPOLL_CTL_DEL ? nullptr : &ev) != 0) {
        errors_("event loop: cannot watch descriptor " + std::to_string(fd) + ": "
                + std::strerror(errno));
        remove(id);
        return;
    }
    entry.watched = want;
}

void EventLoop::remove(std::uint64_t id)
{
    const auto it = entries_.find(id);
    if (it == entries_.end())
        return;
    if (it->second.watched)
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, it->second.source->fd(), nullptr);
    entries_.erase(it);
}

int EventLoop::waitMs() const
{
    auto next = Clock::time_point::max();
    for (const auto &[id, entry] : entries_)
        next = std::min(next, entry.deadline);
    if (next == Clock::time_point::max())
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60000));
}

} // namespace kt::emu
