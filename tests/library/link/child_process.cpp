#include "child_process.h"

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kt::test {

std::optional<int> runInChild(const std::function<int()> &body, std::chrono::milliseconds limit)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0)
        ::_exit(body());

    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (done == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return std::nullopt;
    }
    if (done < 0 || !WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

} // namespace kt::test
