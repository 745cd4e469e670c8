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

void ControlBuilder::place(QWidget *widget, const QString &name, Twips at) const
{
    widget->setObjectName(name);
    widget->setGeometry(at.left / kTwipsPerPixel, (at.top - topOffset_) / kTwipsPerPixel,
                        at.width / kTwipsPerPixel, at.height / kTwipsPerPixel);
}

QLabel *ControlBuilder::label(const QString &name, const QString &caption, Twips at,
                              const QFont &font) const
{
    auto *w = new QLabel(caption, container_);
    w->setFont(font);
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(w, name, at);
    return w;
}

QGroupBox *ControlBuilder::frame(const QString &name, const QString &caption, Twips at) const
{
    auto *w = new QGroupBox(caption, container_);
    w->setFont(style::calibri());
    place(w, name, at);
    return w;
}

QFrame *ControlBuilder::plainFrame(const QString &name, Twips at) const
{
    auto *w = new QFrame(container_);
    w->setFrameShape(QFrame::NoFrame);
    place(w, name, at);
    return w;
}

QRadioButton *ControlBuilder::option(const QString &name, const QString &caption, Twips at) const
{
    auto *w = new QRadioButton(caption, container_);
    w->setFont(style::calibri());
    place(w, name, at);
    return w;
}

QPushButton *ControlBuilder::button(const QString &name, const QString &caption, Twips at) const
{
    auto *w = new CaptionButton(caption, container_);
    w->setFont(style::buttons());
    w->setAutoDefault(false);
    place(w, name, at);
    return w;
}

QComboBox *ControlBuilder::combo(const QString &name, Twips at, const QStringList &items,
                                 bool editable, const QFont &font) const
{
    auto *w = new QComboBox(container_);
    w->setFont(font);
    w->addItems(items);
    w->setEditable(editable);
    w->setMaxVisibleItems(20);
    if (editable)
        w->setInsertPolicy(QComboBox::NoInsert);
    w->setCurrentIndex(-1);
    place(w, name, at);
    return w;
}

QLineEdit *ControlBuilder::textBox(const QString &name, const QString &text, Twips at,
                                   const QFont &font) const
{
    auto *w = new QLineEdit(text, container_);
    w->setFont(font);
    w->setCursorPosition(0);
    place(w, name, at);
    return w;
}

} // namespace kt::window
