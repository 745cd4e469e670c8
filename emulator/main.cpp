// kt-emulator: a virtual receipt printer on TCP, pseudo-terminals and
// inherited descriptors, until SIGINT or SIGTERM.
#include "command_line.h"
#include "core/emulator.h"
#include "core/faults.h"
#include "core/tcp_listener.h"

#include <csignal>
#include <cstdio>
#include <iostream>

int main(int argc, char **argv) {
    using namespace kt::emu;
    ProgramOptions opts;
    if (auto err = parseCommandLine({argv + 1, argv + argc}, opts); !err.empty()) {
        std::cerr << "kt-emulator: " << err << "\n" << usageText();
        return 2;
    }
    if (opts.help) {
        std::cout << usageText();
        return 0;
    }
    if (opts.listModels) {
        for (const auto &name : catalogueModelNames()) std::cout << name << "\n";
        return 0;
    }

    // The transport threads inherit this mask; only sigwait() below sees
    // the stop signals.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const std::string model = opts.emulator.model;
    try {
        Emulator emulator(opts.emulator);
        for (const auto &address : opts.tcp) {
            std::string host;
            std::uint16_t port = 0;
            splitHostPort(address, host, port);
            const auto bound = emulator.listenTcp(host, port);
            std::cout << "kt-emulator: " << model << " ready on tcp " << host << ":" << bound << std::endl;
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
            std::cerr << "kt-emulator: faults: " << describeFaults(opts.emulator.faults) << std::endl;

        int signal = 0;
        sigwait(&stopSignals, &signal);
        const bool ok = emulator.stop();
        for (const auto &e : emulator.errors()) std::cerr << "kt-emulator: " << e << "\n";
        return ok ? 0 : 1;
    } catch (const std::exception &e) {
        std::cerr << "kt-emulator: " << e.what() << "\n";
        return 2;
    }
}
