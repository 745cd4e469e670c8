#include "bitmap_header.h"

#include <array>

namespace kt::bitmap {
namespace {

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16
        | std::uint32_t{b[at + 3]} << 24;
}

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// File header (14 bytes) and the classic info header (40 bytes).
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kFixedHeaderBytes = 54;

// The palette follows the info header, whose size is its first field. Files
// with the larger headers of later formats would otherwise have a header
// byte taken for the palette's first blue value, and print inverted.
std::size_t paletteAt(std::span<const std::uint8_t> prefix)
{
    const std::uint32_t infoBytes = le32(prefix, kFileHeaderBytes);
    if (infoBytes > 40 && infoBytes <= 124)
        return kFileHeaderBytes + infoBytes;
    return kFixedHeaderBytes;
}

struct DepthRow {
    std::uint16_t bits;
    std::uint64_t numerator; // row bytes = ceil(width * numerator / denominator)
    std::uint64_t denominator;
};

constexpr std::array<DepthRow, 6> kDepths{{
    {1, 1, 8},
    {4, 1, 2},
    {8, 1, 1},
    {16, 2, 1},
    {24, 3, 1},
    {32, 4, 1},
}};

// Compression values whose pixel data is not plain rows: run-length 8 and
// 4 bits, JPEG and PNG. Bit-field masks (3, 6) leave the rows uncompressed.
bool isCompressed(std::uint32_t compression)
{
    return compression == 1 || compression == 2 || compression == 4 || compression == 5;
}

bool multiply(std::uint64_t a, std::uint64_t b, std::uint64_t &out)
{
    return !__builtin_mul_overflow(a, b, &out);
}

} // namespace

std::optional<BitmapHeader> parseHeader(std::span<const std::uint8_t> prefix,
                                        std::uint64_t fileBytes)
{
    if (prefix.size() < kFixedHeaderBytes || prefix[0] != 'B' || prefix[1] != 'M')
        return std::nullopt;
    BitmapHeader h;
    h.fileSizeField = le32(prefix, 2);
    h.dataOffset = le32(prefix, 10);
    h.width = le32(prefix, 18);
    h.height = le32(prefix, 22);
    h.bitsPerPixel = le16(prefix, 28);
    h.compression = le32(prefix, 30);
    const std::size_t palette = paletteAt(prefix);
    h.paletteBlue = prefix.size() > palette ? prefix[palette] : 0;
    h.fileBytes = fileBytes;
    // A block of 12 bytes or more holds at least one dot column.
    if (h.blockBytes() < 12)
        return std::nullopt;
    return h;
}

std::optional<RowLayout> rowLayout(const BitmapHeader &header)
{
    for (const DepthRow &d : kDepths) {
        if (d.bits != header.bitsPerPixel)
            continue;
        RowLayout layout;
        layout.rowBytes
            = (std::uint64_t{header.width} * d.numerator + d.denominator - 1) / d.denominator;
        layout.padding = (4 - layout.rowBytes % 4) % 4;
        return layout;
    }
    return std::nullopt;
}

Unconvertible checkConvertible(const BitmapHeader &header)
{
    const std::optional<RowLayout> layout = rowLayout(header);
    if (!layout)
        return Unconvertible::UnsupportedDepth;
    if (isCompressed(header.compression))
        return Unconvertible::Compressed;
    if (header.height > 0x7FFFFFFFu)
        return Unconvertible::TopDown;
    const std::uint64_t available
        = header.fileBytes > header.dataOffset ? header.fileBytes - header.dataOffset : 0;
    std::uint64_t allButLast = 0;
    std::uint64_t all = 0;
    if (!multiply(header.height - 1u, layout->stride(), allButLast)
        || !multiply(header.height, layout->stride(), all))
        return Unconvertible::DataSize;
    const std::uint64_t atLeast = allButLast + layout->rowBytes;
    if (available < atLeast || available > all)
        return Unconvertible::DataSize;
    if (header.nx() > 0xFFFF || header.ny() > 0xFFFF)
        return Unconvertible::TooLarge;
    return Unconvertible::None;
}

} // namespace kt::bitmap
