// Diagnostics lines of the bitmap conversion. Each does nothing while the
// log is closed, so callers need not test for it.
#pragma once

#include <cstdint>
#include <span>

#include "bitmap_header.h"

namespace kt::bitmap::log {

// The header fields and, for a supported depth, the derived sizes.
void header(const BitmapHeader &header);

// Every pixel's bytes of a 24- or 32-bit image, in stored order.
void pixels(const BitmapHeader &header, std::span<const std::uint8_t> file);

// Raster bytes produced, block size, and the first 16 bytes of the block as
// it stands before the rotation: its 4 size bytes, then the row raster.
void rows(const BitmapHeader &header, std::span<const std::uint8_t> blockStart,
          std::span<const std::uint8_t> raster);

// The rotation's sizes and a count of how often the column formula reaches
// every raster byte: each byte not reached exactly 8 times is logged.
void rotation(const BitmapHeader &header);

} // namespace kt::bitmap::log
