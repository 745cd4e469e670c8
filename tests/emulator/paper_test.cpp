// What reaches the paper: NV images dot for dot, text lines, cuts, and the
// PNG file made of it.
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "core/parameters.h"
#include "core/png_writer.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
// The check misses calls of an operator brought in by a using-declaration.
using test::operator+; // NOLINT(misc-unused-using-decls)

// An image of 2 x 3 units (16 x 24 dots) whose dots follow a pattern that
// tells columns and rows apart.
NvImage patternImage()
{
    NvImage img{2, 3, Bytes(2 * 3 * 8)};
    for (std::size_t i = 0; i < img.data.size(); ++i)
        img.data[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return img;
}

bool imageDot(const NvImage &img, int x, int y)
{
    return img.data[static_cast<std::size_t>(x * img.ny + y / 8)] & (0x80 >> (y % 8));
}

Bytes defineCommand(const NvImage &img)
{
    Bytes cmd = hex("1C 71 01");
    cmd.push_back(static_cast<std::uint8_t>(img.nx));
    cmd.push_back(0);
    cmd.push_back(static_cast<std::uint8_t>(img.ny));
    cmd.push_back(0);
    cmd.insert(cmd.end(), img.data.begin(), img.data.end());
    return cmd;
}

struct Mode {
    const char *byte;
    int sx, sy;
};

TEST(EmulatorPaper, StoredImagePrintsDotForDotInEveryMode)
{
    const NvImage img = patternImage();
    for (const Mode &m : {Mode{"30", 1, 1}, Mode{"31", 2, 1}, Mode{"32", 1, 2}, Mode{"03", 2, 2}}) {
        SCOPED_TRACE(m.byte);
        Emulator emu(EmulatorOptions{});
        auto c = emu.connect();
        c->send(defineCommand(img) + hex("1C 70 01") + hex(m.byte));
        const auto paper = emu.paper();
        ASSERT_EQ(paper.height, 24 * m.sy);
        for (int y = 0; y < paper.height; ++y)
            for (int x = 0; x < paper.width; ++x) {
                const bool want = x < 16 * m.sx && imageDot(img, x / m.sx, y / m.sy);
                ASSERT_EQ(paper.dot(x, y), want) << x << "," << y;
            }
    }
}

TEST(EmulatorPaper, PrintingAnImageThatIsNotStoredPrintsNothing)
{
    Emulator emu(EmulatorOptions{});
    emu.connect()->send(defineCommand(patternImage()) + hex("1C 70 02 30 1C 70 00 30"));
    EXPECT_EQ(emu.paper().height, 0);
}

TEST(EmulatorPaper, LongTextWrapsAndCountsItsLines)
{
    Emulator emu(EmulatorOptions{}); // 576 dots: 48 cells of 12 dots
    auto c = emu.connect();
    c->send(hex("'" + std::string(100, 'H') + "' 0A"));
    EXPECT_EQ(emu.parameter(param::LinesPrinted), "48214");
    const auto paper = emu.paper();
    EXPECT_EQ(paper.height, 3 * 30);
    bool inkInLastCell = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 47 * 12; x < 48 * 12; ++x)
            inkInLastCell |= paper.dot(x, y);
    EXPECT_TRUE(inkInLastCell);
}

TEST(EmulatorPaper, InitializeDropsUnprintedTextAndCutsAreCounted)
{
    Emulator emu(EmulatorOptions{});
    auto c = emu.connect();
    c->send(hex("'dropped' 1B 40 1B 69 'kept' 1D 56 01"));
    const auto paper = emu.paper();
    ASSERT_EQ(paper.cutRows.size(), 2u);
    EXPECT_EQ(paper.cutRows[0], 12) << "nothing printed before the first cut";
    EXPECT_GT(paper.cutRows[1], paper.cutRows[0] + 30) << "the line before the second cut";
    EXPECT_EQ(emu.parameter(param::CutCount), "5404");
}

TEST(EmulatorPaper, SelfTestPageListsTheSwitchesAndCuts)
{
    Emulator emu(EmulatorOptions{});
    emu.connect()->send(hex("1D 28 41 02 00 00 02"));
    const auto paper = emu.paper();
    EXPECT_EQ(paper.cutRows.size(), 1u);
    EXPECT_GT(paper.height, 20 * 22);
    EXPECT_EQ(emu.transcript().back().outcome, "self-test page printed");
}

TEST(EmulatorPaper, PngHoldsTheRollAtItsSize)
{
    test::TempDir dir;
    Emulator emu(EmulatorOptions{});
    emu.connect()->send(defineCommand(patternImage()) + hex("1C 70 01 30"));
    ASSERT_EQ(emu.writePaper(test::in(dir, "paper.png")).error(), "");
    const std::string png = test::readFile(test::in(dir, "paper.png"));
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](std::size_t at) {
        return static_cast<unsigned char>(png[at]) << 24
            | static_cast<unsigned char>(png[at + 1]) << 16
            | static_cast<unsigned char>(png[at + 2]) << 8
            | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 576);
    EXPECT_EQ(be32(20), 24);
    // An empty roll still makes a valid, blank image.
    EXPECT_EQ(writePaperPng(PaperImage{384, 0, {}, {}}, test::in(dir, "empty.png")).error(), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
        << "no temporary file is left";
}

} // namespace
} // namespace kt::emu
