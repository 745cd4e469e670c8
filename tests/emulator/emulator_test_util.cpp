#include "emulator_test_util.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

namespace kt::test {

Bytes hex(const std::string &t)
{
    Bytes out;
    for (std::size_t i = 0; i < t.size();) {
        if (t[i] == ' ') {
            ++i;
        } else if (t[i] == '\'') {
            const auto end = t.find('\'', i + 1);
            out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(i + 1),
                       t.begin() + static_cast<std::ptrdiff_t>(end));
            i = end + 1;
        } else {
            out.push_back(static_cast<std::uint8_t>(std::stoi(t.substr(i, 2), nullptr, 16)));
            i += 2;
        }
    }
    return out;
}

std::string text(const Bytes &b) { return {b.begin(), b.end()}; }

Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::filesystem::path in(const TempDir &dir, const std::string &name)
{
    return std::filesystem::path(dir.path()) / name;
}

Bytes readFor(int fd, std::size_t want, int ms)
{
    Bytes out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (out.size() < want) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            break;
        std::uint8_t buf[256];
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, want - out.size()));
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

bool waitForClose(int fd, int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            return false;
        std::uint8_t buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return true;
    }
}

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void writeFile(const std::filesystem::path &path, const std::string &content)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << content;
}

bool sendAll(int fd, const Bytes &bytes)
{
    return ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

Bytes ask(int fd, const Bytes &query, std::size_t want, int ms)
{
    return sendAll(fd, query) ? readFor(fd, want, ms) : Bytes{};
}

int openSerial(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        termios t{};
        ::tcgetattr(fd, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

ControlClient::ControlClient(const std::filesystem::path &path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

ControlClient::~ControlClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string ControlClient::ask(const std::string &line)
{
    const std::string sent = line + "\n";
    if (!sendAll(fd_, Bytes(sent.begin(), sent.end())))
        return "(not sent)";
    std::string answer;
    for (;;) {
        const auto b = readFor(fd_, 1, 10000);
        if (b.empty())
            return "(no answer)";
        if (b[0] == '\n')
            return answer;
        answer += static_cast<char>(b[0]);
    }
}

} // namespace kt::test
