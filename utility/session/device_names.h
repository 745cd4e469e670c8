// Where the utility's port names live on this platform: COMn is
// /dev/ttyS(n-1), LPT1 is /dev/lp0, and a name typed as an absolute path
// (/dev/ttyUSB0, or a link to a pseudo-terminal such as /tmp/kt-printer)
// is used as it stands and is taken for a serial port.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kt::session {

inline constexpr std::string_view kDefaultParallelDevice = "/dev/lp0";

// True for a port name that is a device path typed into the port list.
bool isDevicePath(std::string_view portName);

// The device of serial port number n (COMn); "" for numbers below 1.
std::string serialDeviceOf(long portNumber);

// Why a typed path is no serial port, for a message: "it is a regular
// file", "it leads to /dev/null, a character device that is not a
// terminal". Nothing when the path is, or links to, a terminal device, and
// nothing when it cannot be looked at (it does not exist, or may not be
// opened): opening the port then tells the user why.
[[nodiscard]] std::optional<std::string> whyNotASerialPort(const std::string &path);

} // namespace kt::session
