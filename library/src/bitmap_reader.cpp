#include "bitmap_reader.h"

#include <array>

namespace kt::bitmap {
namespace {

struct RowInput {
    const std::uint8_t *pixels;
    std::uint64_t width;
    std::uint8_t *out; // nx bytes
    std::uint8_t threshold;
    bool invert; // 1 bit per pixel only
};

using RowConverter = void (*)(const RowInput &);

// Packs `width` dark/light decisions into bytes, most significant bit first;
// the last byte is filled up with 0 bits.
template <typename IsDark> void packRow(const RowInput &in, IsDark isDark)
{
    const std::uint64_t whole = in.width / 8;
    std::uint64_t x = 0;
    for (std::uint64_t i = 0; i < whole; ++i) {
        unsigned byte = 0;
        for (unsigned bit = 0; bit < 8; ++bit, ++x)
            byte = byte << 1 | isDark(x);
        in.out[i] = static_cast<std::uint8_t>(byte);
    }
    if (x == in.width)
        return;
    unsigned byte = 0;
    unsigned bit = 0;
    for (; x < in.width; ++x, ++bit)
        byte = byte << 1 | isDark(x);
    in.out[whole] = static_cast<std::uint8_t>(byte << (8 - bit));
}

void monoRow(const RowInput &in)
{
    const std::uint64_t bytes = (in.width + 7) / 8;
    const std::uint8_t flip = in.invert ? 0xFF : 0x00;
    for (std::uint64_t i = 0; i < bytes; ++i)
        in.out[i] = in.pixels[i] ^ flip;
    if (const unsigned used = in.width % 8)
        in.out[bytes - 1] &= static_cast<std::uint8_t>(0xFF00u >> used);
}

void nibbleRow(const RowInput &in)
{
    // Indexes 7 and 15 (light grey and white of the standard 16 colours)
    // are the only light ones; both have their low three bits set.
    packRow(in, [&](std::uint64_t x) {
        const unsigned index = x % 2 ? in.pixels[x / 2] & 0x0F : in.pixels[x / 2] >> 4;
        return (index & 7) != 7 ? 1u : 0u;
    });
}

// A pixel of `size` bytes is dark when any of its first `tested` bytes is
// below the threshold.
template <unsigned size, unsigned tested> void byteRow(const RowInput &in)
{
    packRow(in, [&](std::uint64_t x) {
        const std::uint8_t *p = in.pixels + x * size;
        unsigned dark = 0;
        for (unsigned i = 0; i < tested; ++i)
            dark |= p[i] < in.threshold ? 1u : 0u;
        return dark;
    });
}

struct DepthConverter {
    std::uint16_t bits;
    RowConverter convert;
};

constexpr std::array<DepthConverter, 6> kConverters{{
    {1, monoRow},
    {4, nibbleRow},
    {8, byteRow<1, 1>},
    {16, byteRow<2, 2>},
    {24, byteRow<3, 3>},
    {32, byteRow<4, 3>},
}};

RowConverter converterFor(std::uint16_t bits)
{
    for (const DepthConverter &c : kConverters)
        if (c.bits == bits)
            return c.convert;
    return nullptr;
}

} // namespace

void readRows(const BitmapHeader &header, std::span<const std::uint8_t> file,
              std::uint8_t threshold, std::span<std::uint8_t> raster)
{
    const RowConverter convert = converterFor(header.bitsPerPixel);
    const std::optional<RowLayout> layout = rowLayout(header);
    if (!convert || !layout)
        return;
    const std::uint64_t nx = header.nx();
    const std::uint64_t stride = layout->stride();
    RowInput in{nullptr, header.width, nullptr, threshold, header.paletteBlue == 0};
    for (std::uint64_t row = 0; row < header.height; ++row) {
        in.pixels = file.data() + header.dataOffset + row * stride;
        in.out = raster.data() + row * nx;
        convert(in);
    }
}

} // namespace kt::bitmap
