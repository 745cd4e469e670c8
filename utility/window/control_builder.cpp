#include "window/control_builder.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "window/caption_button.h"
#include "window/window_style.h"

namespace kt::window {

void ControlBuilder::place(QWidget *widget, std::string_view name, Twips at) const
{
    widget->setObjectName(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    widget->setGeometry(at.left / kTwipsPerPixel, (at.top - topOffset_) / kTwipsPerPixel,
                        at.width / kTwipsPerPixel, at.height / kTwipsPerPixel);
}

template <typename W, typename... Args>
W *ControlBuilder::make(std::string_view name, Twips at, const QFont &font, Args &&...args) const
{
    auto *w = new W(std::forward<Args>(args)..., container_);
    w->setFont(font);
    place(w, name, at);
    return w;
}

QLabel *ControlBuilder::label(std::string_view name, const QString &caption, Twips at,
                              const QFont &font) const
{
    auto *w = make<QLabel>(name, at, font, caption);
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels show printer replies as they come: "<b>SN-1</b>" is no markup.
    w->setTextFormat(Qt::PlainText);
    return w;
}

QGroupBox *ControlBuilder::frame(std::string_view name, const QString &caption, Twips at) const
{
    return make<QGroupBox>(name, at, style::calibri(), caption);
}

QFrame *ControlBuilder::plainFrame(std::string_view name, Twips at) const
{
    auto *w = make<QFrame>(name, at, style::calibri());
    w->setFrameShape(QFrame::NoFrame);
    return w;
}

QRadioButton *ControlBuilder::option(std::string_view name, const QString &caption, Twips at) const
{
    return make<QRadioButton>(name, at, style::calibri(), caption);
}

QPushButton *ControlBuilder::button(std::string_view name, const QString &caption, Twips at) const
{
    auto *w = make<CaptionButton>(name, at, style::buttons(), caption);
    w->setAutoDefault(false);
    return w;
}

QComboBox *ControlBuilder::combo(std::string_view name, Twips at, const QStringList &items,
                                 bool editable, const QFont &font) const
{
    auto *w = make<QComboBox>(name, at, font);
    w->addItems(items);
    w->setEditable(editable);
    w->setMaxVisibleItems(20);
    if (editable)
        w->setInsertPolicy(QComboBox::NoInsert);
    w->setCurrentIndex(-1);
    return w;
}

QLineEdit *ControlBuilder::textBox(std::string_view name, const QString &text, Twips at,
                                   const QFont &font) const
{
    auto *w = make<QLineEdit>(name, at, font, text);
    w->setCursorPosition(0);
    return w;
}

} // namespace kt::window
