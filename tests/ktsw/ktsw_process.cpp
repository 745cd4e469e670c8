#include "ktsw_process.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_file.h"

namespace kt::test {

nlohmann::json Outcome::json() const { return nlohmann::json::parse(out, nullptr, false); }

std::string local(int port) { return "127.0.0.1:" + std::to_string(port); }

Outcome ktsw(std::vector<std::string> args, bool asNobody)
{
    kt::test::TempFile out, err;
    args.insert(args.begin(), KTSW_PATH);
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const passwd *nobody = asNobody ? ::getpwnam("nobody") : nullptr;

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int o = ::open(out.path().c_str(), O_WRONLY | O_TRUNC);
        const int e = ::open(err.path().c_str(), O_WRONLY | O_TRUNC);
        if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0)
            ::_exit(126);
        if (asNobody
            && (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0
                || ::setuid(nobody->pw_uid) != 0))
            ::_exit(125);
        ::execv(KTSW_PATH, argv.data());
        ::_exit(127);
    }
    Outcome run;
    int wstatus = 0;
    if (pid > 0 && ::waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus))
        run.status = WEXITSTATUS(wstatus);
    run.out = out.contents();
    run.err = err.contents();
    return run;
}

} // namespace kt::test
