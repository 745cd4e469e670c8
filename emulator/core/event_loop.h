// One thread that serves every transport of an emulator: listening
// sockets, client connections, pseudo-terminals and other descriptors are
// event sources of a single epoll loop, each with its own state, so that no
// client ever waits on another and no source needs a thread of its own.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace kt::emu {

using Clock = std::chrono::steady_clock;

class EventLoop;

// A descriptor the loop watches. Sources are created on any thread, handed
// to add(), and from then on touched by the loop thread only.
class EventSource {
public:
    struct Interest {
        bool read = false;
        bool write = false;
        // When onDeadline() is due; max() for never.
        Clock::time_point deadline = Clock::time_point::max();
    };

    virtual ~EventSource() = default;
    virtual int fd() const = 0;
    // Asked again after every call into the source. A source that wants
    // neither reading nor writing is taken off the descriptor set, so that a
    // hung-up descriptor cannot keep the loop spinning.
    virtual Interest interest() const = 0;
    // The descriptor is ready (epoll event bits). False: the source is done
    // and is destroyed.
    virtual bool onReady(std::uint32_t events, EventLoop &loop) = 0;
    virtual bool onDeadline(EventLoop &loop) = 0;
    // Something the source may be waiting for happened elsewhere (see
    // EventLoop::nudge()). False: the source is done.
    virtual bool onNudge(EventLoop &) { return true; }
};

class EventLoop {
public:
    using ErrorSink = std::function<void(const std::string &)>;

    // Throws std::runtime_error when epoll or the wake-up descriptor cannot
    // be made. `errors` hears of sources that failed while running.
    explicit EventLoop(ErrorSink errors);
    ~EventLoop(); // stop()
    EventLoop(const EventLoop &) = delete;
    EventLoop &operator=(const EventLoop &) = delete;

    // Hands a source to the loop, starting the loop thread on first use. May
    // be called from any thread, the loop's own included.
    void add(std::unique_ptr<EventSource> source);
    // Ends the loop thread and destroys every source. Safe to call twice.
    void stop();
    // Calls onNudge() of every source soon, on the loop thread. May be
    // called from any thread; nudges that come together are served once.
    void nudge();

private:
    struct Entry {
        std::unique_ptr<EventSource> source;
        std::uint32_t watched = 0; // epoll events registered; 0: not registered
        Clock::time_point deadline = Clock::time_point::max();
    };

    void run();
    void takeNewSources();
    void insert(std::unique_ptr<EventSource> source);
    enum class Call { Ready, Deadline, Nudge };
    // Calls into a source and re-reads its interest; removes it when done.
    void dispatch(std::uint64_t id, Call call, std::uint32_t events = 0);
    void refresh(std::uint64_t id, Entry &entry);
    void remove(std::uint64_t id);
    int waitMs() const;
    void wake();

    const ErrorSink errors_;
    int epoll_ = -1;
    int wake_ = -1;
    std::thread thread_;
    std::thread::id loopThread_;
    std::unordered_map<std::uint64_t, Entry> entries_;
    std::uint64_t nextId_ = 1;

    std::mutex mutex_; // guards what follows
    std::vector<std::unique_ptr<EventSource>> incoming_;
    bool started_ = false;
    bool stopping_ = false;
    bool nudged_ = false;
};

} // namespace kt::emu
