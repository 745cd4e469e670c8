// What EXIT needs from the window system: close Form1 (which runs its
// unload handler) and end the program.
#pragma once

#include <QCoreApplication>
#include <QWidget>

#include "session/form_handlers.h"

namespace kt::window {

class QtWindowHost : public session::WindowHost {
public:
    explicit QtWindowHost(QWidget &window) : window_(window) { }
    void unloadWindow() override { window_.close(); }
    void endProgram() override { QCoreApplication::exit(0); }

private:
    QWidget &window_;
};

} // namespace kt::window
