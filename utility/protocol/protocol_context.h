// The seams the protocol logic works through, gathered in one place so that
// each step takes a single reference.
#pragma once

#include <string>

#include "session/app_state.h"
#include "session/clock.h"
#include "session/command_exchanger.h"
#include "session/control_names.h"
#include "session/form_view.h"
#include "session/log_history.h"
#include "session/messages.h"
#include "session/port_control.h"
#include "session/program_control.h"

namespace kt::protocol {

namespace controls = session::controls;

// The value label that holds the model name, the key of every model decision.
inline const std::string kModelLabel = controls::lblKT_INFO(0);
// Appended to most failure messages.
inline constexpr std::string_view kCheckPort = "Please check the port setting of your printer.";

struct ProtocolContext {
    session::FormView &view;
    session::CommandExchanger &exchanger;
    session::MessageSink &messages;
    session::Clock &clock;
    session::AppState &state;
    session::LogHistory &log;
    session::PortControl &port;
    session::ProgramControl &program;

    std::string modelKey() const { return view.text(kModelLabel); }

    // Sends a query in mode "R" and returns the reply ("" = no answer).
    std::string ask(const session::Command &command) const
    {
        std::string reply = "R";
        exchanger.exchangeCommand(command, reply);
        return reply;
    }

    // Sends a write command in mode "W"; nothing is read back.
    void send(const session::Command &command) const
    {
        std::string mode = "W";
        exchanger.exchangeCommand(command, mode);
    }

    void inform(std::string_view text) const
    {
        messages.show(text, session::MessageIcon::Information);
    }
    void critical(std::string_view text) const
    {
        messages.show(text, session::MessageIcon::Critical);
    }
};

} // namespace kt::protocol
