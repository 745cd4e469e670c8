// A stop request that any number of threads can wait on with poll(): once
// raised, its descriptor stays readable.
#pragma once

namespace kt::emu {

class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal &) = delete;
    StopSignal &operator=(const StopSignal &) = delete;

    void raise();
    bool raised() const;
    int fd() const { return fd_; }
    // Sleeps up to ms milliseconds; false when the stop came first.
    bool sleepFor(int ms) const;

private:
    int fd_;
};

} // namespace kt::emu
