// The port session: the port list click, opening and closing the port of
// the selected kind, the parallel port file, and the TCP status box with
// its timer (Timer1, every 3000 ms while enabled).
#pragma once

#include <string>

#include <QTimer>

#include "open_reason.h"
#include "session/app_state.h"
#include "session/clock.h"
#include "session/form_view.h"
#include "session/messages.h"
#include "session/parallel_port.h"
#include "session/port_control.h"
#include "session/serial_control.h"
#include "session/socket_control.h"

namespace kt::session {

// The line a failed open adds under its message: a blank line and the
// system's reason in words ("Permission denied: add your user to the group
// dialout"); empty without an error.
std::string reasonLine(port::ReasonKind kind, int error, const std::string &device);

class PortSession : public PortControl {
public:
    struct Parts {
        FormView &view;
        AppState &state;
        MessageSink &messages;
        Clock &clock;
        SerialControl &serial;
        SocketControl &socket;
        ParallelPort &parallel;
    };
    explicit PortSession(Parts parts);

    // Combo1_Click: takes the port from the list and shows its frame.
    void combo1Click();

    bool openPort(const std::string &name, bool open) override;
    std::string serialSettings() const override { return p_.serial.settings(); }

    // Opens the parallel port for reading (mode "R") or writing (any other
    // mode), or closes it (which enables Timer1).
    void openLPT(bool open, const std::string &mode);

    // cmdSTATUS_Click: shows the socket state in txtSTATUS when it changed.
    void cmdSTATUS_Click();

    bool timer1Enabled() const { return timer1_.isActive(); }
    void setTimer1Enabled(bool on);

private:
    bool openSerial(const std::string &name, bool open);
    void openTcp(bool open);
    void showFileError(const IoStatus &error);

    Parts p_;
    QTimer timer1_;
};

} // namespace kt::session
