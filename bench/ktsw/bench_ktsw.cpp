// ktsw's start-up and its one-connection queries, each against a floor
// measured in the same run on this (shared, noisy) machine:
//
//   BM_InfoOverTcp   `ktsw info --json` against an in-process emulator: the
//                    command itself (argument parsing, connect, the 15
//                    queries, JSON) as a ratio to the same queries as bare
//                    loopback round trips on one open connection (counter
//                    ratio, target at most 3), and the whole program as a
//                    technician's script spawns it (counter spawned_ms,
//                    target under 100 ms);
//   BM_Version       `ktsw --version` spawned (target under 20 ms), next to
//                    spawning /bin/true.
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/emulator.h"
#include "ktsw.h"
#include "protocol/commands.h"
#include "spawn_program.h"
#include "tcp_connect.h"

namespace {

using Clock = std::chrono::steady_clock;
using kt::protocol::Query;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs a program with its output thrown away; the exit status.
int spawn(std::vector<std::string> args)
{
    int status = -1;
    if (const pid_t pid = kt::bench::spawnProgram(std::move(args)); pid > 0)
        waitpid(pid, &status, 0);
    return status;
}

// One query and its reply up to the NUL terminator.
bool roundTrip(int fd, const kt::protocol::Command &command)
{
    if (::write(fd, command.data(), command.size()) != static_cast<ssize_t>(command.size()))
        return false;
    char c = 1;
    while (c != '\0')
        if (::read(fd, &c, 1) != 1)
            return false;
    return true;
}

// The queries `ktsw info` sends to a KT-4000, in its order.
const std::vector<Query> kInfoQueries = {
    Query::Maker,        Query::Printer1,  Query::Printer2,    Query::Printer5Serial,
    Query::Printer3,     Query::Printer3a, Query::Printer4Cut, Query::Printer4Failed,
    Query::Printer5Date, Query::Language1, Query::Language2,   Query::Language3,
    Query::Language4,    Query::Language6, Query::Language7,
};

void BM_InfoOverTcp(benchmark::State &state)
{
    kt::emu::EmulatorOptions options;
    options.model = "KT-4000";
    kt::emu::Emulator printer(options);
    const std::uint16_t port = printer.listenTcp();
    const std::string portText = "127.0.0.1:" + std::to_string(port);
    std::vector<std::string> args = {"ktsw", "info", "--port", portText, "--json"};
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    double infoMs = 0, floorMs = 0, spawnedMs = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        const auto start = Clock::now();
        if (kt::ktsw::runKtsw(static_cast<int>(argv.size()), argv.data(), out, err) != 0)
            state.SkipWithError("ktsw info failed");
        infoMs += msSince(start);

        const auto spawnStart = Clock::now();
        if (spawn({KTSW_PATH, "info", "--port", portText, "--json"}) != 0)
            state.SkipWithError("ktsw info failed");
        spawnedMs += msSince(spawnStart);

        const int fd = kt::test::connectTcp(port, 10000, "127.0.0.1", true);
        const auto floorStart = Clock::now();
        for (Query q : kInfoQueries)
            if (fd < 0 || !roundTrip(fd, kt::protocol::queryEntry(q).bytes))
                state.SkipWithError("round trip failed");
        floorMs += msSince(floorStart);
        ::close(fd);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["info_ms"] = infoMs / n;
    state.counters["floor_ms"] = floorMs / n;
    state.counters["spawned_ms"] = spawnedMs / n;
    state.counters["queries"] = static_cast<double>(kInfoQueries.size());
    state.counters["ratio"] = infoMs / floorMs;
}
BENCHMARK(BM_InfoOverTcp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Version(benchmark::State &state)
{
    double versionMs = 0, trueMs = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        if (spawn({KTSW_PATH, "--version"}) != 0)
            state.SkipWithError("ktsw --version failed");
        versionMs += msSince(start);
        start = Clock::now();
        spawn({"/bin/true"});
        trueMs += msSince(start);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["version_ms"] = versionMs / n;
    state.counters["true_ms"] = trueMs / n;
    state.counters["ratio"] = versionMs / trueMs;
}
BENCHMARK(BM_Version)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
