#include "port_custom_baud.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace kt::port {

bool setCustomBaud(int fd, int32_t baud)
{
    if (baud <= 0)
        return false;
    struct termios2 t { };
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = static_cast<speed_t>(baud);
    t.c_ospeed = static_cast<speed_t>(baud);
    return ::ioctl(fd, TCSETS2, &t) == 0;
}

} // namespace kt::port
