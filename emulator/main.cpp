// kt-emulator: a virtual receipt printer on TCP, pseudo-terminals and
// inherited descriptors, or a fleet of them, until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>

#include "command_line.h"
#include "core/emulator.h"
#include "core/faults.h"
#include "core/fleet.h"
#include "core/tcp_listener.h"

namespace kt::emu {
namespace {

const char *const kName = "kt-emulator: ";

// The signals the program waits for: stop, and the two that change the status.
sigset_t programSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2})
        sigaddset(&signals, s);
    return signals;
}

// From here on the signals wait for sigwait(), so that the paper and the
// state are written before the program ends. Loading the state comes
// before: a stop signal still ends the program there, whatever the file is.
void holdSignals()
{
    const sigset_t signals = programSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

// Until SIGINT or SIGTERM: SIGUSR1 opens or closes the cover, SIGUSR2 takes
// the paper out or puts it back.
void serveUntilStopped(const std::function<void(Condition)> &toggle)
{
    const sigset_t signals = programSignals();
    for (int signal = 0; sigwait(&signals, &signal) == 0;) {
        if (signal == SIGINT || signal == SIGTERM)
            return;
        toggle(signal == SIGUSR1 ? Condition::CoverOpen : Condition::PaperEnd);
    }
}

void toggleCondition(Emulator &printer, Condition c)
{
    printer.setCondition(c, !printer.conditions().has(c));
}

void tellStart(const EmulatorOptions &o)
{
    if (describeFaults(o.faults) != "none")
        std::cerr << kName << "faults: " << describeFaults(o.faults) << std::endl;
    if (o.conditions.any())
        std::cerr << kName << "status: " << describeConditions(o.conditions) << std::endl;
}

int finished(const Status &done)
{
    if (!done)
        std::cerr << kName << done.error() << "\n";
    return done ? 0 : 1;
}

int runPrinter(const ProgramOptions &opts)
{
    const std::string &model = opts.emulator.model;
    Emulator emulator(opts.emulator);
    holdSignals();
    for (const auto &address : opts.tcp) {
        const HostPort where = *parseHostPort(address);
        const auto bound = emulator.listenTcp(where.host, where.port);
        std::cout << kName << model << " ready on tcp " << where.host << ":" << bound << std::endl;
    }
    for (const auto &link : opts.pty)
        std::cout << kName << model << " ready on pty " << emulator.openPty(link) << std::endl;
    for (int fd : opts.fds) {
        emulator.serveFd(fd, true);
        std::cout << kName << model << " ready on fd " << fd << std::endl;
    }
    if (opts.control) {
        emulator.listenControl(*opts.control);
        std::cout << kName << "control socket " << opts.control->string() << std::endl;
    }
    tellStart(opts.emulator);
    serveUntilStopped([&](Condition c) { toggleCondition(emulator, c); });
    return finished(emulator.finish());
}

int runFleet(const ProgramOptions &opts)
{
    Fleet fleet(*opts.fleet);
    holdSignals();
    for (const auto &m : fleet.members()) {
        std::cout << kName << "printer " << m.number << " " << m.model << " serial " << m.serial;
        if (describeFaults(m.faults) != "none")
            std::cout << " faults " << describeFaults(m.faults);
        std::cout << " ready on tcp " << m.host << ":" << m.port << "\n";
    }
    if (opts.control) {
        fleet.listenControl(*opts.control);
        std::cout << kName << "control socket " << opts.control->string() << "\n";
    }
    std::cout << kName << "ready: " << fleet.size() << " printers" << std::endl;
    if (opts.emulator.conditions.any())
        std::cerr << kName << "status: " << describeConditions(opts.emulator.conditions)
                  << std::endl;
    serveUntilStopped([&](Condition c) {
        for (std::size_t i = 0; i < fleet.size(); ++i)
            toggleCondition(fleet.printer(i), c);
    });
    return finished(fleet.finish());
}

} // namespace
} // namespace kt::emu

int main(int argc, char **argv)
{
    using namespace kt::emu;
    auto parsed = parseCommandLine({argv + 1, argv + argc});
    if (!parsed) {
        std::cerr << kName << parsed.error() << "\n(kt-emulator --help lists the options)\n";
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
    try {
        return opts.fleet ? runFleet(opts) : runPrinter(opts);
    } catch (const std::exception &e) {
        std::cerr << kName << e.what() << "\n";
        return 2;
    }
}
