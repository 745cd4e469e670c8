// Conversion of one whole BMP file into its block of the define command.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "bitmap_header.h"

namespace kt::bitmap {

// Writes xL xH yL yH and the image in column order into `block`, which has
// planned.blockBytes() bytes. `planned` is the header read when the command
// was measured; a file that no longer agrees with it is not converted.
// `raster` is a work buffer, reused between images.
Unconvertible convertImage(std::span<const std::uint8_t> file, const BitmapHeader &planned,
                           std::uint8_t threshold, std::span<std::uint8_t> block,
                           std::vector<std::uint8_t> &raster);

} // namespace kt::bitmap
