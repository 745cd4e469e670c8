// Writing the settings of the "Additional Soft_Switch" tab: the encoders
// that turn the selected combo items into data bytes, and the write
// sequence framed by unlock and lock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/protocol_context.h"

namespace kt::protocol {

using Bytes = std::vector<std::uint8_t>;

// Data bytes of each setting, from the combo's text.
Bytes encodeCodePage(std::string_view text);     // 3: number field, blanks trimmed
Bytes encodeCodePageName(std::string_view text); // 20: characters 6 to 25, trimmed, upper case
Bytes encodeInterChars(std::string_view text);   // 2
Bytes encodeDensity(std::string_view text);      // 1
Bytes encodeNew8x16(std::string_view text);      // 2: "ON" or 00 00
Bytes encodeThaiPass(std::string_view text);     // 3

// The information message for the first combo the write needs that has no
// selection; nullopt when every needed combo has one.
std::optional<std::string> missingSelection(const ProtocolContext &context);

// The write sequence; it assumes missingSelection found nothing.
void writeAdditionalSwitches(ProtocolContext &context);

} // namespace kt::protocol
