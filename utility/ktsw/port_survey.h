// The printer ports of this machine, as udev knows them: usblp nodes,
// printers of the maker whose interface has no usblp node, USB serial and
// CDC terminals (ttyUSB*, ttyACM*), serial ports with hardware behind them
// (ttyS*) and parallel ports (lp*).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kt::ktsw {

enum class PortKind { Usb, Serial, Parallel };

const char *kindName(PortKind kind);

struct Candidate {
    std::string path; // the device node; empty for a USB printer without one
    PortKind kind = PortKind::Serial;
    std::optional<std::string> model;  // a USB device of the maker, by its product id
    std::optional<std::string> usbId;  // "5e1b:0384" for a device on USB
    std::optional<bool> usblpBound;    // USB printers: usblp drives the interface
    std::optional<int> serialPortType; // ttyS*: the serial core's port type, when told
};

// Every candidate, USB printers first, then serial and parallel ports, each
// by path. A ttyS* port counts only when a driver is bound to its device
// and the serial core does not call its type unknown.
std::vector<Candidate> surveyPorts();

} // namespace kt::ktsw
