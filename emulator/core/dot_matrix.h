// A block of dots to be put on the paper in one piece: a barcode, a
// two-dimensional code, a raster or bit image, one dot a byte.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kt::emu {

struct DotMatrix {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dots; // row by row, 1 = printed

    DotMatrix() = default;
    DotMatrix(int w, int h) : width(w), height(h), dots(static_cast<std::size_t>(w) * h) { }

    bool empty() const { return width == 0 || height == 0; }
    bool at(int x, int y) const { return dots[static_cast<std::size_t>(y) * width + x]; }
    void set(int x, int y) { dots[static_cast<std::size_t>(y) * width + x] = 1; }
    // Each dot as a block of sx x sy dots.
    DotMatrix scaled(int sx, int sy) const;
};

// A raster image: `widthBytes` bytes a row, rows from the top, bit 7 the
// leftmost dot of a byte (GS v 0). Missing data prints white.
DotMatrix rasterDots(std::span<const std::uint8_t> data, int widthBytes, int rows);

// A bit image of vertical byte columns (ESC *): each column `bytesHigh`
// bytes from the top, bit 7 the topmost dot.
DotMatrix columnDots(std::span<const std::uint8_t> data, int columns, int bytesHigh);

// The parts one under the other, each centred, `gap` blank rows between.
DotMatrix stacked(std::span<const DotMatrix> parts, int gap);

} // namespace kt::emu
