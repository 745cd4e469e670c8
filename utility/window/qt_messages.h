// The message seam over QMessageBox: modal, plain text, the default title
// "KT_SW_Utility" unless another is given, the icon and buttons asked for.
#pragma once

#include <QString>

#include "session/messages.h"

class QWidget;

namespace kt::window {

class QtMessages : public session::MessageSink {
public:
    explicit QtMessages(QWidget *parent) : parent_(parent) { }

    session::MessageAnswer show(std::string_view text, session::MessageIcon icon,
                                session::MessageButtons buttons, std::string_view title) override;
    // A window of its own beside the main window, not modal, read-only,
    // in a fixed-width font; it is deleted when closed.
    void showText(std::string_view title, std::string_view text) override;

    // The text as the box shows it: CR LF and a lone CR break the line.
    static QString shownText(std::string_view text);

private:
    QWidget *parent_;
};

} // namespace kt::window
