// Rotation of a row raster into the printer's column order.
#pragma once

#include <cstdint>
#include <span>

namespace kt::bitmap {

// `raster` holds 8 * ny rows of nx bytes: the stored rows (bottom row
// first), then blank rows. The last raster row is the top of the printed
// image, so an upright bottom-up bitmap prints upright with its blank rows
// above it.
//
// `columns` receives 8 * nx dot columns from left to right, ny bytes each
// from top to bottom, the most significant bit the topmost dot: bit 7 - l of
// byte c * ny + k is bit 7 - c % 8 of byte c / 8 of raster row
// 8 * ny - 1 - (8 * k + l).
void rotateToColumns(std::span<const std::uint8_t> raster, std::uint64_t nx, std::uint64_t ny,
                     std::span<std::uint8_t> columns);

} // namespace kt::bitmap
