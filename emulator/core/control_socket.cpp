#include "control_socket.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kt::emu {
namespace {

constexpr std::size_t kMaxLine = 1024;        // a longer line ends the conversation
constexpr std::size_t kMaxUnread = 64 * 1024; // answers a client leaves unread

sockaddr_un socketAddress(const std::filesystem::path &path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string p = path.string();
    if (p.empty() || p.size() >= sizeof addr.sun_path)
        throw std::runtime_error("control socket path must have 1 to "
                                 + std::to_string(sizeof addr.sun_path - 1) + " bytes: " + p);
    std::memcpy(addr.sun_path, p.c_str(), p.size() + 1);
    return addr;
}

// A socket file nobody listens on any more may go; anything else stays.
void removeStaleSocket(const std::filesystem::path &path, const sockaddr_un &addr)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0)
        return;
    if (!S_ISSOCK(st.st_mode))
        throw std::runtime_error("control socket path " + path.string()
                                 + " exists and is not a socket");
    const UniqueFd probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (probe
        && ::connect(probe.get(), reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0)
        throw std::runtime_error("control socket " + path.string() + " is in use");
    if (errno != ECONNREFUSED)
        throw std::runtime_error("control socket " + path.string()
                                 + " cannot be checked: " + std::strerror(errno));
    ::unlink(path.c_str());
}

// One client of the control socket: reads lines, answers each at once.
class ControlSession : public EventSource {
public:
    ControlSession(int fd, std::shared_ptr<const ControlHandler> handler)
        : fd_(fd), handler_(std::move(handler))
    { }

    int fd() const override { return fd_.get(); }
    Interest interest() const override
    {
        Interest i;
        i.read = !closing_;
        i.write = !out_.empty();
        return i;
    }
    bool onReady(std::uint32_t events, EventLoop &) override
    {
        if (events & EPOLLOUT)
            flush();
        if (events & (EPOLLIN | EPOLLHUP | EPOLLERR))
            readLines();
        return !failed_ && !(closing_ && out_.empty());
    }
    bool onDeadline(EventLoop &) override { return true; }

private:
    void readLines()
    {
        char buf[4096];
        const ssize_t n = ::read(fd_.get(), buf, sizeof buf);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (n <= 0) {
            closing_ = true;
            return;
        }
        in_.append(buf, static_cast<std::size_t>(n));
        for (auto nl = in_.find('\n'); nl != std::string::npos; nl = in_.find('\n')) {
            std::string line = in_.substr(0, nl);
            in_.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            answer((*handler_)(line));
        }
        if (in_.size() > kMaxLine) {
            answer("error: line longer than " + std::to_string(kMaxLine) + " bytes");
            closing_ = true;
        }
    }
    void answer(const std::string &line)
    {
        out_ += line + "\n";
        flush();
        if (out_.size() > kMaxUnread)
            failed_ = true; // a client that never reads is given up
    }
    void flush()
    {
        while (!out_.empty()) {
            const ssize_t n = writeSome(
                fd_.get(), reinterpret_cast<const std::uint8_t *>(out_.data()), out_.size());
            if (n < 0) {
                failed_ = true;
                return;
            }
            if (n == 0)
                return;
            out_.erase(0, static_cast<std::size_t>(n));
        }
    }

    UniqueFd fd_;
    const std::shared_ptr<const ControlHandler> handler_;
    std::string in_, out_;
    bool closing_ = false;
    bool failed_ = false;
};

} // namespace

ControlListener::ControlListener(const std::filesystem::path &path, ControlHandler handler)
    : path_(path), handler_(std::make_shared<const ControlHandler>(std::move(handler)))
{
    const sockaddr_un addr = socketAddress(path);
    removeStaleSocket(path, addr);
    fd_.reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd_)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    if (::bind(fd_.get(), reinterpret_cast<const sockaddr *>(&addr), sizeof addr) != 0
        || ::listen(fd_.get(), 16) != 0)
        throw std::runtime_error("cannot listen on control socket " + path.string() + ": "
                                 + std::strerror(errno));
    struct stat st { };
    if (::lstat(path.c_str(), &st) == 0)
        inode_ = st.st_ino;
}

ControlListener::~ControlListener()
{
    struct stat st { };
    if (inode_ && ::lstat(path_.c_str(), &st) == 0 && st.st_ino == inode_ && S_ISSOCK(st.st_mode))
        ::unlink(path_.c_str());
}

void ControlListener::accepted(int client, EventLoop &loop)
{
    loop.add(std::make_unique<ControlSession>(client, handler_));
}

} // namespace kt::emu
