// Starting ktsw and the emulator as a technician's script would, for the
// benchmarks that time whole programs.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace kt::bench {

// Starts the program args[0] with args; its standard output goes to `out`
// (or /dev/null), its standard error to /dev/null. The child's pid, -1 when
// it could not be started.
inline pid_t spawnProgram(std::vector<std::string> args, int out = -1)
{
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace kt::bench
