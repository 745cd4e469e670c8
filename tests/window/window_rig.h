// Form1 with its FormView and the whole session behind it, as main() puts
// them together, but with recorded messages and events, and the printer
// settings protocol only when a test asks for it.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "fakes.h"
#include "protocol/controller.h"
#include "session/control_names.h"
#include "session/form_events.h"
#include "session/qt_clock.h"
#include "session/utility_session.h"
#include "window/form1.h"
#include "window/form_dispatcher.h"
#include "window/qt_form_view.h"
#include "window/qt_window_host.h"

namespace kt::test {

// Records every event the window raises, then passes it on.
struct RecordingEvents : session::FormEvents {
    void Form_Load() override { pass("Form_Load", &FormEvents::Form_Load); }
    void Form_Unload() override { pass("Form_Unload", &FormEvents::Form_Unload); }
    void Combo1_Click() override { pass("Combo1", &FormEvents::Combo1_Click); }
    void cmdSTATUS_Click() override { pass("cmdSTATUS", &FormEvents::cmdSTATUS_Click); }
    void cmdCommunicate_Click() override
    {
        pass("cmdCommunicate", &FormEvents::cmdCommunicate_Click);
    }
    void cmd01_Click() override { pass("cmd01", &FormEvents::cmd01_Click); }
    void cmd02_Click() override { pass("cmd02", &FormEvents::cmd02_Click); }
    void cmd1_Click() override { pass("cmd1", &FormEvents::cmd1_Click); }
    void cmd2_Click() override { pass("cmd2", &FormEvents::cmd2_Click); }
    void cmdEXIT_Click() override { pass("cmdEXIT", &FormEvents::cmdEXIT_Click); }
    void cmdHELP_Click() override { pass("cmdHELP", &FormEvents::cmdHELP_Click); }
    void cmdCLEARlst_Click() override { pass("cmdCLEARlst", &FormEvents::cmdCLEARlst_Click); }
    void SSTab1_Click(int previousTab) override
    {
        pass("SSTab1 from " + std::to_string(previousTab), &FormEvents::SSTab1_Click, previousTab);
    }
    void optSW_Click(int sw, int index, bool on) override
    {
        pass(on ? session::controls::optSWON(sw, index) : session::controls::optSWOFF(sw, index),
             &FormEvents::optSW_Click, sw, index, on);
    }
    void combo_Click(std::string_view combo) override
    {
        pass(std::string(combo), &FormEvents::combo_Click, combo);
    }

    template <typename... Params, typename... Args>
    void pass(std::string call, void (FormEvents::*handler)(Params...), Args... args)
    {
        calls.push_back(std::move(call));
        if (next)
            (next->*handler)(args...);
    }

    std::vector<std::string> calls;
    FormEvents *next = nullptr;
};

// The real clock, which after a plain sleep also waits (a bounded while)
// for `ready`, when set: end-to-end runs keep the real waits without
// depending on how fast another thread answers. `asked`, when set, hears of
// every sleep the utility asks for.
struct PatientClock : session::QtClock {
    void sleepMs(int ms) override
    {
        if (asked)
            asked(ms);
        session::QtClock::sleepMs(ms);
        for (int i = 0; ready && i < 400 && !ready(); ++i)
            session::QtClock::sleepMs(5);
    }
    std::function<bool()> ready;
    std::function<void(int)> asked;
};

struct NoViewer : session::ProcessLauncher {
    bool available(const std::string &) const override { return false; }
    session::IoStatus startDetached(const std::string &program,
                                    const std::vector<std::string> &) override
    {
        started.push_back(program);
        return session::IoStatus::success();
    }
    std::vector<std::string> started;
};

// Closes the window as the program does; ending the program is only
// counted, since it would stop every later event loop of the test program.
// The number of messages shown by then tells what came before the end.
struct TestHost : session::WindowHost {
    TestHost(QWidget &window, const RecordingMessages &shown) : real(window), messages(shown) { }
    void unloadWindow() override { real.unloadWindow(); }
    void endProgram() override
    {
        ++ended;
        messagesWhenEnded = messages.shown.size();
    }
    window::QtWindowHost real;
    const RecordingMessages &messages;
    int ended = 0;
    std::size_t messagesWhenEnded = 0;
};

struct WindowRig {
    // What the rig's view does with a control name the window does not
    // know; the test programs make it fail the running test.
    inline static window::QtFormView::UnknownNameHandler onUnknownControl
        = window::QtFormView::warnOnLog;

    explicit WindowRig(std::string parallelDevice = "/nonexistent/kt-lp0",
                       std::string libraryDirectory = "/nonexistent")
        : session(
            {view, messages, clock, viewer, host},
            {std::move(parallelDevice), std::move(libraryDirectory), std::vector<std::string>{}})
    {
        events.next = &dispatcher;
        form.bind(&events);
        dispatcher.Form_Load();
        form.show();
        QApplication::processEvents();
    }

    template <typename W = QWidget> W *control(const char *name) const
    {
        return form.findChild<W *>(name);
    }

    // Puts the printer settings protocol behind the window; until then its
    // events are only recorded. Its commands go through `exchanger` when
    // given (a stand-in that passes them on to the session's exchange).
    void useProtocol(session::CommandExchanger *exchanger = nullptr)
    {
        protocol = std::make_unique<protocol::Controller>(protocol::ProtocolContext{
            view, exchanger ? *exchanger : session.exchange(), session.messages(), clock,
            session.state(), session.log(), session.ports(), session.handlers()});
        withProtocol = std::make_unique<window::FormDispatcher>(session.handlers(), protocol.get());
        events.next = withProtocol.get();
    }

    // The user picks a port from the list, or types one and leaves the box.
    void pickPort(const QString &port)
    {
        auto *combo = control<QComboBox>("Combo1");
        const int index = combo->findText(port);
        if (index >= 0) {
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        } else {
            combo->lineEdit()->setText(port);
            emit combo->lineEdit()->editingFinished();
        }
    }

    window::Form1 form;
    window::QtFormView view{form, onUnknownControl};
    RecordingMessages messages;
    PatientClock clock;
    NoViewer viewer;
    TestHost host{form, messages};
    RecordingEvents events;
    session::UtilitySession session;
    window::FormDispatcher dispatcher{session.handlers(), nullptr};
    std::unique_ptr<protocol::Controller> protocol;
    std::unique_ptr<window::FormDispatcher> withProtocol;
};

} // namespace kt::test
