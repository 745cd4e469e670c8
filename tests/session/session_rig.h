// The port session and the command exchange over stand-in controls, a form
// view over plain maps and a clock that does not sleep. The form starts as
// the window does: 115200, DTR/DSR and NONE selected.
#pragma once

#include "fake_controls.h"
#include "fakes.h"
#include "session/command_exchange.h"
#include "session/port_session.h"

namespace kt::test {

struct SessionRig {
    explicit SessionRig(std::string parallelDevice = "/nonexistent/kt-lp0",
                        session::SendxFunction sendx = nullptr)
        : parallel(std::move(parallelDevice)), usb(sendx)
    {
        view.at("com_BR_115200").checked = true;
        view.at("com_HS_HW").checked = true;
        view.at("com_PK_NONE").checked = true;
    }

    void choose(const std::string &port)
    {
        view.at("Combo1").text = port;
        ports.combo1Click();
    }

    // Runs one exchange and gives the reply.
    std::string exchange(const session::Command &command, std::string mode = "R")
    {
        exchanger.exchangeCommand(command, mode);
        return mode;
    }

    FakeFormView view;
    session::AppState state;
    RecordingMessages messages;
    FakeClock clock;
    FakeSerial serial;
    FakeSocket socket;
    session::ParallelPort parallel;
    session::UsbLink usb;
    session::PortSession ports{{view, state, messages, clock, serial, socket, parallel}};
    session::CommandExchange exchanger{
        {state, ports, serial, socket, parallel, usb, clock, messages}};
};

} // namespace kt::test
