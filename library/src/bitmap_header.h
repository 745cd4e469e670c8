// The fixed-offset fields of a BMP file header and what follows from them:
// the size of the printer image block and the layout of the stored rows.
// Everything here is pure and works on bytes already read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kt::bitmap {

// Bytes of a file that parseHeader needs: the file header, the largest info
// header (124 bytes) and the first byte of the palette after it.
inline constexpr std::size_t kHeaderPrefixBytes = 14 + 124 + 1;

struct BitmapHeader {
    std::uint32_t fileSizeField = 0; // as the header states it; logged only
    std::uint32_t dataOffset = 0;
    std::uint32_t width = 0;  // unsigned, as stored
    std::uint32_t height = 0; // unsigned, as stored (top-down files look huge)
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    // Blue value of the first palette entry, which follows the info header:
    // at offset 54 for the classic 40-byte header.
    std::uint8_t paletteBlue = 0;
    std::uint64_t fileBytes = 0; // the real length of the file

    // Image size in units of 8 dots. 64-bit: a width near 2^32 must not wrap.
    std::uint64_t nx() const { return (std::uint64_t{width} + 7) / 8; }
    std::uint64_t ny() const { return (std::uint64_t{height} + 7) / 8; }
    std::uint64_t imageBytes() const { return nx() * ny() * 8; }
    // The image's part of the define command: xL xH yL yH and the dots.
    std::uint64_t blockBytes() const { return 4 + imageBytes(); }
};

// Parses the header from the first bytes of a file of fileBytes bytes.
// Empty when the bytes are not a bitmap the printer could store: no "BM"
// signature, too short for the header, or an image without dots.
std::optional<BitmapHeader> parseHeader(std::span<const std::uint8_t> prefix,
                                        std::uint64_t fileBytes);

struct RowLayout {
    std::uint64_t rowBytes = 0; // pixel bytes of one stored row
    std::uint64_t padding = 0;  // 0..3 bytes up to a multiple of 4
    std::uint64_t stride() const { return rowBytes + padding; }
};

// Empty for a depth other than 1, 4, 8, 16, 24 or 32 bits per pixel.
std::optional<RowLayout> rowLayout(const BitmapHeader &header);

// Why a bitmap with a valid header still cannot be converted.
enum class Unconvertible {
    None,
    UnsupportedDepth,
    Compressed, // run-length, JPEG or PNG data
    TopDown,    // negative height
    DataSize,   // the pixel data is shorter or longer than the rows
    TooLarge,   // nx or ny does not fit the command's 16-bit fields
    Changed,    // the file no longer matches the header read before
};

// Checks, before any memory is set aside for the image, that the rows the
// header announces are exactly what the file holds: every pixel byte of
// every row present (the last row's padding may be missing) and nothing
// beyond the last row. This also bounds the image by the file's length.
Unconvertible checkConvertible(const BitmapHeader &header);

} // namespace kt::bitmap
