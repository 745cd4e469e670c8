#include "pty_pair.h"

#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace kt::test {

PtyPair::PtyPair()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        if (master_ >= 0)
            ::close(master_);
        throw std::runtime_error("no pseudo-terminal");
    }
    const char *name = ::ptsname(master_);
    slavePath_ = name ? name : "";
    slave_ = slavePath_.empty() ? -1 : ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (slave_ < 0 || ::tcgetattr(slave_, &t) != 0) {
        if (slave_ >= 0)
            ::close(slave_);
        ::close(master_);
        throw std::runtime_error("pseudo-terminal slave cannot be opened");
    }
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
}

PtyPair::~PtyPair()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

} // namespace kt::test
