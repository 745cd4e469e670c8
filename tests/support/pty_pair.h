// A raw pseudo-terminal pair standing in for a serial printer: the code
// under test opens slavePath() as its serial port; the test serves
// master() (for example with FdServer).
#pragma once

#include <string>

namespace kt::test {

class PtyPair {
public:
    // Throws std::runtime_error when no pseudo-terminal can be made.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    int master() const { return master_; }
    const std::string &slavePath() const { return slavePath_; }
    // The fixture keeps the slave open, so the master never sees a hang-up
    // between the opens of the code under test; also usable as a caller's
    // handle. Raw mode, blocking.
    int slave() const { return slave_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace kt::test
