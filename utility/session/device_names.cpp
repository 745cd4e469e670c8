#include "session/device_names.h"

namespace kt::session {

bool isDevicePath(std::string_view portName) { return portName.starts_with('/'); }

std::string serialDeviceOf(long portNumber)
{
    if (portNumber < 1)
        return {};
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

} // namespace kt::session
