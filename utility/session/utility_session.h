// Everything of the utility that is not a widget, put together: the serial
// and socket controls, the parallel port, the port session, the USB link,
// the command exchange, the log history and the window-level handlers.
// The window and a command line each build one over their own FormView.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/closing_messages.h"
#include "session/command_exchange.h"
#include "session/form_handlers.h"
#include "session/log_history.h"
#include "session/parallel_port.h"
#include "session/port_session.h"
#include "session/qt_serial_control.h"
#include "session/qt_socket_control.h"
#include "session/usb_link.h"

namespace kt::session {

struct SessionConfig {
    std::string parallelDevice = std::string(kDefaultParallelDevice);
    // Where libKT4000.so is loaded from; when unset, the executable's
    // directory, then the installed library directory relative to it.
    std::optional<std::string> libraryDirectory;
    // Where HELP looks for its file after the current directory; when
    // unset, the executable's directory, then the installed doc directory.
    std::optional<std::vector<std::string>> helpDirectories;
};

class UtilitySession {
public:
    struct Seams {
        FormView &view;
        MessageSink &messages;
        Clock &clock;
        ProcessLauncher &launcher;
        WindowHost &host;
    };
    UtilitySession(Seams seams, const SessionConfig &config = {});

    AppState &state() { return state_; }
    // The message seam every part of the session uses, and the protocol
    // should: silent once the run is ending.
    MessageSink &messages() { return messages_; }
    QtSerialControl &serial() { return serial_; }
    QtSocketControl &socket() { return socket_; }
    ParallelPort &parallel() { return parallel_; }
    PortSession &ports() { return ports_; }
    CommandExchange &exchange() { return exchange_; }
    LogHistory &log() { return log_; }
    FormHandlers &handlers() { return handlers_; }

private:
    static std::vector<std::string> libraryDirectoriesOf(const SessionConfig &config);
    static std::vector<std::string> helpDirectoriesOf(const SessionConfig &config);

    AppState state_;
    ClosingMessages messages_;
    QtSerialControl serial_;
    QtSocketControl socket_;
    ParallelPort parallel_;
    PortSession ports_;
    UsbLink usb_;
    CommandExchange exchange_;
    LogHistory log_;
    FormHandlers handlers_;
};

} // namespace kt::session
