// KT_SW_Utility: builds Form1, puts the session and the printer settings
// protocol behind it through the dispatcher of its events, runs the
// start-up handler and hands control to the event loop.
#include <QApplication>

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
#include "window/window_style.h"

int main(int argc, char **argv)
{
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
    return app.exec();
}
