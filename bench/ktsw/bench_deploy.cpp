// ktsw deploy to a fleet of 200 emulated TCP printers, 50 at a time, as a
// ratio to its floor measured in the same run: (200 / 50) x the time one
// `ktsw restore` of the same backup takes. Target: ratio at most 1.5. The
// peak resident memory of the deploy process is reported next to it.
//
//   BM_Deploy200/0   printers that answer at once: the run is bound by the
//                    processor time of ktsw and of the one emulator thread
//                    that serves all 200 printers, not by waiting;
//   BM_Deploy200/2   printers that answer 2 ms late, as a printer on a
//                    network does: the run is bound by waiting, as in a
//                    store.
//   counters restore_ms, deploy_ms, ratio, peak_rss_mb
//
// Both programs are spawned as a technician would run them; the fleet is
// one kt-emulator process. Every iteration writes: the backup alternates
// between two documents that differ in five settings.
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "settings_backup.h"
#include "spawn_program.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPrinters = 200;
constexpr int kJobs = 50;

struct Run {
    int status = -1;
    double ms = 0;
    long maxRssKb = 0;
};

Run timed(std::vector<std::string> args)
{
    Run run;
    const auto start = Clock::now();
    const pid_t pid = kt::bench::spawnProgram(std::move(args));
    rusage usage{};
    if (pid > 0 && ::wait4(pid, &run.status, 0, &usage) == pid) {
        run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        run.maxRssKb = usage.ru_maxrss;
    }
    return run;
}

// The fleet process and the ports of its printers, from its ready lines.
class FleetProcess {
public:
    FleetProcess(int count, int lateMs)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        std::vector<std::string> args{KT_EMULATOR_PATH, "--fleet", std::to_string(count), "--tcp",
                                      "127.0.0.1:0"};
        if (lateMs > 0)
            args.insert(args.end(), {"--late", std::to_string(lateMs)});
        pid_ = kt::bench::spawnProgram(args, fds[1]);
        ::close(fds[1]);
        std::string text;
        const auto until = Clock::now() + std::chrono::seconds(60);
        char buffer[4096];
        pollfd p{fds[0], POLLIN, 0};
        while (pid_ > 0 && text.find("ready: ") == std::string::npos && Clock::now() < until
               && ::poll(&p, 1, 1000) >= 0) {
            const ssize_t n
                = (p.revents & (POLLIN | POLLHUP)) ? ::read(fds[0], buffer, sizeof buffer) : 0;
            if (n < 0 || (n == 0 && (p.revents & POLLHUP)))
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fds[0]);
        for (std::size_t at = text.find(" ready on tcp "); at != std::string::npos;
             at = text.find(" ready on tcp ", at + 1)) {
            const std::size_t start = at + 14;
            ports_.push_back(text.substr(start, text.find('\n', start) - start));
        }
    }
    ~FleetProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    FleetProcess(const FleetProcess &) = delete;
    FleetProcess &operator=(const FleetProcess &) = delete;

    const std::vector<std::string> &ports() const { return ports_; }

private:
    pid_t pid_ = -1;
    std::vector<std::string> ports_;
};

std::string writeBackup(const std::string &path, bool changed)
{
    kt::backup::Backup b;
    b.created = kt::backup::currentTime();
    b.printer.model = "KT-4000";
    b.settings.switches = {2, changed ? 5 : 0, changed ? 200 : 0, 0};
    b.settings.codePage = 0;
    b.settings.codePageName = "STANDARD";
    b.settings.charset = changed ? 8 : 0;
    b.settings.font8x16 = changed;
    b.settings.thaiPass = changed ? 249 : 255;
    kt::backup::writeBackupFile(path, b);
    return path;
}

void BM_Deploy200(benchmark::State &state)
{
    FleetProcess fleet(kPrinters, static_cast<int>(state.range(0)));
    if (fleet.ports().size() != static_cast<std::size_t>(kPrinters)) {
        state.SkipWithError("the fleet did not start");
        return;
    }
    char dir[] = "/tmp/kt-bench-deploy-XXXXXX";
    if (!::mkdtemp(dir)) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string files[2] = {writeBackup(std::string(dir) + "/a.json", true),
                                  writeBackup(std::string(dir) + "/b.json", false)};
    const std::string targets = std::string(dir) + "/targets";
    {
        std::ofstream list(targets);
        for (const std::string &port : fleet.ports())
            list << port << '\n';
    }
    double restoreMs = 0, deployMs = 0;
    long peakKb = 0;
    int round = 0;
    for (auto _ : state) {
        const std::string &file = files[round++ % 2];
        const Run restore = timed({KTSW_PATH, "restore", "--port", fleet.ports()[0], file});
        const Run deploy
            = timed({KTSW_PATH, "deploy", file, "--targets", targets, "-j", std::to_string(kJobs)});
        if (restore.status != 0 || deploy.status != 0) {
            state.SkipWithError("restore or deploy did not end with exit 0");
            break;
        }
        restoreMs += restore.ms;
        deployMs += deploy.ms;
        peakKb = std::max(peakKb, deploy.maxRssKb);
    }
    const double n = static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    const double floorMs = static_cast<double>(kPrinters) / kJobs * restoreMs / n;
    state.counters["restore_ms"] = restoreMs / n;
    state.counters["deploy_ms"] = deployMs / n;
    state.counters["ratio"] = floorMs > 0 ? deployMs / n / floorMs : 0;
    state.counters["peak_rss_mb"] = static_cast<double>(peakKb) / 1024.0;
    std::remove(files[0].c_str());
    std::remove(files[1].c_str());
    std::remove(targets.c_str());
    ::rmdir(dir);
}

} // namespace

BENCHMARK(BM_Deploy200)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

BENCHMARK_MAIN();
