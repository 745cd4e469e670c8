// How fast the emulator takes in large define streams over TCP, as a ratio
// to a plain loopback sink that only reads the same bytes, measured in the
// same run (the machine is shared, so only the ratio means anything). The
// floor is 0.3, the goal 0.5: the counter "ratio" reports it.
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/emulator.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadSize = 64 * 1024;
// Receipt-wide images of the largest height: 72 x 288 x 8 bytes each.
constexpr std::uint16_t kImageNx = 72, kImageNy = 288;
const Bytes kStatusQuery{0x10, 0x04, 0x01}; // answered once everything before it is taken

// FS q with as many large images as fit in `bytes`, then a status query.
Bytes defineStream(std::size_t bytes)
{
    const std::size_t imageBytes = std::size_t{kImageNx} * kImageNy * 8;
    const auto count = static_cast<std::uint8_t>(
        std::min<std::size_t>(255, std::max<std::size_t>(1, bytes / imageBytes)));
    Bytes out{0x1C, 0x71, count};
    for (int i = 0; i < count; ++i) {
        out.insert(out.end(), {kImageNx & 0xFF, kImageNx >> 8, kImageNy & 0xFF, kImageNy >> 8});
        for (std::size_t b = 0; b < imageBytes; ++b)
            out.push_back(static_cast<std::uint8_t>(b * 31 + i));
    }
    out.insert(out.end(), kStatusQuery.begin(), kStatusQuery.end());
    return out;
}

int listenLoopback(std::uint16_t &port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), len) != 0 || ::listen(fd, SOMAXCONN) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
        throw std::runtime_error("cannot listen on the loopback");
    port = ntohs(addr.sin_port);
    return fd;
}

// The floor: a server that reads each client's `expected` bytes into a
// buffer of the emulator's read size and answers one byte.
class LoopbackSink {
public:
    explicit LoopbackSink(std::size_t expected) : expected_(expected), fd_(listenLoopback(port_))
    {
        thread_ = std::thread([this] { run(); });
    }
    ~LoopbackSink()
    {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }
    std::uint16_t port() const { return port_; }

private:
    void run()
    {
        std::vector<std::uint8_t> buf(kReadSize);
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            std::size_t got = 0;
            ssize_t n = 0;
            while (got < expected_ && (n = ::read(client, buf.data(), buf.size())) > 0)
                got += static_cast<std::size_t>(n);
            const std::uint8_t answer = 0x12;
            [[maybe_unused]] auto w = ::write(client, &answer, 1);
            ::close(client);
        }
    }

    const std::size_t expected_;
    std::uint16_t port_ = 0;
    const int fd_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Sends the stream on a new connection and waits for the one-byte answer;
// the seconds it took.
double transfer(std::uint16_t port, const Bytes &stream)
{
    const auto start = Clock::now();
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot connect");
    }
    for (std::size_t sent = 0; sent < stream.size();) {
        const ssize_t n = ::send(fd, stream.data() + sent, stream.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            throw std::runtime_error("send failed");
        sent += static_cast<std::size_t>(n);
    }
    std::uint8_t answer = 0;
    pollfd p{fd, POLLIN, 0};
    const bool answered = ::poll(&p, 1, 30000) == 1 && ::read(fd, &answer, 1) == 1;
    ::close(fd);
    if (!answered)
        throw std::runtime_error("no answer to the status query");
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_DefineStreamIntake(benchmark::State &state)
{
    const Bytes stream = defineStream(static_cast<std::size_t>(state.range(0)) << 20);
    kt::emu::EmulatorOptions options;
    options.overrides = {{"nv_capacity", std::to_string(stream.size())}};
    kt::emu::Emulator emulator(options);
    const std::uint16_t emulatorPort = emulator.listenTcp();
    LoopbackSink sink(stream.size());
    double emulatorSeconds = 0, sinkSeconds = 0;
    for (auto _ : state) {
        try {
            const double e = transfer(emulatorPort, stream);
            sinkSeconds += transfer(sink.port(), stream);
            emulatorSeconds += e;
            state.SetIterationTime(e);
        } catch (const std::exception &e) {
            state.SkipWithError(e.what());
            return;
        }
    }
    const double bytes
        = static_cast<double>(stream.size()) * static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["emulator_MBps"] = bytes / emulatorSeconds / 1e6;
    state.counters["loopback_MBps"] = bytes / sinkSeconds / 1e6;
    state.counters["ratio"] = sinkSeconds / emulatorSeconds;
}
BENCHMARK(BM_DefineStreamIntake)
    ->Arg(1)
    ->Arg(4)
    ->Arg(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
