// FormView over the widgets of Form1, found by objectName. Setters run in
// a QuietScope, so they never raise the window's event handlers. Texts
// cross as Latin-1: one char per byte, as the printer's replies come.
// The log box keeps its text exactly (CR LF and NUL included) and shows a
// readable copy.
//
// The view knows the controls that session/control_names.h names, and only
// those. A name it does not know is a fault of the caller: it is handed to
// the view's unknown-name handler, which by default warns once on the log
// (the call itself then does nothing); tests make it fail the test.
#pragma once

#include <functional>
#include <string_view>

#include <QHash>
#include <QSet>
#include <QString>

#include "session/form_view.h"

class QWidget;

namespace kt::window {

class Form1;

class QtFormView : public session::FormView {
public:
    using UnknownNameHandler = std::function<void(std::string_view name)>;

    // A control the names header knows but the window lacks is told to
    // onUnknown at once.
    explicit QtFormView(Form1 &form, UnknownNameHandler onUnknown = warnOnLog);

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    bool enabled(std::string_view control) const override;
    void setEnabled(std::string_view control, bool on) override;
    bool visible(std::string_view control) const override;
    void setVisible(std::string_view control, bool on) override;
    bool checked(std::string_view option) const override;
    void setChecked(std::string_view option, bool on) override;
    bool bold(std::string_view control) const override;
    void setBold(std::string_view control, bool on) override;
    void setTextColour(std::string_view control, session::Rgb colour) override;
    int listIndex(std::string_view combo) const override;
    void setListIndex(std::string_view combo, int index) override;
    int listCount(std::string_view combo) const override;
    std::string listItem(std::string_view combo, int index) const override;
    int currentTab() const override;
    void setCurrentTab(int tab) override;
    void setFocus(std::string_view control) override;
    std::vector<std::string> controlNames(std::string_view prefix) const override;

    // The widget of a control, or nullptr for a name the view does not
    // know (told to the unknown-name handler the first time).
    QWidget *widget(std::string_view control) const;

    static void warnOnLog(std::string_view name);

private:
    template <typename W> W *as(std::string_view control) const;

    Form1 &form_;
    QHash<QString, QWidget *> widgets_;
    UnknownNameHandler onUnknown_;
    mutable QSet<QString> reported_;
};

// The readable copy of a log text: CR LF as line breaks, a NUL as a visible
// placeholder.
QString displayedLogText(const std::string &text);

} // namespace kt::window
