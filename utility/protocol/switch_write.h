// Writing a soft switch byte: the byte the options stand for as three ASCII
// digits, framed by the unlock and lock commands.
#pragma once

#include "protocol/encoders.h"
#include "protocol/protocol_context.h"

namespace kt::protocol {

// setSW1..setSW4: unlock, write the byte shown on the page, lock.
void writeSwitch(ProtocolContext &context, int switchNo);

} // namespace kt::protocol
