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
        sigset_t signals;
        sigemptyset(&signals);
        for (int s : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2})
            sigaddset(&signals, s);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);

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

        if (opts.control) {
            emulator.listenControl(*opts.control);
            std::cout << "kt-emulator: control socket " << opts.control->string() << std::endl;
        }
        if (opts.emulator.conditions.any())
            std::cerr << "kt-emulator: status: " << describeConditions(opts.emulator.conditions)
                      << std::endl;

        for (int signal = 0; sigwait(&signals, &signal) == 0;) {
            if (signal == SIGINT || signal == SIGTERM)
                break;
            // SIGUSR1 opens or closes the cover, SIGUSR2 takes the paper out or puts it back.
            const Condition c = signal == SIGUSR1 ? Condition::CoverOpen : Condition::PaperEnd;
            emulator.setCondition(c, !emulator.conditions().has(c));
        }
        const Status finished = emulator.finish();
        if (!finished)
            std::cerr << "kt-emulator: " << finished.error() << "\n";
        return finished ? 0 : 1;
    } catch (const std::exception &e) {
        std::cerr << "kt-emulator: " << e.what() << "\n";
        return 2;
    }
}
