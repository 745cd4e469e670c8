#include "bmp_writer.h"

#include <fstream>
#include <stdexcept>

namespace kt::test {
namespace {

std::vector<std::uint8_t> packRow(const BmpImage &image, std::uint32_t y)
{
    std::vector<std::uint8_t> row;
    if (image.bits < 8) {
        const unsigned perByte = 8u / image.bits;
        row.assign((image.width + perByte - 1) / perByte, 0);
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const unsigned shift = 8 - image.bits * (x % perByte + 1);
            row[x / perByte] |= static_cast<std::uint8_t>(
                (image.pixel(x, y) & ((1u << image.bits) - 1)) << shift);
        }
    } else {
        const unsigned size = image.bits / 8u;
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const std::uint32_t value = image.pixel(x, y);
            for (unsigned i = 0; i < size; ++i)
                row.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    row.resize((row.size() + 3) / 4 * 4, 0);
    return row;
}

} // namespace

void put16(std::vector<std::uint8_t> &bytes, std::size_t at, std::uint16_t value)
{
    bytes.at(at) = static_cast<std::uint8_t>(value);
    bytes.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t> &bytes, std::size_t at, std::uint32_t value)
{
    put16(bytes, at, static_cast<std::uint16_t>(value));
    put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::vector<std::uint8_t> makeBmp(const BmpImage &image)
{
    std::vector<std::uint8_t> bytes(14 + image.infoHeaderBytes, 0);
    for (std::uint32_t entry : image.palette)
        for (unsigned i = 0; i < 4; ++i)
            bytes.push_back(i < 3 ? static_cast<std::uint8_t>(entry >> (8 * i)) : 0);
    const auto dataOffset = static_cast<std::uint32_t>(bytes.size());
    // Bottom-up: the bottom row of the picture is stored first.
    for (std::uint32_t stored = 0; stored < image.height; ++stored) {
        const std::vector<std::uint8_t> row = packRow(image, image.height - 1 - stored);
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, kDataOffsetAt, dataOffset);
    put32(bytes, 14, image.infoHeaderBytes);
    put32(bytes, kWidthAt, image.width);
    put32(bytes, kHeightAt, image.height);
    put16(bytes, 26, 1);
    put16(bytes, kBitsAt, image.bits);
    put32(bytes, 34, static_cast<std::uint32_t>(bytes.size() - dataOffset));
    put32(bytes, 46, static_cast<std::uint32_t>(image.palette.size()));
    return bytes;
}

BmpImage patterned(std::uint32_t width, std::uint32_t height, std::uint16_t bits,
                   std::function<std::uint32_t(std::uint32_t x, std::uint32_t y)> value)
{
    BmpImage image{width, height, bits, {}, nullptr};
    if (bits <= 8)
        image.palette = greyPalette(1u << bits);
    const std::uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    image.pixel = [mask, value = std::move(value)](std::uint32_t x, std::uint32_t y) {
        return value(x, y) & mask;
    };
    return image;
}

std::vector<std::uint8_t> blackBmp(std::uint32_t width, std::uint32_t height, std::uint16_t bits)
{
    return makeBmp(patterned(width, height, bits, [](std::uint32_t, std::uint32_t) { return 0u; }));
}

std::vector<std::uint32_t> greyPalette(unsigned entries)
{
    std::vector<std::uint32_t> palette;
    for (unsigned i = 0; i < entries; ++i) {
        const std::uint32_t grey = entries > 1 ? i * 255 / (entries - 1) : 0;
        palette.push_back(grey << 16 | grey << 8 | grey);
    }
    return palette;
}

std::vector<std::uint32_t> whiteFirstPalette() { return {0xFFFFFF, 0x000000}; }

void writeFile(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace kt::test
