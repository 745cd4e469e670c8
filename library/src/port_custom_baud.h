// Baud rates that have no termios speed constant (a caller may pass any
// rate, and rwKT's write mode uses 9100). Linux sets them through the
// termios2 interface, which cannot share a translation unit with <termios.h>.
#pragma once

#include <cstdint>

namespace kt::port {

// Sets both directions of the open terminal fd to baud bits per second.
// False when the rate is not positive or the driver refuses it.
bool setCustomBaud(int fd, int32_t baud);

} // namespace kt::port
