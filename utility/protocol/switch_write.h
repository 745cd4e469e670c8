// Writing a soft switch byte: the byte the options stand for as three ASCII
// digits, framed by the unlock and lock commands.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "protocol/protocol_context.h"

namespace kt::protocol {

// The first width character codes of text; 00 for positions past its end.
std::vector<std::uint8_t> fixedField(std::string_view text, std::size_t width);

// The switch byte as decimal digits without leading zeros, zero padded to
// three positions: 5 gives 35 00 00, 200 gives 32 30 30.
std::array<std::uint8_t, 3> encodeSwitchByte(int value);

// setSW1..setSW4: unlock, write the byte shown on the page, lock.
void writeSwitch(ProtocolContext &context, int switchNo);

} // namespace kt::protocol
