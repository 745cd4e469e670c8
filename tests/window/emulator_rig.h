// The printer emulator playing one model and the whole window (Form1, the
// session and the printer settings protocol) connected to it over one
// transport, with the user's actions on the window's widgets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/emulator.h"
#include "usb_testbed.h"
#include "window_rig.h"

namespace kt::test {

enum class Transport { Tcp, Serial, Parallel, Usb };

// "Tcp", "Serial", ... for test names.
std::string transportName(Transport transport);
// USB needs a process started by umockdev-wrapper.
bool transportAvailable(Transport transport);

class EmulatorRig {
public:
    EmulatorRig(Transport transport, emu::EmulatorOptions options);
    // The window goes first, then the printer, before the testbed takes
    // its nodes away.
    ~EmulatorRig();
    EmulatorRig(const EmulatorRig &) = delete;
    EmulatorRig &operator=(const EmulatorRig &) = delete;

    // The user's actions, through the widgets, so the window's own signal
    // wiring runs.
    void press(const char *button);
    void selectTab(int tab);
    void clickOption(int switchNo, int index, bool onOption);
    // Clicks the option that is not selected: bit index + 1 flips.
    void flipBit(int switchNo, int index);
    void choose(const char *combo, int index);

    const session::FormView &view() const { return window->view; }
    RecordingMessages &messages() { return window->messages; }
    // Times the program would have ended (a write over TCP, a baud change).
    int programEnds() const { return window->host.ended; }

    // Names of the commands the printer received from transcript entry
    // `from` on; NUL fillers between commands are left out.
    std::vector<std::string> commandsSince(std::size_t from) const;

    // Presses "Write Settings" and waits (bounded) until the printer has
    // taken the lock command that ends the write group: the transports
    // hand the bytes over before the printer has parsed them. False when
    // no lock arrived.
    bool writeSettings();

    // What the printer keeps over a power cycle: stops it and reads its
    // state file back with a new emulator of the same model. Needs
    // options.stateFile.
    emu::PrinterState stateAfterRestart();

    Transport transport;
    emu::EmulatorOptions options;
    std::unique_ptr<test::UsbTestbed> bed;
    std::unique_ptr<emu::Emulator> printer;
    std::unique_ptr<WindowRig> window;
};

// Changes a parameter behind the window's back, on a connection of its
// own, framed by unlock and lock as a service tool would.
void writeParameter(emu::Emulator &printer, int number, const std::string &value);

} // namespace kt::test
