// Queries answered per second by one emulator process with 1, 50 and 500
// concurrent TCP clients, as a ratio to a plain loopback echo server driven
// the same way in the same run (the machine is shared, so only the ratio
// means anything); and the memory an idle printer of a fleet of 1000 costs.
//
// Each client keeps one query outstanding: it sends the next as soon as
// the answer to the last has come. One driver thread serves every client
// with poll(), so the figure is the servers', not the driver's threads'.
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/emulator.h"
#include "core/fd_io.h"
#include "core/fleet.h"
#include "tcp_connect.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr auto kWindow = std::chrono::milliseconds(500); // measured per server and client count
const Bytes kQuery{0x1D, 0x49, 0x43};                    // the model name
constexpr std::size_t kAnswerSize = 9;                   // "_KT-4000" NUL

// The floor: answers each query of kQuery's size with kAnswerSize bytes,
// one thread, epoll, no parsing.
class EchoServer {
public:
    EchoServer()
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(listen_, reinterpret_cast<sockaddr *>(&addr), len) != 0
            || ::listen(listen_, SOMAXCONN) != 0
            || ::getsockname(listen_, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
            throw std::runtime_error("cannot listen on the loopback");
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~EchoServer()
    {
        stop_ = true;
        thread_.join();
        ::close(listen_);
    }
    std::uint16_t port() const { return port_; }

private:
    void run()
    {
        const int ep = ::epoll_create1(EPOLL_CLOEXEC);
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.fd = listen_;
        ::epoll_ctl(ep, EPOLL_CTL_ADD, listen_, &ev);
        std::vector<int> clients;
        const Bytes answer(kAnswerSize, '_');
        epoll_event events[256];
        std::uint8_t buf[4096];
        while (!stop_) {
            const int n = ::epoll_wait(ep, events, 256, 50);
            for (int i = 0; i < n; ++i) {
                const int fd = events[i].data.fd;
                if (fd == listen_) {
                    for (int c; (c = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
                        const int one = 1;
                        ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                        epoll_event cev{};
                        cev.events = EPOLLIN;
                        cev.data.fd = c;
                        ::epoll_ctl(ep, EPOLL_CTL_ADD, c, &cev);
                        clients.push_back(c);
                    }
                    continue;
                }
                const ssize_t got = ::read(fd, buf, sizeof buf);
                if (got <= 0) {
                    ::epoll_ctl(ep, EPOLL_CTL_DEL, fd, nullptr);
                    continue;
                }
                for (std::size_t q = 0; q < static_cast<std::size_t>(got) / kQuery.size(); ++q)
                    [[maybe_unused]] auto w = ::write(fd, answer.data(), answer.size());
            }
        }
        for (int c : clients)
            ::close(c);
        ::close(ep);
    }

    int listen_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Queries per second that `clients` connections to `port` get answered,
// each with one query outstanding, over kWindow.
double queriesPerSecond(std::uint16_t port, int clients)
{
    std::vector<pollfd> fds;
    std::vector<std::size_t> pending(static_cast<std::size_t>(clients), 0);
    for (int i = 0; i < clients; ++i) {
        const int fd = kt::test::connectTcp(port, 10000, "127.0.0.1", true);
        if (fd < 0)
            throw std::runtime_error("cannot connect to the loopback");
        fds.push_back({fd, POLLIN, 0});
    }
    for (auto &p : fds)
        if (::write(p.fd, kQuery.data(), kQuery.size()) != static_cast<ssize_t>(kQuery.size()))
            throw std::runtime_error("cannot send a query");
    long answered = 0;
    const auto start = Clock::now();
    const auto end = start + kWindow;
    std::uint8_t buf[4096];
    while (Clock::now() < end) {
        if (::poll(fds.data(), fds.size(), 1000) <= 0)
            throw std::runtime_error("the server stopped answering");
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n <= 0)
                throw std::runtime_error("the server closed a connection");
            pending[i] += static_cast<std::size_t>(n);
            for (; pending[i] >= kAnswerSize; pending[i] -= kAnswerSize) {
                ++answered;
                if (::write(fds[i].fd, kQuery.data(), kQuery.size()) <= 0)
                    throw std::runtime_error("cannot send a query");
            }
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (auto &p : fds)
        ::close(p.fd);
    return static_cast<double>(answered) / seconds;
}

void BM_QueriesPerSecond(benchmark::State &state)
{
    const int clients = static_cast<int>(state.range(0));
    if (auto room = kt::emu::ensureDescriptors(4 * static_cast<std::size_t>(clients) + 64); !room) {
        state.SkipWithError(room.error().c_str());
        return;
    }
    kt::emu::Emulator emulator(kt::emu::EmulatorOptions{});
    const std::uint16_t port = emulator.listenTcp();
    EchoServer echo;
    double emulatorQps = 0, echoQps = 0;
    for (auto _ : state) {
        try {
            echoQps += queriesPerSecond(echo.port(), clients);
            emulatorQps += queriesPerSecond(port, clients);
        } catch (const std::exception &e) {
            state.SkipWithError(e.what());
            return;
        }
    }
    const auto rounds = static_cast<double>(state.iterations());
    state.counters["emulator_qps"] = emulatorQps / rounds;
    state.counters["echo_qps"] = echoQps / rounds;
    state.counters["ratio"] = emulatorQps / echoQps;
}
BENCHMARK(BM_QueriesPerSecond)->Arg(1)->Arg(50)->Arg(500)->Iterations(2)->Unit(benchmark::kSecond);

long residentBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6)) * 1024;
    return 0;
}

// An idle printer: its profile, state, listening socket and the loop's
// entry for it. The floor is a bare listening socket per printer.
void BM_FleetMemoryPerPrinter(benchmark::State &state)
{
    constexpr int kPrinters = 1000;
    double perPrinter = 0, perSocket = 0;
    for (auto _ : state) {
        const long before = residentBytes();
        {
            std::vector<kt::emu::UniqueFd> sockets;
            for (int i = 0; i < kPrinters; ++i) {
                sockets.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
                sockaddr_in addr{};
                addr.sin_family = AF_INET;
                addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
                ::bind(sockets.back().get(), reinterpret_cast<sockaddr *>(&addr), sizeof addr);
                ::listen(sockets.back().get(), SOMAXCONN);
            }
            perSocket += static_cast<double>(residentBytes() - before) / kPrinters;
        }
        const long start = residentBytes();
        kt::emu::FleetOptions options;
        options.count = kPrinters;
        options.models = {"KT-4000", "KT-9100X", "MV550"};
        kt::emu::Fleet fleet(options);
        perPrinter += static_cast<double>(residentBytes() - start) / kPrinters;
    }
    const auto rounds = static_cast<double>(state.iterations());
    state.counters["bytes_per_printer"] = perPrinter / rounds;
    state.counters["bytes_per_bare_socket"] = perSocket / rounds;
}
BENCHMARK(BM_FleetMemoryPerPrinter)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
