// kt-emulator: a virtual receipt printer on TCP, pseudo-terminals and
// inherited descriptors, until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <iostream>

#include "command_line.h"
#include "core/emulator.h"
#include "core/faults.h"
#include "core/tcp_listener.h"

int main(int argc, char **argv)
{
    using namespace kt::emu;
    auto parsed = parseCommandLine({argv + 1, argv + argc});
    if (!parsed) {
        std::cerr << "kt-emulator: " << parsed.error()
                  << "\n(kt-emulator --help lists the options)\n";
        return 2;
    }
    const ProgramOptions &opts = *parsed;
    if (opts.help) {
        std::cout << usageText();
        return 0;
    }
    if (opts.version) {
        std::cout << "kt-emulator " << KT_VERSION << "\n";
        return 0;
    }
    if (opts.listModels) {
        for (const auto &name : catalogueModelNames())
            std::cout << name << "\n";
        return 0;
    }
    std::signal(SIGPIPE, SIG_IGN);

    const std::string model = opts.emulator.model;
    try {
        // Loading the state is start-up: a stop signal still ends the
        // program here, whatever the state file turns out to be.
        Emulator emulator(opts.emulator);

        // From now on the stop signals wait for sigwait() below, so that the
        // paper and the state are written before the program ends.
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

        for (const auto &address : opts.tcp) {
            const HostPort where = *parseHostPort(address);
            const auto bound = emulator.listenTcp(where.host, where.port);
            std::cout << "kt-emulator: " << model << " ready on tcp " << where.host << ":" << bound
                      << std::endl;
        }
        for (const auto &link : opts.pty) {
            const auto path = emulator.openPty(link);
            std::cout << "kt-emulator: " << model << " ready on pty " << path << std::endl;
        }
        for (int fd : opts.fds) {
            emulator.serveFd(fd, true);
            std::cout << "kt-emulator: " << model << " ready on fd " << fd << std::endl;
        }
        if (describeFaults(opts.emulator.faults) != "none")
            std::cerr << "kt-emulator: faults: " << describeFaults(opts.emulator.faults)
                      << std::endl;

        int signal = 0;
        sigwait(&stopSignals, &signal);
        const Status finished = emulator.finish();
        if (!finished)
            std::cerr << "kt-emulator: " << finished.error() << "\n";
        return finished ? 0 : 1;
    } catch (const std::exception &e) {
        std::cerr << "kt-emulator: " << e.what() << "\n";
        return 2;
    }
}
