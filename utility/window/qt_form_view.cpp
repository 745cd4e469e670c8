#include "window/qt_form_view.h"

#include <algorithm>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtDebug>

#include "session/control_names.h"
#include "window/form1.h"
#include "window/window_style.h"

namespace kt::window {
namespace {

const char *const kExactText = "ktExactText";

QString fromBytes(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toBytes(const QString &text) { return text.toLatin1().toStdString(); }

} // namespace

QString displayedLogText(const std::string &text)
{
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            shown += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\0') {
            shown += QChar(0x2400);
        } else {
            shown += QChar::fromLatin1(c);
        }
    }
    return shown;
}

QtFormView::QtFormView(Form1 &form, UnknownNameHandler onUnknown)
    : form_(form), onUnknown_(std::move(onUnknown))
{
    QHash<QString, QWidget *> named;
    named.insert(form.objectName(), &form);
    for (QWidget *w : form.findChildren<QWidget *>())
        if (!w->objectName().isEmpty())
            named.insert(w->objectName(), w);
    for (const std::string &name : session::controls::allNames()) {
        const QString key = fromBytes(name);
        if (QWidget *w = named.value(key, nullptr))
            widgets_.insert(key, w);
        else
            widget(name); // tells the handler at once
    }
}

void QtFormView::warnOnLog(std::string_view name)
{
    qWarning() << "Form1 has no control" << fromBytes(name);
}

QWidget *QtFormView::widget(std::string_view control) const
{
    const QString name = fromBytes(control);
    QWidget *w = widgets_.value(name, nullptr);
    if (!w && !reported_.contains(name)) {
        reported_.insert(name);
        if (onUnknown_)
            onUnknown_(control);
    }
    return w;
}

template <typename W> W *QtFormView::as(std::string_view control) const
{
    return qobject_cast<W *>(widget(control));
}

std::string QtFormView::text(std::string_view control) const
{
    QWidget *w = widget(control);
    if (!w)
        return {};
    if (auto *log = qobject_cast<QPlainTextEdit *>(w))
        return log->property(kExactText).toByteArray().toStdString();
    if (auto *label = qobject_cast<QLabel *>(w))
        return toBytes(label->text());
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return toBytes(button->text());
    if (auto *box = qobject_cast<QLineEdit *>(w))
        return toBytes(box->text());
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return toBytes(combo->currentText());
    if (auto *frame = qobject_cast<QGroupBox *>(w))
        return toBytes(frame->title());
    return toBytes(w->windowTitle());
}

void QtFormView::setText(std::string_view control, std::string_view text)
{
    QWidget *w = widget(control);
    if (!w)
        return;
    Form1::QuietScope quiet(form_);
    const QString t = fromBytes(text);
    if (auto *log = qobject_cast<QPlainTextEdit *>(w)) {
        log->setProperty(kExactText, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
        log->setPlainText(displayedLogText(std::string(text)));
        // New lines come at the bottom: keep the newest in view.
        log->moveCursor(QTextCursor::End);
        log->ensureCursorVisible();
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        label->setText(t);
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        button->setText(t);
    } else if (auto *box = qobject_cast<QLineEdit *>(w)) {
        box->setText(t);
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        // A list-only combo shows an item or nothing.
        if (combo->isEditable())
            combo->setEditText(t);
        else
            combo->setCurrentIndex(combo->findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive));
    } else if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        frame->setTitle(t);
    }
}

bool QtFormView::enabled(std::string_view control) const
{
    // The control's own Enabled, whatever its container's.
    QWidget *w = widget(control);
    return w && !w->testAttribute(Qt::WA_ForceDisabled);
}

void QtFormView::setEnabled(std::string_view control, bool on)
{
    if (QWidget *w = widget(control))
        w->setEnabled(on);
}

bool QtFormView::visible(std::string_view control) const
{
    QWidget *w = widget(control);
    if (!w)
        return false;
    if (w->isWindow())
        return w->isVisible();
    // The control's own Visible: shown unless it was hidden itself, whether
    // or not its container shows (before the window is first shown every
    // widget counts as hidden to Qt).
    return !(w->testAttribute(Qt::WA_WState_ExplicitShowHide)
             && w->testAttribute(Qt::WA_WState_Hidden));
}

void QtFormView::setVisible(std::string_view control, bool on)
{
    if (QWidget *w = widget(control)) {
        Form1::QuietScope quiet(form_);
        w->setVisible(on);
    }
}

bool QtFormView::checked(std::string_view option) const
{
    auto *button = as<QAbstractButton>(option);
    return button && button->isChecked();
}

void QtFormView::setChecked(std::string_view option, bool on)
{
    auto *button = as<QAbstractButton>(option);
    if (!button || button->isChecked() == on)
        return;
    Form1::QuietScope quiet(form_);
    QButtonGroup *group = button->group();
    // Deselecting an option leaves its group without a selection, as the
    // classic option buttons allow; an exclusive group would refuse.
    if (!on && group)
        group->setExclusive(false);
    button->setChecked(on);
    if (!on && group)
        group->setExclusive(true);
}

bool QtFormView::bold(std::string_view control) const
{
    QWidget *w = widget(control);
    return w && w->font().bold();
}

void QtFormView::setBold(std::string_view control, bool on)
{
    if (QWidget *w = widget(control)) {
        QFont f = w->font();
        f.setBold(on);
        w->setFont(f);
    }
}

void QtFormView::setTextColour(std::string_view control, session::Rgb colour)
{
    if (QWidget *w = widget(control))
        style::setTextColour(w, QColor(colour.red, colour.green, colour.blue));
}

int QtFormView::listIndex(std::string_view combo) const
{
    auto *c = as<QComboBox>(combo);
    return c ? c->currentIndex() : -1;
}

void QtFormView::setListIndex(std::string_view combo, int index)
{
    if (auto *c = as<QComboBox>(combo)) {
        Form1::QuietScope quiet(form_);
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    }
}

int QtFormView::listCount(std::string_view combo) const
{
    auto *c = as<QComboBox>(combo);
    return c ? c->count() : 0;
}

std::string QtFormView::listItem(std::string_view combo, int index) const
{
    auto *c = as<QComboBox>(combo);
    if (!c || index < 0 || index >= c->count())
        return {};
    return toBytes(c->itemText(index));
}

int QtFormView::currentTab() const
{
    auto *tabs = as<QTabWidget>(session::controls::SSTab1);
    return tabs ? tabs->currentIndex() : 0;
}

void QtFormView::setCurrentTab(int tab)
{
    auto *tabs = as<QTabWidget>(session::controls::SSTab1);
    if (!tabs || tab < 0 || tab >= tabs->count())
        return;
    Form1::QuietScope quiet(form_);
    tabs->setCurrentIndex(tab);
}

void QtFormView::setFocus(std::string_view control)
{
    if (QWidget *w = widget(control))
        w->setFocus(Qt::OtherFocusReason);
}

std::vector<std::string> QtFormView::controlNames(std::string_view prefix) const
{
    std::vector<std::string> names;
    const QString p = fromBytes(prefix);
    for (auto it = widgets_.cbegin(); it != widgets_.cend(); ++it)
        if (it.key().startsWith(p))
            names.push_back(toBytes(it.key()));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace kt::window
