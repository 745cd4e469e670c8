// Which pixels become dots, by depth, and the row raster they fill.
#include <gtest/gtest.h>

#include "bitmap_header.h"
#include "bitmap_reader.h"
#include "bmp_writer.h"

namespace kt::bitmap {
namespace {

using test::BmpImage;
using Rows = std::vector<std::vector<std::uint8_t>>; // top row of the picture first

// The raster of an image, regrouped as rows from the top of the picture.
Rows rasterOf(const BmpImage &image, std::uint8_t threshold)
{
    const std::vector<std::uint8_t> bytes = test::makeBmp(image);
    const std::optional<BitmapHeader> h = parseHeader(bytes, bytes.size());
    EXPECT_TRUE(h);
    EXPECT_EQ(checkConvertible(*h), Unconvertible::None);
    std::vector<std::uint8_t> raster(h->nx() * h->height, 0xEE);
    readRows(*h, bytes, threshold, raster);
    Rows rows;
    for (std::uint64_t stored = h->height; stored-- > 0;)
        rows.emplace_back(raster.begin() + static_cast<std::ptrdiff_t>(stored * h->nx()),
                          raster.begin() + static_cast<std::ptrdiff_t>((stored + 1) * h->nx()));
    return rows;
}

// One row of `width` pixels with the given values.
BmpImage row(std::uint16_t bits, const std::vector<std::uint32_t> &values,
             std::vector<std::uint32_t> palette = {})
{
    const auto width = static_cast<std::uint32_t>(values.size());
    return {width, 1, bits, std::move(palette),
            [values](std::uint32_t x, std::uint32_t) { return values[x]; }};
}

TEST(BitmapReader, DarkPixelsByDepth)
{
    struct Case {
        const char *name;
        BmpImage image;
        std::uint8_t threshold;
        std::vector<std::uint8_t> expected;
    };
    const std::vector<std::uint32_t> sixteen{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const std::vector<Case> cases{
        {"1 bit, white first: set bits print",
         row(1, {1, 0, 1, 1, 0, 0, 0, 1, 1}, test::whiteFirstPalette()),
         143,
         {0xB1, 0x80}},
        {"1 bit, black first: clear bits print",
         row(1, {1, 0, 1, 1, 0, 0, 0, 1, 1}, test::greyPalette(2)),
         143,
         {0x4E, 0x00}},
        {"4 bits: all but 7 and 15", row(4, sixteen, test::greyPalette(16)), 143, {0xFE, 0xFE}},
        {"8 bits: index below the threshold",
         row(8, {142, 143, 0, 255, 144, 1, 200, 50, 142}, test::greyPalette(256)),
         143,
         {0xA5, 0x80}},
        {"16 bits: either byte", row(16, {0xFFFF, 0x8EFF, 0xFF8E, 0x8F8F}), 143, {0x60}},
        {"24 bits: 90,C0,FF white, 8E,FF,FF dark",
         row(24, {0xFFC090, 0xFFFF8E, 0x8EFFFF, 0xFF8EFF}),
         143,
         {0x70}},
        {"32 bits: the fourth byte is ignored",
         row(32, {0x00FFFFFF, 0xFF8EFFFF, 0xFFFFFF8E}),
         143,
         {0x60}},
        {"threshold 0: nothing prints", row(24, {0x000000, 0x010203}), 0, {0x00}},
        {"threshold 255: all but white", row(24, {0xFFFFFF, 0xFFFFFE, 0x000000}), 255, {0x60}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rasterOf(c.image, c.threshold), Rows{c.expected}) << c.name;
}

TEST(BitmapReader, MonoPaletteFollowsALargerInfoHeader)
{
    // With a 124-byte header, offset 54 holds a header field (0), not the
    // palette: taking it for the palette would invert the picture.
    for (const std::uint32_t info : {40u, 108u, 124u}) {
        BmpImage image = row(1, {1, 0, 0, 0, 0, 0, 0, 1}, test::whiteFirstPalette());
        image.infoHeaderBytes = info;
        EXPECT_EQ(rasterOf(image, 143), Rows{{0x81}}) << info;
    }
}

TEST(BitmapReader, TenByTenMonoBlackFirstClearsBitsBeyondTheWidth)
{
    // Every pixel index 0: with black first, all 10 dots of every row print.
    BmpImage image{10, 10, 1, test::greyPalette(2),
                   [](std::uint32_t, std::uint32_t) { return 0u; }};
    const Rows rows = rasterOf(image, 143);
    ASSERT_EQ(rows.size(), 10u);
    for (const auto &r : rows)
        EXPECT_EQ(r, (std::vector<std::uint8_t>{0xFF, 0xC0}));
}

TEST(BitmapReader, EightBitWidthTenKeepsRowsApart)
{
    // Row y is dark only at column y: any shift between rows moves the dot.
    BmpImage image{10, 10, 8, test::greyPalette(256),
                   [](std::uint32_t x, std::uint32_t y) { return x == y ? 0u : 255u; }};
    const Rows rows = rasterOf(image, 143);
    ASSERT_EQ(rows.size(), 10u);
    for (std::uint32_t y = 0; y < 10; ++y) {
        const std::uint16_t bits = static_cast<std::uint16_t>(0x8000u >> y);
        EXPECT_EQ(rows[y],
                  (std::vector<std::uint8_t>{static_cast<std::uint8_t>(bits >> 8),
                                             static_cast<std::uint8_t>(bits & 0xFF)}))
            << "row " << y;
    }
}

TEST(BitmapReader, OddWidthsIgnoreThePaddingInTheLastByte)
{
    // 3 pixels of 4 bits leave a low nibble of 0 (dark if it were read), and
    // 1-bit rows carry set padding bits that must not print.
    EXPECT_EQ(rasterOf(row(4, {7, 15, 7}, test::greyPalette(16)), 143), Rows{{0x00}});
    BmpImage mono = row(1, {1, 1, 1}, test::whiteFirstPalette());
    std::vector<std::uint8_t> bytes = test::makeBmp(mono);
    bytes[bytes.size() - 4] = 0xFF; // the row's byte, padding bits set
    const auto h = parseHeader(bytes, bytes.size());
    std::vector<std::uint8_t> raster(1);
    readRows(*h, bytes, 143, raster);
    EXPECT_EQ(raster[0], 0xE0);
}

} // namespace
} // namespace kt::bitmap
