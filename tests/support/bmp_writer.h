// Builds BMP files for tests, fuzz seeds and benchmarks: any depth, the
// rows stored bottom-up and padded to 4 bytes as real files are.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kt::test {

struct BmpImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bits = 24;
    // Palette entries as blue, green, red; 1, 4 and 8 bits per pixel only.
    std::vector<std::uint32_t> palette;
    // Value of the pixel at column x, row y counted from the top of the
    // picture: a palette index up to 8 bits per pixel, otherwise the pixel's
    // bytes, first stored byte lowest (0xRRGGBB for 24 bits).
    std::function<std::uint32_t(std::uint32_t x, std::uint32_t y)> pixel;
    std::uint32_t infoHeaderBytes = 40; // 40, or 108 / 124 for the later formats
};

std::vector<std::uint8_t> makeBmp(const BmpImage &image);

// An image whose pixels are `value` cut to the depth, with a grey palette
// (black first) up to 8 bits per pixel.
BmpImage patterned(std::uint32_t width, std::uint32_t height, std::uint16_t bits,
                   std::function<std::uint32_t(std::uint32_t x, std::uint32_t y)> value);

// A file whose every pixel is value 0: black at every depth.
std::vector<std::uint8_t> blackBmp(std::uint32_t width, std::uint32_t height, std::uint16_t bits);

// Offsets of the header fields that tests change.
inline constexpr std::size_t kDataOffsetAt = 10;
inline constexpr std::size_t kWidthAt = 18;
inline constexpr std::size_t kHeightAt = 22;
inline constexpr std::size_t kBitsAt = 28;
inline constexpr std::size_t kCompressionAt = 30;

void put16(std::vector<std::uint8_t> &bytes, std::size_t at, std::uint16_t value);
void put32(std::vector<std::uint8_t> &bytes, std::size_t at, std::uint32_t value);

// Grey palettes: black first (index i = grey i * 255 / (n - 1)), or white
// first for the 1-bit case.
std::vector<std::uint32_t> greyPalette(unsigned entries);
std::vector<std::uint32_t> whiteFirstPalette();

void writeFile(const std::string &path, const std::vector<std::uint8_t> &bytes);

} // namespace kt::test
