// What receipt software's commands put on the paper: styled text dot for
// dot against the font's own shapes, barcodes and QR codes that a barcode
// reader decodes from the PNG, a whole receipt replayed into one receipt
// file, and a client that waits for automatic status back before it prints.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
using test::operator+;
using namespace std::chrono_literals;

PaperImage printed(const Bytes &bytes)
{
    Emulator emu(EmulatorOptions{});
    emu.connect()->send(bytes);
    return emu.paper();
}

// How a styled line relates to the plain line "H" LF: the dot expected at
// (x, y) of the styled paper, read from the plain paper.
using Expected = std::function<bool(const PaperImage &plain, int x, int y)>;

struct StyleCase {
    const char *what;
    const char *bytes; // before "H" LF
    int rows;          // rows the styled line takes
    Expected dot;
};

TEST(EmulatorReceiptRendering, StyledTextIsThePlainGlyphTransformed)
{
    const PaperImage plain = printed(hex("'H' 0A"));
    ASSERT_EQ(plain.height, 30);
    const int width = plain.width;
    const std::vector<StyleCase> cases{
        {"double size", "1D 21 11", 48,
         [](const PaperImage &p, int x, int y) { return x < 24 && p.dot(x / 2, y / 2); }},
        {"emphasis", "1B 45 01", 30,
         [](const PaperImage &p, int x, int y) { return p.dot(x, y) || p.dot(x - 1, y); }},
        {"double strike", "1B 47 01", 30,
         [](const PaperImage &p, int x, int y) { return p.dot(x, y) || p.dot(x - 1, y); }},
        {"centred", "1B 61 01", 30,
         [width](const PaperImage &p, int x, int y) { return p.dot(x - (width - 12) / 2, y); }},
        {"right", "1B 61 02", 30,
         [width](const PaperImage &p, int x, int y) { return p.dot(x - (width - 12), y); }},
        {"reversed", "1D 42 01", 30,
         [](const PaperImage &p, int x, int y) { return x < 12 && y < 24 && !p.dot(x, y); }},
        {"upside down", "1B 7B 01", 30,
         [width](const PaperImage &p, int x, int y) { return p.dot(width - 1 - x, 29 - y); }},
        {"underlined", "1B 2D 02", 30,
         [](const PaperImage &p, int x, int y) {
             return p.dot(x, y) || (x < 12 && (y == 22 || y == 23));
         }},
        {"left margin", "1D 4C 64 00", 30,
         [](const PaperImage &p, int x, int y) { return p.dot(x - 100, y); }},
        // Turned a quarter clockwise: 24 dots across, 12 high, on the baseline.
        {"rotated", "1B 56 01", 30,
         [](const PaperImage &p, int x, int y) {
             return x < 24 && y >= 12 && y < 24 && p.dot(y - 12, 23 - x);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const PaperImage styled = printed(hex(c.bytes) + hex("'H' 0A"));
        ASSERT_EQ(styled.height, c.rows);
        int inked = 0;
        for (int y = 0; y < styled.height; ++y)
            for (int x = 0; x < styled.width; ++x) {
                ASSERT_EQ(styled.dot(x, y), c.dot(plain, x, y)) << x << "," << y;
                inked += styled.dot(x, y);
            }
        EXPECT_GT(inked, 20);
    }
}

// The first column with ink at or right of `from` in the first line.
int firstInk(const PaperImage &paper, int from)
{
    for (int x = from; x < paper.width; ++x)
        for (int y = 0; y < std::min(paper.height, 24); ++y)
            if (paper.dot(x, y))
                return x;
    return -1;
}

TEST(EmulatorReceiptRendering, TabsAndPositionsPlaceTheNextCharacter)
{
    const int plainA = firstInk(printed(hex("'|' 0A")), 0);
    const std::vector<std::pair<const char *, int>> cases{
        {"'|' 09 '|' 0A", 96},                // every 8 characters of 12 dots
        {"1B 44 03 0A 00 '|' 09 '|' 0A", 36}, // ESC D: column 3
        {"1B 44 03 00 '|' 09 09 '|' 0A", 36}, // no tab position left: HT does nothing
        {"'|' 1B 24 C8 00 '|' 0A", 200},      // ESC $ 200
        {"'|' 1B 5C 14 00 '|' 0A", 32},       // ESC \ 20 after the first character
        {"1B 20 04 '||' 0A", 16},             // character spacing 4
    };
    for (const auto &[bytes, second] : cases) {
        const PaperImage paper = printed(hex(bytes));
        EXPECT_EQ(firstInk(paper, 0), plainA) << bytes;
        EXPECT_EQ(firstInk(paper, plainA + 6) - plainA, second) << bytes; // past the first bar
    }
}

TEST(EmulatorReceiptRendering, LinesFeedTheSpacingOrTheirTallestCharacter)
{
    for (const auto &[bytes, rows] :
         std::vector<std::pair<const char *, int>>{{"'A' 0A", 30},
                                                   {"1B 33 32 'A' 0A", 50},
                                                   {"1B 33 00 'A' 0A", 24},
                                                   {"1D 21 01 'A' 0A", 48},
                                                   {"1D 21 07 'A' 0A", 192},
                                                   {"1B 21 01 'A' 0A", 30},
                                                   {"1B 33 14 0A 0A", 40},
                                                   {"1B 33 14 1B 64 03", 60},
                                                   {"1B 32 1B 64 02", 60}}) {
        EXPECT_EQ(printed(hex(bytes)).height, rows) << bytes;
    }
}

TEST(EmulatorReceiptRendering, InitializeBringsThePlainStyleBack)
{
    const PaperImage plain = printed(hex("'H' 0A"));
    const PaperImage reset = printed(hex("1D 21 11 1B 61 01 1D 42 01 1B 7B 01 1B 40 'H' 0A"));
    EXPECT_EQ(reset.bits, plain.bits);
}

TEST(EmulatorReceiptRendering, ImagesPrintDotForDot)
{
    // A raster of 2 x 2 bytes and an 8-dot bit image of 2 columns.
    const PaperImage raster = printed(hex("1D 76 30 00 02 00 02 00 80 01 FF 00"));
    ASSERT_EQ(raster.height, 2);
    EXPECT_TRUE(raster.dot(0, 0));
    EXPECT_FALSE(raster.dot(1, 0));
    EXPECT_TRUE(raster.dot(15, 0));
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(raster.dot(x, 1), x < 8) << x;

    const PaperImage doubled = printed(hex("1D 76 30 03 01 00 01 00 80"));
    ASSERT_EQ(doubled.height, 2);
    EXPECT_TRUE(doubled.dot(1, 1));
    EXPECT_FALSE(doubled.dot(2, 0));

    // 8-dot double density: each dot three rows high, one column wide, on
    // the line's 24-dot baseline.
    const PaperImage bits = printed(hex("1B 33 18 1B 2A 01 02 00 80 01 0A"));
    ASSERT_EQ(bits.height, 24);
    EXPECT_TRUE(bits.dot(0, 0) && bits.dot(0, 2));
    EXPECT_FALSE(bits.dot(0, 3));
    EXPECT_TRUE(bits.dot(1, 21) && bits.dot(1, 23));
    EXPECT_FALSE(bits.dot(2, 23));
}

// zbarimg's reading of a PNG: the symbols it found ("QR-Code:text"),
// sorted, one a line.
std::string readBarcodes(const std::filesystem::path &png)
{
    const std::string command = "zbarimg -q '" + png.string() + "' 2>/dev/null";
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return "(zbarimg did not start)";
    std::vector<std::string> lines;
    std::array<char, 256> buf;
    while (std::fgets(buf.data(), buf.size(), pipe))
        lines.emplace_back(buf.data());
    const int status = ::pclose(pipe);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        return "(zbarimg is missing: scripts/install-deps.sh installs it)";
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const auto &l : lines)
        out += l;
    return out;
}

struct Symbol {
    const char *what;
    Bytes bytes;
    std::string read;
};

Bytes qrCode(const std::string &data, int moduleSize, char level)
{
    Bytes store = hex("1D 28 6B");
    store.push_back(static_cast<std::uint8_t>(data.size() + 3));
    store.push_back(0);
    store = store + hex("31 50 30") + Bytes(data.begin(), data.end());
    Bytes size = hex("1D 28 6B 03 00 31 43 00");
    size.back() = static_cast<std::uint8_t>(moduleSize);
    Bytes ec = hex("1D 28 6B 03 00 31 45 00");
    ec.back() = static_cast<std::uint8_t>(level);
    return size + ec + store + hex("1D 28 6B 03 00 31 51 30");
}

TEST(EmulatorReceiptRendering, ABarcodeReaderDecodesWhatWasDrawn)
{
    const std::vector<Symbol> cases{
        {"CODE128", hex("1D 6B 49 0B '{B123456789'"), "CODE-128:123456789\n"},
        {"CODE128 code set C", hex("1D 6B 49 05 '{C' 0C 22 38"), "CODE-128:123456\n"},
        {"EAN13", hex("1D 6B 02 '401234567890' 00"), "EAN-13:4012345678901\n"},
        {"EAN8", hex("1D 6B 44 07 '9638507'"), "EAN-8:96385074\n"},
        {"CODE39", hex("1D 6B 04 'KT-42' 00"), "CODE-39:KT-42\n"},
        {"ITF", hex("1D 6B 05 '12345678' 00"), "I2/5:12345678\n"},
        {"QR", qrCode("https://kt.example/r/000042", 6, '1'),
         "QR-Code:https://kt.example/r/000042\n"},
        {"QR at level H", qrCode("KT 4000", 4, '3'), "QR-Code:KT 4000\n"},
    };
    test::TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Emulator emu(EmulatorOptions{});
        // Centred, with blank paper above and below for the reader's quiet zone.
        emu.connect()->send(hex("1B 61 01 1D 48 02 1B 4A 40") + c.bytes + hex("1B 4A 40"));
        const auto png = test::in(dir, std::string(c.what) + ".png");
        ASSERT_EQ(emu.writePaper(png).error(), "");
        EXPECT_EQ(readBarcodes(png), c.read);
    }
}

