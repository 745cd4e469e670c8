#include "dot_matrix.h"

#include <algorithm>

namespace kt::emu {

DotMatrix DotMatrix::scaled(int sx, int sy) const
{
    if (sx == 1 && sy == 1)
        return *this;
    DotMatrix out(width * sx, height * sy);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            if (at(x / sx, y / sy))
                out.set(x, y);
    return out;
}

namespace {

// Each byte of `data` holds eight dots, bit 7 first, running along a row
// or, for `vertical` data, down a column; rows (columns) follow each other.
DotMatrix unpack(std::span<const std::uint8_t> data, int width, int height, bool vertical)
{
    DotMatrix out(width, height);
    const std::size_t perLine = static_cast<std::size_t>(vertical ? height : width) / 8;
    const std::size_t bytes = std::min(data.size(), perLine * (vertical ? width : height));
    for (std::size_t i = 0; i < bytes; ++i)
        for (int bit = 0; bit < 8; ++bit) {
            if (!(data[i] & (0x80 >> bit)))
                continue;
            const int line = static_cast<int>(i / perLine);
            const int along = static_cast<int>(i % perLine) * 8 + bit;
            if (vertical)
                out.set(line, along);
            else
                out.set(along, line);
        }
    return out;
}

} // namespace

DotMatrix rasterDots(std::span<const std::uint8_t> data, int widthBytes, int rows)
{
    return unpack(data, widthBytes * 8, rows, false);
}

DotMatrix columnDots(std::span<const std::uint8_t> data, int columns, int bytesHigh)
{
    return unpack(data, columns, bytesHigh * 8, true);
}

DotMatrix stacked(std::span<const DotMatrix> parts, int gap)
{
    int width = 0, height = 0;
    for (const auto &p : parts) {
        width = std::max(width, p.width);
        height += p.height + (height ? gap : 0);
    }
    DotMatrix out(width, height);
    int top = 0;
    for (const auto &p : parts) {
        const int left = (width - p.width) / 2;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.at(x, y))
                    out.set(left + x, top + y);
        top += p.height + gap;
    }
    return out;
}

} // namespace kt::emu
