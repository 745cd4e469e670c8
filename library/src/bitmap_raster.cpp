#include "bitmap_raster.h"

namespace kt::bitmap {
namespace {

// Transposes an 8 x 8 bit matrix held in a word, row 0 in the most
// significant byte and column 0 in each byte's most significant bit.
std::uint64_t transpose8(std::uint64_t x)
{
    std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
    x ^= t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
    x ^= t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
    x ^= t ^ (t << 28);
    return x;
}

} // namespace

void rotateToColumns(std::span<const std::uint8_t> raster, std::uint64_t nx, std::uint64_t ny,
                     std::span<std::uint8_t> columns)
{
    const std::uint8_t *in = raster.data();
    std::uint8_t *out = columns.data();
    const std::uint64_t rows = 8 * ny;
    for (std::uint64_t k = 0; k < ny; ++k) {
        // The eight raster rows of vertical byte k, topmost dot first.
        const std::uint8_t *row[8];
        for (unsigned l = 0; l < 8; ++l)
            row[l] = in + (rows - 1 - (8 * k + l)) * nx;
        for (std::uint64_t bx = 0; bx < nx; ++bx) {
            std::uint64_t block = 0;
            for (unsigned l = 0; l < 8; ++l)
                block = block << 8 | row[l][bx];
            block = transpose8(block);
            std::uint8_t *column = out + 8 * bx * ny + k;
            for (unsigned j = 0; j < 8; ++j)
                column[j * ny] = static_cast<std::uint8_t>(block >> (56 - 8 * j));
        }
    }
}

} // namespace kt::bitmap
