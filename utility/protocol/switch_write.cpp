#include "protocol/switch_write.h"

#include "protocol/commands.h"
#include "protocol/switch_page_adapter.h"

namespace kt::protocol {

void writeSwitch(ProtocolContext &context, int switchNo)
{
    const std::array<std::uint8_t, 3> digits
        = encodeSwitchByte(SwitchPageAdapter(context.view, switchNo).encode());
    context.send(unlockCommand());
    context.send(writeCommand(switchSetting(switchNo), digits));
    context.send(lockCommand());
}

} // namespace kt::protocol
