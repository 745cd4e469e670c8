// The define command built from files: its bytes, its blocks, and the
// result of every way a file can be wrong.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "bitmap_define_command.h"
#include "bitmap_results.h"
#include "bmp_writer.h"
#include "temp_dir.h"

namespace kt::bitmap {
namespace {

using test::put16;
using test::put32;

DefineCommand build(const std::vector<std::string> &files)
{
    return buildDefineCommand(files, 143);
}

TEST(DefineCommand, TenByTenMonoIsOneBlockOf36Bytes)
{
    test::TempDir dir;
    const DefineCommand command = build({dir.file("ten.bmp", test::blackBmp(10, 10, 1))});
    ASSERT_EQ(command.result, result::defined);
    ASSERT_EQ(command.bytes.size(), 3u + 36);
    EXPECT_EQ(std::vector<std::uint8_t>(command.bytes.begin(), command.bytes.begin() + 7),
              (std::vector<std::uint8_t>{0x1C, 0x71, 0x01, 0x02, 0x00, 0x02, 0x00}));
    // Columns 0..9: six blank rows at the top, then ten dots; 10..15 blank.
    for (unsigned c = 0; c < 16; ++c) {
        const std::uint8_t top = c < 10 ? 0x03 : 0x00;
        const std::uint8_t bottom = c < 10 ? 0xFF : 0x00;
        EXPECT_EQ(command.bytes[7 + 2 * c], top) << "column " << c;
        EXPECT_EQ(command.bytes[8 + 2 * c], bottom) << "column " << c;
    }
}

TEST(DefineCommand, BlocksFollowEachOtherInListOrder)
{
    test::TempDir dir;
    struct Size {
        std::uint32_t width, height;
        std::uint16_t bits;
    };
    const std::vector<Size> sizes{{10, 10, 24}, {17, 3, 8}, {64, 9, 32}, {5, 16, 4}, {8, 1, 16}};
    std::vector<std::string> files;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const Size s = sizes[i];
        files.push_back(
            dir.file("f" + std::to_string(i) + ".bmp", test::blackBmp(s.width, s.height, s.bits)));
    }
    const DefineCommand command = build(files);
    ASSERT_EQ(command.result, result::defined);
    EXPECT_EQ(command.bytes[2], sizes.size());
    std::size_t at = 3;
    for (const Size s : sizes) {
        const std::size_t nx = (s.width + 7) / 8;
        const std::size_t ny = (s.height + 7) / 8;
        ASSERT_LT(at + 4, command.bytes.size());
        EXPECT_EQ(command.bytes[at] | command.bytes[at + 1] << 8, nx);
        EXPECT_EQ(command.bytes[at + 2] | command.bytes[at + 3] << 8, ny);
        at += 4 + nx * ny * 8;
    }
    EXPECT_EQ(at, command.bytes.size());
}

TEST(DefineCommand, FailuresNameTheirCause)
{
    test::TempDir dir;
    const std::string good = dir.file("good.bmp", test::blackBmp(16, 8, 1));
    const auto changed = [&](const char *name, auto change) {
        std::vector<std::uint8_t> bytes = test::blackBmp(16, 8, 1);
        change(bytes);
        return dir.file(name, bytes);
    };
    const std::string fifo = dir.path() + "/fifo.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    struct Case {
        const char *name;
        std::vector<std::string> files;
        std::int32_t expected;
    };
    const std::vector<Case> cases{
        {"nothing registered", {}, result::nothingToDefine},
        {"missing file", {good, dir.path() + "/missing.bmp"}, result::cannotOpen},
        {"a directory", {dir.path()}, result::cannotOpen},
        {"a FIFO, which must not block", {fifo}, result::cannotOpen},
        {"not BM", {changed("text.bmp", [](auto &b) { b[0] = 'X'; })}, result::cannotOpen},
        {"header cut short",
         {changed("cut.bmp", [](auto &b) { b.resize(40); })},
         result::cannotOpen},
        {"empty file", {dir.file("empty.bmp", {})}, result::cannotOpen},
        {"no width",
         {changed("w0.bmp", [](auto &b) { put32(b, test::kWidthAt, 0); })},
         result::cannotOpen},
        {"2 bits per pixel",
         {changed("2bpp.bmp", [](auto &b) { put16(b, test::kBitsAt, 2); })},
         result::notConverted},
        {"pixel data ends early",
         {good, changed("short.bmp", [](auto &b) { b.resize(b.size() - 4); })},
         result::notConverted},
        {"data beyond the last row",
         {changed("long.bmp", [](auto &b) { b.insert(b.end(), 4, 0); })},
         result::notConverted},
        {"top-down",
         {changed("down.bmp",
                  [](auto &b) { put32(b, test::kHeightAt, static_cast<std::uint32_t>(-8)); })},
         result::notConverted},
        {"compressed",
         {changed("rle.bmp", [](auto &b) { put32(b, test::kCompressionAt, 2); })},
         result::notConverted},
        {"width and height near 2^32",
         {changed("huge.bmp",
                  [](auto &b) {
                      put32(b, test::kWidthAt, 0xFFFFFFFF);
                      put32(b, test::kHeightAt, 0x7FFFFFFF);
                  })},
         result::notConverted},
        {"data offset beyond the file",
         {changed("offset.bmp", [](auto &b) { put32(b, test::kDataOffsetAt, 0xFFFFFFFF); })},
         result::notConverted},
        // Every file is checked for being a bitmap before any is converted.
        {"bad depth before a non-bitmap",
         {changed("2bpp-first.bmp", [](auto &b) { put16(b, test::kBitsAt, 2); }),
          changed("text-second.bmp", [](auto &b) { b[1] = 'X'; })},
         result::cannotOpen},
    };
    for (const Case &c : cases) {
        ::testing::internal::CaptureStderr(); // the unsupported-depth message
        const DefineCommand command = build(c.files);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(command.result, c.expected) << c.name;
        EXPECT_TRUE(command.bytes.empty()) << c.name;
    }
}

TEST(DefineCommand, UnsupportedDepthIsReportedOnStandardError)
{
    test::TempDir dir;
    std::vector<std::uint8_t> bytes = test::blackBmp(8, 8, 1);
    put16(bytes, test::kBitsAt, 2);
    const std::string file = dir.file("2bpp.bmp", bytes);
    ::testing::internal::CaptureStderr();
    const DefineCommand command = build({file});
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(command.result, result::notConverted);
    EXPECT_EQ(shown, "Talvorin POS Printer DLL: file format is not supported\n");
}

} // namespace
} // namespace kt::bitmap
