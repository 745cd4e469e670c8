// Turns the stored pixel rows of a BMP file into a row raster: nx bytes per
// row, most significant bit first, 1 = a dark dot, the bits beyond the width
// 0. Rows stay in the order the file stores them (bottom row first).
#pragma once

#include <cstdint>
#include <span>

#include "bitmap_header.h"

namespace kt::bitmap {

// Whether one pixel prints as a dot, by depth:
//   1 bit   its bit, inverted when the palette starts with blue 0 (black)
//   4 bits  its palette index is neither 7 nor 15
//   8 bits  its palette index is below the threshold
//   16      either byte is below the threshold
//   24, 32  any of blue, green, red is below the threshold
//
// `file` is the whole file, the header one that checkConvertible accepted;
// `raster` has room for nx * height bytes.
void readRows(const BitmapHeader &header, std::span<const std::uint8_t> file,
              std::uint8_t threshold, std::span<std::uint8_t> raster);

} // namespace kt::bitmap
