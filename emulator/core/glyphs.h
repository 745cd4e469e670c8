// The fixed-width font of the paper image: 5 x 7 dot shapes drawn for this
// program in a 5 x 8 box (the eighth row for descenders), scaled into the
// printer's 8x16 and 12x24 character cells.
#pragma once

#include <array>
#include <cstdint>

namespace kt::emu {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 8;

// Eight rows, bit 4 the leftmost dot. Codes without a shape of their own
// (control codes, 7F and above) give a hollow box.
std::array<std::uint8_t, kGlyphHeight> glyphRows(unsigned char code);

} // namespace kt::emu
