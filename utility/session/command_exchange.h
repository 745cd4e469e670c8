// The command exchange: sends a command on the port of the selected kind
// and collects the reply when the mode is "R". USB goes through the
// library's sendx, serial through the serial control, the parallel port
// through its file, TCP through the socket control. Every wait goes
// through the clock. Once the run is ending nothing is sent any more and
// the reply is empty.
#pragma once

#include "session/app_state.h"
#include "session/clock.h"
#include "session/command_exchanger.h"
#include "session/messages.h"
#include "session/parallel_port.h"
#include "session/port_session.h"
#include "session/serial_control.h"
#include "session/socket_control.h"
#include "session/usb_link.h"

namespace kt::session {

// The fixed waits of one TCP exchange: after the command has gone out, and
// after the reply was taken. Between them the exchange polls for the first
// byte of the reply, one interval at a time.
inline constexpr int kTcpSendWaitMs = 5;
inline constexpr int kTcpAfterReadMs = 10;
inline constexpr int kTcpPollIntervalMs = 1;

class CommandExchange : public CommandExchanger {
public:
    struct Parts {
        AppState &state;
        PortSession &ports;
        SerialControl &serial;
        SocketControl &socket;
        ParallelPort &parallel;
        UsbLink &usb;
        Clock &clock;
        MessageSink &messages;
    };
    explicit CommandExchange(Parts parts) : p_(parts) { }

    void exchangeCommand(const Command &command, std::string &modeAndReply) override;
    std::string lastFailure() const override { return lastFailure_; }

private:
    std::string overUsb(const Command &command, bool read);
    std::string overSerial(const Command &command, bool read);
    std::string overParallel(const Command &command, bool read);
    std::string overTcp(const Command &command, bool read);
    // The TCP exchange lets window events run while it waits, and one of
    // them may end the run (EXIT, closing the window). Both run their step
    // only while the run goes on, and tell whether it still does.
    bool eventsRan();
    bool statusRefreshed();
    void showSendError(const IoStatus &error);

    Parts p_;
    std::string lastFailure_;
};

} // namespace kt::session