TEST(EmulatorReceiptRendering, BarcodesThePrinterRefusesPrintNothing)
{
    const std::string wide(48, 'W');
    for (const Bytes &bytes :
         {hex("1D 6B 49 0A '123456789A'"), hex("1D 6B 02 '4012' 00"),
          hex("1D 77 06 1D 6B 49 32 '{B" + wide + "'"), hex("1D 28 6B 03 00 31 51 30"),
          qrCode(std::string(200, 'Q'), 16, '0')}) {
        SCOPED_TRACE(test::text(bytes));
        Emulator emu(EmulatorOptions{});
        emu.connect()->send(bytes);
        EXPECT_EQ(emu.paper().height, 0);
        EXPECT_EQ(emu.transcript().back().outcome.rfind("not printed: ", 0), 0u)
            << emu.transcript().back().outcome;
    }
}

TEST(EmulatorReceiptRendering, QrSizeInformationAnswersTheSymbolsDots)
{
    Emulator emu(EmulatorOptions{});
    auto c = emu.connect();
    EXPECT_EQ(c->send(hex("1D 28 6B 03 00 31 52 30")), hex("37 46 30 1F 30 1F 31 00"))
        << "nothing stored";
    c->send(hex("1D 28 6B 03 00 31 43 04 1D 28 6B 05 00 31 50 30 'KT'"));
    // A version 1 symbol: 21 modules of 4 dots.
    EXPECT_EQ(c->send(hex("1D 28 6B 03 00 31 52 30")), hex("37 46 '84' 1F '84' 1F 30 00"));
}

