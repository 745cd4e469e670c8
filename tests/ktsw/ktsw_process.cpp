#include "ktsw_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "temp_file.h"

namespace kt::test {

nlohmann::json Outcome::json() const { return nlohmann::json::parse(out, nullptr, false); }

std::string local(int port) { return "127.0.0.1:" + std::to_string(port); }

namespace {

// Bound on one ktsw run: far above any command's own time-outs, so that a
// hang fails its test instead of stopping the suite.
constexpr auto kRunBound = std::chrono::seconds(120);

// Runs as the user nobody: needs set-user calls between fork and exec.
pid_t forkAsNobody(char *const argv[], const std::string &out, const std::string &err)
{
    const passwd *nobody = ::getpwnam("nobody");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int o = ::open(out.c_str(), O_WRONLY | O_TRUNC);
        const int e = ::open(err.c_str(), O_WRONLY | O_TRUNC);
        if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0)
            ::_exit(126);
        if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0
            || ::setuid(nobody->pw_uid) != 0)
            ::_exit(125);
        ::execv(KTSW_PATH, argv);
        ::_exit(127);
    }
    return pid;
}

// posix_spawn opens the redirections itself: a forked child of this
// multi-threaded test (emulator and testbed threads) could otherwise block
// for ever in an interposed open() on a lock some other thread held at the
// fork.
pid_t spawn(char *const argv[], const std::string &out, const std::string &err)
{
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0)
        return -1;
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_TRUNC, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = -1;
    if (::posix_spawn(&pid, KTSW_PATH, &actions, nullptr, argv, environ) != 0)
        pid = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

Outcome ktsw(std::vector<std::string> args, bool asNobody)
{
    kt::test::TempFile out, err;
    std::string program = KTSW_PATH;
    std::vector<char *> argv{program.data()};
    argv.reserve(args.size() + 2);
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = asNobody ? forkAsNobody(argv.data(), out.path(), err.path())
                               : spawn(argv.data(), out.path(), err.path());
    Outcome run;
    int wstatus = 0;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + kRunBound;
    while (pid > 0 && !ended && std::chrono::steady_clock::now() < deadline) {
        const pid_t done = ::waitpid(pid, &wstatus, WNOHANG);
        ended = done == pid || (done < 0 && errno != EINTR);
        if (!ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (pid > 0 && !ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &wstatus, 0);
    }
    if (pid > 0 && ended && WIFEXITED(wstatus))
        run.status = WEXITSTATUS(wstatus);
    run.out = out.contents();
    run.err = err.contents();
    if (pid > 0 && !ended)
        run.err += "\n(ktsw did not end within the test's bound and was killed)";
    return run;
}

} // namespace kt::test
