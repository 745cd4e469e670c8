// Fonts and colours of the window. The faces are named as designed
// (Calibri, Arial, MS Sans Serif) and mapped to metric-compatible free
// faces (Carlito, Liberation Sans) by registerFontSubstitutes().
#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace kt::window::style {

void registerFontSubstitutes();

QFont form();       // MS Sans Serif 9.75: the window's default
QFont buttons();    // Arial 12: command buttons
QFont calibri();    // Calibri 10.5: frames, options, text boxes, most labels
QFont arialSmall(); // Arial 9.75: prompts and lists of the additional switches
QFont title();      // MS Sans Serif bold 9.75: page titles, information values
QFont portLabel();  // Calibri bold 12: lblPORT

inline const QColor kBlue{0, 0, 255};
inline const QColor kDarkBlue{0, 0, 128};
inline const QColor kLightGrey{224, 224, 224};
inline const QColor kLightPeach{255, 224, 192};

// Text colour of labels, buttons, text boxes and combos alike.
void setTextColour(QWidget *widget, const QColor &colour);
void setBackground(QWidget *widget, const QColor &colour);

} // namespace kt::window::style
