// The state that the window keeps for the whole run.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kt::session {

struct AppState {
    // The port as listed ("USB", "COM1".."COM16", "LPT1", "TCP/IP") and its
    // kind, the upper-cased first three characters. Always set together. A
    // device path typed into the list ("/dev/ttyUSB0", "/tmp/kt-printer")
    // is a serial port: its kind is "COM".
    std::string portName = "COM1";
    std::string portKind = "COM";
    std::int16_t lastSocketState = 0;
    std::string makerName = "**";
    std::array<std::int16_t, 8> bitWeight{1, 2, 4, 8, 16, 32, 64, 128};
    bool dataChanged = false;
    bool revertingTab = false;
    // Set once EXIT or closing the window has begun ending the run; a
    // handler that was waiting meanwhile stops where it is: nothing more is
    // sent, waited for or shown.
    bool ending = false;

    void setPort(const std::string &name);
};

} // namespace kt::session