// PDF417 rows are the row height times the module width high.
TEST(EmulatorReceiptRendering, Pdf417PrintsRowsOfTheSetHeight)
{
    Emulator emu(EmulatorOptions{});
    emu.connect()->send(hex("1D 28 6B 03 00 30 43 02 1D 28 6B 03 00 30 44 04 "
                            "1D 28 6B 0C 00 30 50 30 'KT-4000 1' 1D 28 6B 03 00 30 51 30"));
    EXPECT_EQ(emu.transcript().back().outcome.rfind("printed PDF417 symbol", 0), 0u)
        << emu.transcript().back().outcome;
    const auto paper = emu.paper();
    EXPECT_GE(paper.height, 3 * 8);
    EXPECT_EQ(paper.height % 8, 0);
}

std::filesystem::path receiptStream()
{
    return std::filesystem::path(KT_SOURCE_DIR) / "docs" / "receipt.bin";
}

// The stream of docs/receipt.bin: header, items, totals, a barcode, a QR
// code, the cut and the drawer.
TEST(EmulatorReceiptRendering, AReplayedReceiptPrintsAsOneReceiptFile)
{
    const std::string stream = test::readFile(receiptStream());
    ASSERT_GT(stream.size(), 100u);
    test::TempDir dir;
    const auto receipts = test::in(dir, "receipts") / "";
    EmulatorOptions o;
    o.paperFile = receipts;
    Emulator emu(o);
    auto c = emu.connect();
    c->send(stream);
    ASSERT_EQ(emu.finish().error(), "");

    std::vector<std::string> files;
    for (const auto &e : std::filesystem::directory_iterator(receipts))
        files.push_back(e.path().filename().string());
    ASSERT_EQ(files, std::vector<std::string>{"receipt-0001.png"});
    EXPECT_EQ(readBarcodes(receipts / files[0]),
              "CODE-128:0000421763\nQR-Code:https://kt.example/r/000042\n");
    bool pulse = false;
    for (const auto &e : emu.transcript()) {
        EXPECT_EQ(e.name.rfind("unknown", 0), std::string::npos) << e.name;
        EXPECT_EQ(e.outcome.rfind("not printed", 0), std::string::npos) << e.name;
        pulse |= e.name == "ESC p 0 25 250 (drawer pulse)";
    }
    EXPECT_TRUE(pulse) << "the drawer pulse is in the transcript";
}

// A client of the kind that enables automatic status back and waits for
// the status message before it prints anything.
TEST(EmulatorReceiptRendering, AClientWaitingForAutomaticStatusBackPrints)
{
    Emulator emu(EmulatorOptions{});
    const std::uint16_t port = emu.listenTcp();
    const int fd = test::connectTcp(port);
    ASSERT_GE(fd, 0);
    const Bytes status = test::ask(fd, hex("1B 40 1D 61 0F"), 4, 5000);
    ASSERT_EQ(status, hex("10 00 00 0F"));
    ASSERT_TRUE(test::sendAll(fd, hex("'PAID' 0A 1D 56 42 00")));
    EXPECT_TRUE(emu.waitForCommand("GS V", 5s));
    EXPECT_GT(emu.paper().height, 30);

    // A cover opened and closed by the tester reaches the client unasked.
    emu.setCondition(Condition::CoverOpen, true);
    EXPECT_EQ(test::readFor(fd, 4, 5000), hex("38 00 00 0F"));
    emu.setCondition(Condition::CoverOpen, false);
    EXPECT_EQ(test::readFor(fd, 4, 5000), hex("10 00 00 0F"));
    ::close(fd);
}

} // namespace
} // namespace kt::emu
