// The window's event handlers that are session logic: start-up, unload,
// EXIT, HELP, the port list, the TCP status, the print tests and the log's
// Clear button (the window's dispatcher calls them). They work on the
// window through FormView only, so the same code serves the window and a
// command line.
#pragma once

#include "session/app_state.h"
#include "session/command_exchanger.h"
#include "session/form_view.h"
#include "session/log_history.h"
#include "session/messages.h"
#include "session/port_session.h"
#include "session/process_launcher.h"
#include "session/program_control.h"

namespace kt::session {

// What only the window system can do: close the window (its unload handler
// then runs) and end the program.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void unloadWindow() = 0;
    virtual void endProgram() = 0;
};

inline constexpr const char *kHelpFileName = "KT_SW_Help.txt";

class FormHandlers : public ProgramControl {
public:
    struct Parts {
        FormView &view;
        AppState &state;
        PortSession &ports;
        CommandExchanger &exchanger;
        LogHistory &log;
        MessageSink &messages;
        ProcessLauncher &launcher;
        WindowHost &host;
    };
    explicit FormHandlers(Parts parts) : p_(parts) { }

    void Form_Load();
    // Both close the port and mark the run as ending (AppState::ending).
    void Form_Unload();
    void cmdEXIT_Click();
    // Opens the help file of the current directory in a text viewer beside
    // the window; a missing file is told, naming the directory searched.
    void cmdHELP_Click();
    void Combo1_Click() { p_.ports.combo1Click(); }
    void cmdSTATUS_Click() { p_.ports.cmdSTATUS_Click(); }
    void Timer1_Timer() { p_.ports.cmdSTATUS_Click(); }
    void cmd01_Click();
    void cmd02_Click();
    void cmdCLEARlst_Click() { p_.log.clear(); }

    // Protocol steps that end the run do what EXIT does.
    void exitProgram() override { cmdEXIT_Click(); }

    // The text viewer HELP starts: the desktop's opener, else the first
    // text editor found.
    std::string helpViewer() const;

private:
    Parts p_;
};

} // namespace kt::session
