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

DotMatrix rasterDots(std::span<const std::uint8_t> data, int widthBytes, int rows)
{
    DotMatrix out(widthBytes * 8, rows);
    for (int y = 0; y < rows; ++y)
        for (int b = 0; b < widthBytes; ++b) {
            const std::size_t i = static_cast<std::size_t>(y) * widthBytes + b;
            if (i >= data.size())
                return out;
            for (int bit = 0; bit < 8; ++bit)
                if (data[i] & (0x80 >> bit))
                    out.set(b * 8 + bit, y);
        }
    return out;
}

DotMatrix columnDots(std::span<const std::uint8_t> data, int columns, int bytesHigh)
{
    DotMatrix out(columns, bytesHigh * 8);
    for (int x = 0; x < columns; ++x)
        for (int k = 0; k < bytesHigh; ++k) {
            const std::size_t i = static_cast<std::size_t>(x) * bytesHigh + k;
            if (i >= data.size())
                return out;
            for (int bit = 0; bit < 8; ++bit)
                if (data[i] & (0x80 >> bit))
                    out.set(x, k * 8 + bit);
        }
    return out;
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
