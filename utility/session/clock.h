// Every wait of the utility goes through one clock, so that unit tests run
// without real sleeps while end-to-end tests keep the real waits.
#pragma once

namespace kt::session {

class Clock {
public:
    virtual ~Clock() = default;
    // A plain sleep of the calling thread; the window does not repaint.
    virtual void sleepMs(int ms) = 0;
    // Lets pending window events (timer ticks included) run.
    virtual void processEvents() = 0;
};

} // namespace kt::session
