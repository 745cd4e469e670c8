// The serial-port control MSComm1: the members the utility uses of it.
#pragma once

#include <cstdint>
#include <string>

#include "session/io_status.h"

namespace kt::session {

class SerialControl {
public:
    virtual ~SerialControl() = default;

    virtual bool portOpen() const = 0;
    // Asks for the open state; failures are not raised, read portOpen back.
    virtual void setPortOpen(bool open) = 0;

    // The number after "COM"; the device is /dev/ttyS(n-1) unless a device
    // path was set, which then takes its place until cleared with "".
    virtual int commPort() const = 0;
    virtual void setCommPort(int number) = 0;
    virtual std::string devicePath() const = 0;
    virtual void setDevicePath(const std::string &path) = 0;

    // Line settings "baud,parity,8,1"; a text that cannot be applied is
    // ignored and the previous settings stay.
    virtual std::string settings() const = 0;
    virtual void setSettings(const std::string &settings) = 0;

    // The system error (errno) that kept the last request to open from
    // taking effect; 0 after an open that succeeded.
    virtual int openError() const = 0;

    // Modem lines, read after a successful open. A device without modem
    // lines (a pseudo-terminal) reports both as held.
    virtual bool ctsHolding() const = 0;
    virtual bool dsrHolding() const = 0;

    // Queues one byte for sending; fails when the port is closed or the
    // byte could not be written.
    virtual IoStatus output(std::uint8_t byte) = 0;
    // Received bytes waiting, and all of them as text (one char per byte).
    virtual int inBufferCount() = 0;
    virtual std::string input() = 0;
};

} // namespace kt::session
