#include "session/app_state.h"

#include <cctype>

#include "session/device_names.h"

namespace kt::session {

void AppState::setPort(const std::string &name)
{
    portName = name;
    if (isDevicePath(name)) {
        portKind = "COM";
        return;
    }
    portKind = name.substr(0, 3);
    for (char &c : portKind)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

} // namespace kt::session
