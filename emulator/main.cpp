// kt-emulator: a virtual receipt printer on TCP, pseudo-terminals and
// inherited descriptors, or a fleet of them, until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "command_line.h"
#include "core/emulator.h"
#include "core/faults.h"
#include "core/fleet.h"
#include "core/tcp_listener.h"
#include "kt_build_info.h"
#include "usb_device.h"

namespace kt::emu {
namespace {

const char *const kName = "kt-emulator: ";

// The signals the program waits for: stop, the two that change the status,
// and the end of a client it started.
sigset_t programSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2, SIGCHLD})
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

// The exit code of a child that has ended: its own, or 128 + the signal.
std::optional<int> ended(pid_t child)
{
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) != child)
        return std::nullopt;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Until SIGINT or SIGTERM, or until `client` (when there is one) ends:
// SIGUSR1 opens or closes the cover, SIGUSR2 takes the paper out or puts
// it back. A stop signal is passed on to the client, whose end is then
// waited for; a second one kills it. Gives the client's exit code.
std::optional<int> serveUntilStopped(const std::function<void(Condition)> &toggle,
                                     pid_t client = -1)
{
    const sigset_t signals = programSignals();
    int stops = 0;
    for (int signal = 0; sigwait(&signals, &signal) == 0;) {
        if (signal == SIGCHLD) {
            if (client > 0)
                if (auto code = ended(client))
                    return code;
            continue;
        }
        if (signal == SIGINT || signal == SIGTERM) {
            if (client <= 0)
                return std::nullopt;
            ::kill(client, ++stops > 1 ? SIGKILL : signal);
            continue;
        }
        toggle(signal == SIGUSR1 ? Condition::CoverOpen : Condition::PaperEnd);
    }
    return std::nullopt;
}

// Starts `command` with the testbed's environment and the signals the
// program holds let through again. Everything is prepared before the fork:
// the child of a threaded process may only make system calls.
pid_t startClient(const std::vector<std::string> &command, const UsbDevice &usb)
{
    std::vector<std::string> environment = usb.clientEnvironment();
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "UMOCKDEV_DIR" && name != "LD_PRELOAD")
            environment.push_back(entry);
    }
    std::vector<char *> envp, argv;
    for (auto &e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    for (const auto &a : command)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const std::string failed = "kt-emulator: cannot run " + command.front() + "\n";
    const sigset_t signals = programSignals();
    std::cout.flush();

    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::sigprocmask(SIG_UNBLOCK, &signals, nullptr);
    ::execvpe(argv[0], argv.data(), envp.data());
    [[maybe_unused]] auto n = ::write(2, failed.data(), failed.size());
    ::_exit(127);
}

std::string shellWords(const std::vector<std::string> &words)
{
    std::string out;
    for (const auto &w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
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
    std::optional<UsbDevice> usb; // outlives the emulator that serves it
    Emulator emulator(opts.emulator);
    holdSignals();
    if (opts.usb) {
        const auto productId = emulator.profile().usbProductId;
        if (!productId)
            throw EmulatorError(model + " has no USB interface (--set usb_pid=HEX gives it one)");
        usb.emplace(*productId);
        emulator.serveFd(usb->printerFd());
        char ids[32];
        std::snprintf(ids, sizeof ids, "%04x:%04x", UsbDevice::kVendorId, *productId);
        std::cout << kName << model << " ready on usb " << UsbDevice::kNode << " (" << ids << ")"
                  << std::endl;
        if (opts.usbClient.empty())
            std::cout << kName << "run a client inside the testbed with: env "
                      << shellWords(usb->clientEnvironment()) << " COMMAND" << std::endl;
    }
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
    const pid_t client = opts.usbClient.empty() ? -1 : startClient(opts.usbClient, *usb);
    const auto clientCode
        = serveUntilStopped([&](Condition c) { toggleCondition(emulator, c); }, client);
    const int code = finished(emulator.finish());
    return clientCode ? *clientCode : code;
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
