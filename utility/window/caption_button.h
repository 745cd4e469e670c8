// A command button whose caption wraps onto a second line when it does not
// fit, as the window's designed buttons do ("Communication Test" at 12
// points in a 121-pixel button).
#pragma once

#include <QPushButton>

namespace kt::window {

class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    CaptionButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) { }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kt::window
