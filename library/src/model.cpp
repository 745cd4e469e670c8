// setModel, getModel, setColor: the process-wide choices of the library.
#include <cstring>

#include "KT4000.h"
#include "last_error.h"
#include "settings.h"
#include "usb_models.h"

int32_t setModel(const char *key)
{
    kt::last_error::set(0);
    if (!key)
        return 0;
    if (const auto *row = kt::usb::rowByKey(key))
        kt::usb::selectFragment(row->fragment);
    return 0;
}

int32_t getModel(char *buffer)
{
    kt::last_error::set(0);
    if (!buffer)
        return 0;
    // Callers provide 9 bytes: the longest model name and its terminator.
    constexpr std::size_t room = 9;
    const std::string &name = kt::usb::currentModel();
    const std::size_t n = name.size() < room - 1 ? name.size() : room - 1;
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return 0;
}

int32_t setColor(int32_t value)
{
    kt::last_error::set(0);
    kt::settings::setColourThreshold(static_cast<std::uint8_t>(value & 0xFF));
    return 0;
}
