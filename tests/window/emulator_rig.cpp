#include "emulator_rig.h"

#include <chrono>
#include <stdexcept>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "session/control_names.h"

namespace kt::test {
namespace {

// The USB exchange goes through the real libKT4000.so of this build.
constexpr const char *kLibraryDirectory = KT4000_DIR;

// How the printer names NUL bytes between commands. The NUL that ends a
// parameter read is one of them when it arrives apart from the read, as it
// may now that a command goes out byte by byte without delay.
constexpr std::string_view kFiller = "NUL (filler)";

std::string command(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes)
        out += static_cast<char>(b);
    return out;
}

} // namespace

std::string transportName(Transport transport)
{
    switch (transport) {
    case Transport::Tcp: return "Tcp";
    case Transport::Serial: return "Serial";
    case Transport::Parallel: return "Parallel";
    case Transport::Usb: return "Usb";
    }
    return "Unknown";
}

bool transportAvailable(Transport transport)
{
    return transport != Transport::Usb || test::UsbTestbed::available();
}

EmulatorRig::EmulatorRig(Transport t, emu::EmulatorOptions o) : transport(t), options(std::move(o))
{
    printer = std::make_unique<emu::Emulator>(options);
    const std::string parallel
        = t == Transport::Parallel ? printer->openPty() : "/nonexistent/kt-lp0";
    window = std::make_unique<WindowRig>(parallel, kLibraryDirectory);
    window->useProtocol();
    switch (t) {
    case Transport::Tcp:
        window->pickPort("TCP/IP");
        window->control<QLineEdit>("tcpIP")->setText("127.0.0.1");
        window->control<QLineEdit>("tcpListenPort")->setText(QString::number(printer->listenTcp()));
        break;
    case Transport::Serial: {
        window->pickPort(QString::fromStdString(printer->openPty()));
        // A slow answer is waited for after the exchange's 30 ms.
        session::SerialControl &serial = window->session.serial();
        window->clock.ready = [&serial] { return serial.inBufferCount() > 0; };
        break;
    }
    case Transport::Parallel: window->pickPort("LPT1"); break;
    case Transport::Usb: {
        const auto productId = printer->profile().usbProductId;
        if (!productId)
            throw std::invalid_argument(options.model + " has no USB interface");
        bed = std::make_unique<test::UsbTestbed>();
        printer->serveFd(bed->deviceFd(bed->addPrinter(*productId)));
        window->pickPort("USB");
        break;
    }
    }
}

EmulatorRig::~EmulatorRig()
{
    window.reset();
    if (printer)
        printer->stop();
}

void EmulatorRig::press(const char *button) { window->control<QPushButton>(button)->click(); }

void EmulatorRig::selectTab(int tab)
{
    window->control<QTabWidget>("SSTab1")->setCurrentIndex(tab);
}

void EmulatorRig::clickOption(int switchNo, int index, bool onOption)
{
    const std::string name = onOption ? session::controls::optSWON(switchNo, index)
                                      : session::controls::optSWOFF(switchNo, index);
    window->control<QRadioButton>(name.c_str())->click();
}

void EmulatorRig::flipBit(int switchNo, int index)
{
    clickOption(switchNo, index, !view().checked(session::controls::optSWON(switchNo, index)));
}

void EmulatorRig::choose(const char *combo, int index)
{
    auto *box = window->control<QComboBox>(combo);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

std::vector<std::string> EmulatorRig::commandsSince(std::size_t from) const
{
    std::vector<std::string> names;
    const std::vector<emu::TranscriptEntry> entries = printer->transcript();
    for (std::size_t i = from; i < entries.size(); ++i)
        if (!entries[i].name.starts_with(kFiller))
            names.push_back(entries[i].name);
    return names;
}

bool EmulatorRig::writeSettings()
{
    using namespace std::chrono;
    const std::size_t from = printer->transcriptCount();
    press("cmd2");
    const auto deadline = steady_clock::now() + 3s;
    for (;;) {
        // Counted before looking, so an entry added meanwhile ends the wait.
        const std::size_t seen = printer->transcriptCount();
        for (const std::string &name : commandsSince(from))
            if (name.starts_with("GS g l c k"))
                return true;
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left <= 0ms || !printer->waitForTranscript(seen + 1, left))
            return false;
    }
}

emu::PrinterState EmulatorRig::stateAfterRestart()
{
    if (!options.stateFile)
        throw std::logic_error("the rig's printer has no state file");
    printer->stop();
    emu::Emulator again(options);
    return again.state();
}

void writeParameter(emu::Emulator &printer, int number, const std::string &value)
{
    const auto link = printer.connect();
    link->send(command({0x1D, 0x67, 0x75, 0x6E, 0x6C, 0x00}));
    link->send(command({0x1D, 0x67, 0x38, number}) + value + std::string(1, '\0'));
    link->send(command({0x1D, 0x67, 0x6C, 0x63, 0x6B, 0x00}));
    link->close();
}

} // namespace kt::test
