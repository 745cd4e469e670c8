#include "session/qt_clock.h"

#include <QCoreApplication>
#include <QThread>

namespace kt::session {

void QtClock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

void QtClock::processEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace kt::session
