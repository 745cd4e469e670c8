// The port session as the protocol steps see it.
#pragma once

#include <string>

namespace kt::session {

class PortControl {
public:
    virtual ~PortControl() = default;
    // Opens (open = true) or closes the port of the selected kind; false when
    // a serial port could not be brought to that state or is not ready.
    virtual bool openPort(const std::string &name, bool open) = 0;
    // The serial control's Settings text, for example "9600,N,8,1".
    virtual std::string serialSettings() const = 0;
};

} // namespace kt::session
