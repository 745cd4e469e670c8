// The real clock: plain sleeps of the calling thread, and the Qt event loop
// for letting pending window events (timer ticks included) run.
#pragma once

#include "session/clock.h"

namespace kt::session {

class QtClock : public Clock {
public:
    void sleepMs(int ms) override;
    void processEvents() override;
};

} // namespace kt::session
