// Named ports: serial (COMn, terminals under /dev) and parallel (LPTn).
// The backend's entry points are namedOperations (port_types.h); this
// header holds the decisions of its open step. openCOM opens only a
// character device, never by a path with a ".." component, adopts a
// caller's handle as it stands, sets time-outs, purges when asked, and for
// serial ports applies the line settings and the CTS/DSR test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <termios.h>

#include "port_types.h"

namespace kt::port {

// The device path holds at most this many bytes, terminator included; a
// longer port text fails the open.
constexpr std::size_t kDevicePathSize = 128;

// The device path of a port text: NULL, "" or "null..." is /dev/lp0, COMn is
// /dev/ttyS(n-1), LPTn is /dev/lp(n-1), a /dev/ path stands as it is, any
// other name is looked for under /dev/. Empty when the path does not fit.
std::string devicePath(const char *text);

// True when the path has a ".." component: a port text must not climb out
// of /dev.
bool climbsOut(const std::string &path);

// True when the port text names a serial port by itself ("com..." in any case).
bool isComName(const char *text);

// termios speed of a baud rate, or nothing when the rate is not supported.
std::optional<speed_t> termiosSpeed(int32_t baud);

// The presence test on the modem lines: TIOCMGET's result, its errno and
// the line bits. A port without modem lines (ENOTTY, EINVAL) passes.
enum class Presence { Present, Absent, NoModemLines };
Presence modemPresence(int result, int error, int bits);

} // namespace kt::port
