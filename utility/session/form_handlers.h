// The window's event handlers that are session logic: start-up, unload,
// EXIT, HELP, the port list, the TCP status, the print tests and the log's
// Clear button (the window's dispatcher calls them). They work on the
// window through FormView only, so the same code serves the window and a
// command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/app_state.h"
#include "session/command_exchanger.h"
#include "session/form_view.h"
#include "session/help_file.h"
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
    // helpDirectories: where HELP looks after the current directory (the
    // program's own directory, the installed doc directory).
    explicit FormHandlers(Parts parts, std::vector<std::string> helpDirectories = {})
        : p_(parts), helpDirectories_(std::move(helpDirectories))
    { }

    void Form_Load();
    // Both close the port and mark the run as ending (AppState::ending).
    void Form_Unload();
    void cmdEXIT_Click();
    // Opens the help file (the current directory's, else the installed
    // copy) in a text viewer beside the window; when no viewer can be
    // started, shows its text in a read-only window. A missing file is
    // told, naming the current directory.
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
    // text editor found; nothing when none is installed.
    std::optional<std::string> helpViewer() const;

private:
    // The help text in the utility's own read-only window; the reason is
    // shown instead when the file cannot be read either.
    void showHelpText(const std::string &file, const std::string &reason);

    Parts p_;
    std::vector<std::string> helpDirectories_;
};

} // namespace kt::session
