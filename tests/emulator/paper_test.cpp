// What reaches the paper: NV images dot for dot, text lines, cuts, and the
// PNG file made of it.
#include <cstring>
#include <fstream>
#include <thread>
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

// An image that does not fit beside the text goes to the next line whole:
// printing the full line must not lose the image that caused it.
TEST(EmulatorPaper, AnImageTooWideForTheLineStartsTheNextOne)
{
    Emulator emu(EmulatorOptions{});
    auto c = emu.connect();
    Bytes bytes = hex("'" + std::string(40, 'H') + "' 1B 2A 21 C8 00"); // 480 dots, then 200
    bytes.insert(bytes.end(), 200 * 3, 0xFF);
    bytes.push_back(0x0A);
    c->send(bytes);
    EXPECT_TRUE(emu.waitForCommand("ESC *", std::chrono::seconds(5)));
    const auto paper = emu.paper();
    ASSERT_GE(paper.height, 30 + 24);
    bool imageOnSecondLine = true;
    for (int x = 0; x < 200; x += 20)
        imageOnSecondLine &= paper.dot(x, paper.height - 1) || paper.dot(x, paper.height - 12);
    EXPECT_TRUE(imageOnSecondLine);
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

// The glyph of `c` as the font file draws it: 16 rows of 8 dots, read
// here straight from the file.
std::vector<std::string> fontRows(char32_t c)
{
    char key[16];
    std::snprintf(key, sizeof key, "%04X:", static_cast<unsigned>(c));
    std::ifstream in("/usr/share/unifont/unifont.hex");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0 || line.size() != std::strlen(key) + 32)
            continue;
        std::vector<std::string> rows;
        for (int r = 0; r < 16; ++r) {
            const int bits = std::stoi(line.substr(std::strlen(key) + 2 * r, 2), nullptr, 16);
            std::string row;
            for (int b = 7; b >= 0; --b)
                row += bits >> b & 1 ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
    return {};
}

// The 8 x 16 dots of cell `index` of the first printed line in the 8x16
// font: its cells sit on the baseline of a 24-dot line, 8 dots down.
std::vector<std::string> paperCell(const PaperImage &paper, int index)
{
    std::vector<std::string> rows;
    for (int y = 8; y < 24; ++y) {
        std::string row;
        for (int x = 8 * index; x < 8 * index + 8; ++x)
            row += paper.dot(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

struct CodePageCase {
    const char *select; // ESC t n, or nothing for the code page at start
    Bytes text;
    std::u32string characters;
};

TEST(EmulatorPaper, CodePageLettersAreTheFontsOwnGlyphs)
{
    ASSERT_FALSE(fontRows(U'A').empty()) << "the unifont package is needed";
    const std::vector<CodePageCase> cases{
        {"1B 74 11", hex("80 81 9F"), U"\u0410\u0411\u042F"}, // 866 Cyrillic
        {"1B 74 00", hex("82 E1 9C"), U"\u00E9\u00DF\u00A3"}, // 437
        {"1B 74 18", hex("C1 E1 'A'"), U"\u0391\u03B1A"},     // 1253 Greek
        {"1B 74 01", hex("B1 C3"), U"\uFF71\uFF83"},          // Katakana
        {"1B 74 F0", hex("B2 B3"), U"\u0531\u0561"},          // Armenian
        {"1B 74 12", hex("A5 A6 A7"), U"\u0105\u017D\u017E"}, // 852 Latin 2
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.select);
        Emulator emu(EmulatorOptions{});
        emu.connect()->send(hex("1B 21 01") + hex(c.select) + c.text + hex("0A"));
        const auto paper = emu.paper();
        for (std::size_t i = 0; i < c.characters.size(); ++i) {
            const auto want = fontRows(c.characters[i]);
            ASSERT_EQ(want.size(), 16u) << "no 8-dot glyph for character " << i;
            EXPECT_EQ(paperCell(paper, static_cast<int>(i)), want) << "character " << i;
        }
    }
}

TEST(EmulatorPaper, TheCodePageAtStartIsTheSettingAndEscTKeepsItForUnknownPages)
{
    EmulatorOptions o;
    o.overrides = {{"code_page", "17"}};
    Emulator emu(o);
    auto c = emu.connect();
    const Bytes cyrillicA = hex("1B 21 01 80 0A");
    c->send(cyrillicA + hex("1B 74 63") + cyrillicA + hex("1B 74 00 1B 40") + cyrillicA);
    const auto paper = emu.paper();
    const auto a = fontRows(U'\u0410');
    EXPECT_EQ(paperCell(paper, 0), a) << "the setting's code page";
    EXPECT_EQ(paperCell(paper.rows(30, 60), 0), a) << "ESC t 99 is no code page";
    EXPECT_EQ(paperCell(paper.rows(60, 90), 0), a) << "ESC @ brings the setting's back";
    ASSERT_TRUE(emu.waitForCommand("ESC t n=99", std::chrono::milliseconds(0)));
    for (const auto &e : emu.transcript()) {
        if (e.name.rfind("ESC t n=99", 0) == 0) {
            EXPECT_EQ(e.outcome, "no code page 99: the code page is kept");
        }
    }
}

std::pair<int, int> pngSize(const std::filesystem::path &path)
{
    const std::string png = test::readFile(path);
    if (png.size() < 24 || png.substr(1, 3) != "PNG")
        return {0, 0};
    auto be32 = [&](std::size_t at) {
        return static_cast<unsigned char>(png[at]) << 24
            | static_cast<unsigned char>(png[at + 1]) << 16
            | static_cast<unsigned char>(png[at + 2]) << 8
            | static_cast<unsigned char>(png[at + 3]);
    };
    return {be32(16), be32(20)};
}

std::vector<std::string> filesIn(const std::filesystem::path &dir)
{
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Each receipt is its own PNG as soon as it is cut: the rows from the end
// of the last cut line to the start of this one.
TEST(EmulatorPaper, AReceiptDirectoryGetsOnePngPerReceiptAtItsCut)
{
    test::TempDir dir;
    const auto receipts = test::in(dir, "receipts") / "";
    test::writeFile(test::in(dir, "other"), "");
    EmulatorOptions o;
    o.paperFile = receipts;
    Emulator emu(o);
    auto c = emu.connect();
    c->send(hex("'ONE' 0A"));
    EXPECT_EQ(filesIn(receipts), std::vector<std::string>{}) << "nothing before the cut";
    c->send(hex("1B 69"));
    EXPECT_EQ(filesIn(receipts), std::vector<std::string>{"receipt-0001.png"});
    EXPECT_EQ(pngSize(receipts / "receipt-0001.png"), std::pair(576, 30 + 12));
    c->send(hex("'TWO' 0A 'LINES' 0A 1D 56 01 1D 28 41 02 00 00 02"));
    EXPECT_EQ(
        filesIn(receipts),
        (std::vector<std::string>{"receipt-0001.png", "receipt-0002.png", "receipt-0003.png"}));
    EXPECT_EQ(pngSize(receipts / "receipt-0002.png"), std::pair(576, 12 + 60 + 12));
    c->send(hex("'LEFT ON THE ROLL' 0A"));
    ASSERT_EQ(emu.finish().error(), "");
    EXPECT_EQ(filesIn(receipts).size(), 3u) << "an uncut receipt is no file";

    // Numbering goes on after the receipts already there.
    test::writeFile(receipts / "receipt-0041.png", "");
    Emulator next(o);
    next.connect()->send(hex("1B 69"));
    EXPECT_EQ(filesIn(receipts).back(), "receipt-0042.png");
}

TEST(EmulatorPaper, TheRollFileIsRewrittenAfterEveryCutAndAfterAPause)
{
    test::TempDir dir;
    const auto roll = test::in(dir, "roll.png");
    EmulatorOptions o;
    o.paperFile = roll;
    o.paperPause = std::chrono::milliseconds(50);
    Emulator emu(o);
    auto c = emu.connect();
    c->send(hex("'FIRST' 0A"));
    // Written by the event loop once printing has paused.
    for (int waited = 0; waited < 10000 && pngSize(roll).second != 30; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(pngSize(roll), std::pair(576, 30));
    c->send(hex("1B 69"));
    EXPECT_EQ(pngSize(roll), std::pair(576, 30 + 26)) << "written at the cut itself";
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"roll.png"});
}

TEST(EmulatorPaper, AFontThatCannotBeLoadedIsRefused)
{
    test::TempDir dir;
    test::writeFile(test::in(dir, "bad.hex"), "0041:00FF\n");
    for (const auto &font : {test::in(dir, "bad.hex"), test::in(dir, "missing.hex")}) {
        EmulatorOptions o;
        o.fontFile = font;
        EXPECT_THROW(Emulator{o}, EmulatorError) << font;
    }
}

} // namespace
} // namespace kt::emu
