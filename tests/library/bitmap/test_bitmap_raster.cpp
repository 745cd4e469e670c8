// The rotation into column order, checked against its definition bit by bit.
#include <random>

#include <gtest/gtest.h>

#include "bitmap_raster.h"

namespace kt::bitmap {
namespace {

bool bit(std::uint8_t byte, unsigned position) { return byte >> position & 1u; }

TEST(BitmapRaster, MatchesTheColumnDefinition)
{
    std::mt19937 random(7);
    for (const auto &[nx, ny] :
         {std::pair<std::uint64_t, std::uint64_t>{1, 1}, {2, 3}, {3, 2}, {9, 5}}) {
        std::vector<std::uint8_t> raster(nx * 8 * ny);
        for (auto &b : raster)
            b = static_cast<std::uint8_t>(random());
        std::vector<std::uint8_t> columns(raster.size(), 0xAA);
        rotateToColumns(raster, nx, ny, columns);
        for (std::uint64_t c = 0; c < 8 * nx; ++c)
            for (std::uint64_t k = 0; k < ny; ++k)
                for (unsigned l = 0; l < 8; ++l) {
                    const std::uint8_t source = raster[(8 * ny - 1 - (8 * k + l)) * nx + c / 8];
                    ASSERT_EQ(bit(columns[c * ny + k], 7 - l), bit(source, 7 - c % 8))
                        << "nx " << nx << " ny " << ny << " c " << c << " k " << k << " l " << l;
                }
    }
}

TEST(BitmapRaster, BlankRowsPrintAboveAndTheBottomRowLast)
{
    // 2 x 2 units, 10 stored rows: stored row 0 (the picture's bottom) holds
    // a dot in column 0 only, stored row 9 (the top) in column 1 only.
    std::vector<std::uint8_t> raster(2 * 16, 0);
    raster[0] = 0x80;
    raster[9 * 2] = 0x40;
    std::vector<std::uint8_t> columns(raster.size());
    rotateToColumns(raster, 2, 2, columns);
    // Column 0: the bottom dot is the last bit of its second byte.
    EXPECT_EQ(columns[0], 0x00);
    EXPECT_EQ(columns[1], 0x01);
    // Column 1: the top stored row follows the 6 blank rows.
    EXPECT_EQ(columns[2], 0x02);
    EXPECT_EQ(columns[3], 0x00);
    for (std::size_t i = 4; i < columns.size(); ++i)
        EXPECT_EQ(columns[i], 0) << i;
}

} // namespace
} // namespace kt::bitmap
