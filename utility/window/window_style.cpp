#include "window/window_style.h"

#include <QPalette>
#include <QWidget>

namespace kt::window::style {
namespace {

QFont face(const char *family, double points, bool bold = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

void registerFontSubstitutes()
{
    QFont::insertSubstitution("Calibri", "Carlito");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

QFont form() { return face("MS Sans Serif", 9.75); }
QFont buttons() { return face("Arial", 12); }
QFont calibri() { return face("Calibri", 10.5); }
QFont arialSmall() { return face("Arial", 9.75); }
QFont title() { return face("MS Sans Serif", 9.75, true); }
QFont portLabel() { return face("Calibri", 12, true); }

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(g, r, colour);
    widget->setPalette(p);
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

} // namespace kt::window::style
