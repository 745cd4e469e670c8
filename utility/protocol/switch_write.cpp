#include "protocol/switch_write.h"

#include <algorithm>
#include <string>

#include "protocol/commands.h"
#include "protocol/switch_page_adapter.h"

namespace kt::protocol {

std::vector<std::uint8_t> fixedField(std::string_view text, std::size_t width)
{
    std::vector<std::uint8_t> field(width, 0x00);
    std::transform(text.begin(), text.begin() + std::min(width, text.size()), field.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c); });
    return field;
}

std::array<std::uint8_t, 3> encodeSwitchByte(int value)
{
    const std::vector<std::uint8_t> digits
        = fixedField(std::to_string(std::clamp(value, 0, 255)), 3);
    return {digits[0], digits[1], digits[2]};
}

void writeSwitch(ProtocolContext &context, int switchNo)
{
    const std::array<std::uint8_t, 3> digits
        = encodeSwitchByte(SwitchPageAdapter(context.view, switchNo).encode());
    context.send(unlockCommand());
    context.send(writeCommand(switchSetting(switchNo), digits));
    context.send(lockCommand());
}

} // namespace kt::protocol
