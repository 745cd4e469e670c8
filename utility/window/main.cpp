// KT_SW_Utility: builds Form1, puts the session and the printer settings
// protocol behind it through the dispatcher of its events, runs the
// start-up handler and hands control to the event loop. --version and
// --help end before any window system is needed.
#include <iostream>

#include <QApplication>
#include <QTimer>

#include "protocol/controller.h"
#include "protocol/protocol_context.h"
#include "session/process_launcher.h"
#include "session/qt_clock.h"
#include "session/utility_session.h"
#include "window/form1.h"
#include "window/form_dispatcher.h"
#include "window/qt_form_view.h"
#include "window/qt_messages.h"
#include "window/qt_window_host.h"
#include "window/start_options.h"
#include "window/window_style.h"

int main(int argc, char **argv)
{
    const auto options = kt::window::readStartOptions(argc, argv, std::cout, std::cerr);
    if (const int *exitCode = std::get_if<int>(&options))
        return *exitCode;
    const auto quitAfterMs = std::get<kt::window::StartOptions>(options).quitAfterMs;

    QApplication app(argc, argv);
    QApplication::setApplicationName("KT_SW_Utility");
    kt::window::style::registerFontSubstitutes();

    kt::window::Form1 form;
    kt::window::QtFormView view(form);
    kt::window::QtMessages messages(&form);
    kt::window::QtWindowHost host(form);
    kt::session::QtClock clock;
    kt::session::QtProcessLauncher launcher;
    kt::session::UtilitySession session({view, messages, clock, launcher, host});

    const kt::protocol::ProtocolContext context{
        view,          session.exchange(), session.messages(), clock, session.state(),
        session.log(), session.ports(),    session.handlers()};
    kt::protocol::Controller protocol(context);

    kt::window::FormDispatcher events(session.handlers(), &protocol);
    form.bind(&events);
    events.Form_Load();
    form.show();
    if (quitAfterMs)
        QTimer::singleShot(*quitAfterMs, &form, &QWidget::close);
    return app.exec();
}
