// Header parsing and the checks that must stop a bitmap before memory is
// set aside for it.
#include <gtest/gtest.h>

#include "bitmap_header.h"
#include "bmp_writer.h"

namespace kt::bitmap {
namespace {

using test::put16;
using test::put32;

std::optional<BitmapHeader> parse(const std::vector<std::uint8_t> &bytes)
{
    return parseHeader(bytes, bytes.size());
}

TEST(BitmapHeader, RejectsWhatIsNotAStorableBitmap)
{
    std::vector<std::uint8_t> notBm = test::blackBmp(8, 8, 24);
    notBm[1] = 'A';
    std::vector<std::uint8_t> noWidth = test::blackBmp(8, 8, 24);
    put32(noWidth, test::kWidthAt, 0);
    std::vector<std::uint8_t> noHeight = test::blackBmp(8, 8, 24);
    put32(noHeight, test::kHeightAt, 0);
    std::vector<std::uint8_t> cut = test::blackBmp(8, 8, 24);
    cut.resize(53);
    for (const auto &bytes : {notBm, noWidth, noHeight, cut})
        EXPECT_FALSE(parse(bytes));
}

TEST(BitmapHeader, ConvertibleOnlyWhenTheFileHoldsExactlyTheRows)
{
    struct Case {
        const char *name;
        std::function<void(std::vector<std::uint8_t> &)> change;
        Unconvertible expected;
    };
    const std::vector<Case> cases{
        {"as written", [](auto &) {}, Unconvertible::None},
        {"last row without its padding", [](auto &b) { b.resize(b.size() - 2); },
         Unconvertible::None},
        {"last row short of a pixel byte", [](auto &b) { b.resize(b.size() - 3); },
         Unconvertible::DataSize},
        {"one row too many", [](auto &b) { b.insert(b.end(), 32, 0); }, Unconvertible::DataSize},
        {"a stray byte after the rows", [](auto &b) { b.push_back(0); }, Unconvertible::DataSize},
        {"data offset beyond the file", [](auto &b) { put32(b, test::kDataOffsetAt, 0x7FFFFFF0); },
         Unconvertible::DataSize},
        {"2 bits per pixel", [](auto &b) { put16(b, test::kBitsAt, 2); },
         Unconvertible::UnsupportedDepth},
        {"run-length compressed", [](auto &b) { put32(b, test::kCompressionAt, 1); },
         Unconvertible::Compressed},
        {"bit-field masks", [](auto &b) { put32(b, test::kCompressionAt, 3); },
         Unconvertible::None},
        {"top-down", [](auto &b) { put32(b, test::kHeightAt, static_cast<std::uint32_t>(-4)); },
         Unconvertible::TopDown},
        {"width near 2^32", [](auto &b) { put32(b, test::kWidthAt, 0xFFFFFFF0); },
         Unconvertible::DataSize},
        {"rows times stride beyond 64 bits",
         [](auto &b) {
             put32(b, test::kWidthAt, 0xFFFFFFF0);
             put32(b, test::kHeightAt, 0x7FFFFFFF);
         },
         Unconvertible::DataSize},
    };
    for (const Case &c : cases) {
        std::vector<std::uint8_t> bytes = test::blackBmp(10, 4, 24); // rows of 30 + 2 bytes
        c.change(bytes);
        const std::optional<BitmapHeader> h = parse(bytes);
        ASSERT_TRUE(h) << c.name;
        EXPECT_EQ(checkConvertible(*h), c.expected) << c.name;
    }
}

TEST(BitmapHeader, SizesBeyondTheCommandFieldsAreRefused)
{
    // 524288 dots need nx = 65536, one more than xL xH can carry.
    const std::optional<BitmapHeader> wide = parse(test::blackBmp(524288, 1, 1));
    ASSERT_TRUE(wide);
    EXPECT_EQ(checkConvertible(*wide), Unconvertible::TooLarge);
    const std::optional<BitmapHeader> widest = parse(test::blackBmp(524280, 1, 1));
    EXPECT_EQ(checkConvertible(*widest), Unconvertible::None);
}

} // namespace
} // namespace kt::bitmap
