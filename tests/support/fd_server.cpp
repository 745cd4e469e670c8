#include "fd_server.h"

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kt::test {

Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

void Recorder::add(Bytes chunk)
{
    {
        std::lock_guard lock(mutex_);
        total_ += chunk.size();
        reads_.push_back({std::move(chunk), Clock::now()});
    }
    changed_.notify_all();
}

std::vector<Read> Recorder::reads() const
{
    std::lock_guard lock(mutex_);
    return reads_;
}

Bytes Recorder::received() const
{
    std::lock_guard lock(mutex_);
    Bytes all;
    for (const Read &r : reads_)
        all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    return all;
}

bool Recorder::waitForBytes(std::size_t n, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return total_ >= n; });
}

void Recorder::clear()
{
    std::lock_guard lock(mutex_);
    reads_.clear();
    total_ = 0;
}

namespace {

void writeAll(int fd, const Bytes &data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t r = ::write(fd, data.data() + done, data.size() - done);
        if (r > 0) {
            done += static_cast<std::size_t>(r);
        } else if (r < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            return;
        }
    }
}

} // namespace

bool serveUntilEnd(int fd, int stopFd, Recorder &recorder, const Responder &responder)
{
    for (;;) {
        pollfd p[2] = {{stopFd, POLLIN, 0}, {fd, POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (p[0].revents)
            return true;
        if (!p[1].revents)
            continue;
        std::uint8_t buffer[4096];
        const ssize_t r = ::read(fd, buffer, sizeof buffer);
        if (r < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (r <= 0)
            return false;
        Bytes chunk(buffer, buffer + r);
        Bytes answer = responder ? responder(chunk) : Bytes{};
        recorder.add(std::move(chunk));
        if (!answer.empty())
            writeAll(fd, answer);
    }
}

FdServer::FdServer(int fd, Responder responder)
{
    stop_ = ::eventfd(0, EFD_CLOEXEC);
    if (stop_ < 0)
        throw std::runtime_error("eventfd failed");
    thread_ = std::thread(
        [this, fd, r = std::move(responder)] { serveUntilEnd(fd, stop_, recorder_, r); });
}

FdServer::~FdServer()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t w = ::write(stop_, &one, sizeof one);
    thread_.join();
    ::close(stop_);
}

} // namespace kt::test
