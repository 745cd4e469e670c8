// The data bytes of every setting write: a switch byte as three ASCII
// digits, and the language settings from the items of their lists.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kt::protocol {

using Bytes = std::vector<std::uint8_t>;

// The first width character codes of text; 00 for positions past its end.
Bytes fixedField(std::string_view text, std::size_t width);

// The switch byte as decimal digits without leading zeros, zero padded to
// three positions: 5 gives 35 00 00, 200 gives 32 30 30.
std::array<std::uint8_t, 3> encodeSwitchByte(int value);

// Data bytes of each language setting, from its list item's text.
Bytes encodeCodePage(std::string_view text);     // 3: number field, blanks trimmed
Bytes encodeCodePageName(std::string_view text); // 20: characters 6 to 25, trimmed, upper case
Bytes encodeInterChars(std::string_view text);   // 2
Bytes encodeDensity(std::string_view text);      // 1
Bytes encodeNew8x16(std::string_view text);      // 2: "ON" or 00 00
Bytes encodeThaiPass(std::string_view text);     // 3

} // namespace kt::protocol
