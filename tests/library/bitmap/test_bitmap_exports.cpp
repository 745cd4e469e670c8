// RegBitmap, DefBitmap and PrnBitmap as a caller sees them, with the bytes
// that reach a printer on the loopback address.
#include <gtest/gtest.h>

#include "KT4000.h"
#include "bitmap_define_command.h"
#include "bitmap_registry.h"
#include "bmp_writer.h"
#include "log_capture.h"
#include "settings.h"
#include "tcp_peer.h"
#include "temp_dir.h"

namespace kt::bitmap {
namespace {

using Bytes = std::vector<std::uint8_t>;
using kt::test::TcpPeer;
using namespace std::chrono_literals;

constexpr const char *kLoopback = "127.0.0.1";

// What the peer has received once n bytes are there (bounded wait).
Bytes receivedBy(const TcpPeer &peer, std::size_t n)
{
    peer.waitForBytes(n, 5s);
    return peer.received();
}

// TCP port 0 cannot be connected to: sendx fails at once with KT_ERR_OPEN.
constexpr int kNoPort = 0;

// A name of exactly `length` characters for `file`, padded with slashes.
std::string nameOfLength(const test::TempDir &dir, const std::string &file, std::size_t length)
{
    const std::size_t fixed = dir.path().size() + file.size();
    return dir.path() + std::string(length - fixed, '/') + file;
}

class BitmapExports : public ::testing::Test {
protected:
    void SetUp() override { RegBitmap(""); }
    void TearDown() override
    {
        RegBitmap("");
        settings::setColourThreshold(143);
    }
    const std::vector<std::string> &registered() { return registry::names(); }

    test::TempDir dir;
    std::string ten = dir.file("ten.bmp", test::blackBmp(10, 10, 1));
};

TEST_F(BitmapExports, RegBitmapCountsAndEmpties)
{
    EXPECT_EQ(RegBitmap("a.bmp"), 1);
    EXPECT_EQ(RegBitmap("b.bmp"), 2);
    EXPECT_EQ(RegBitmap(""), 0);
    EXPECT_TRUE(registered().empty());
    EXPECT_EQ(RegBitmap("a.bmp"), 1);
    EXPECT_EQ(RegBitmap(nullptr), 0);
    EXPECT_EQ(DefBitmap(nullptr, kLoopback, kNoPort, 0), 7);
}

TEST_F(BitmapExports, RegBitmapRefusesAFullListAndLongNames)
{
    for (int i = 1; i <= 255; ++i)
        ASSERT_EQ(RegBitmap(("f" + std::to_string(i)).c_str()), i);
    EXPECT_EQ(RegBitmap("one.too.many"), 257);
    EXPECT_EQ(registered().size(), 255u);
    RegBitmap("");
    EXPECT_EQ(RegBitmap(std::string(511, 'n').c_str()), 1);
    EXPECT_EQ(RegBitmap(std::string(512, 'n').c_str()), 258);
    EXPECT_EQ(RegBitmap(std::string(100000, 'n').c_str()), 258);
    EXPECT_EQ(registered().size(), 1u);
}

TEST_F(BitmapExports, DefBitmapFailuresKeepTheList)
{
    Bytes twoBits = test::blackBmp(8, 8, 1);
    test::put16(twoBits, test::kBitsAt, 2);
    const std::string bad = dir.file("2bpp.bmp", twoBits);
    const std::string missing = dir.path() + "/missing.bmp";
    struct Case {
        const char *name;
        const char *file, *port;
        std::int32_t hdv, expected;
        std::vector<std::string> listAfter;
    };
    const std::vector<Case> cases{
        {"nothing to define", "", kLoopback, 0, 7, {}},
        {"no port text and no handle", ten.c_str(), nullptr, 0, 5, {}},
        {"empty port text and no handle", ten.c_str(), "", 0, 5, {}},
        {"missing file", missing.c_str(), kLoopback, 0, 2, {missing}},
        {"unsupported depth", bad.c_str(), kLoopback, 0, 6, {bad}},
        {"send failed", ten.c_str(), kLoopback, 0, 4, {ten}},
    };
    for (const Case &c : cases) {
        RegBitmap("");
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(DefBitmap(c.file, c.port, kNoPort, c.hdv), c.expected) << c.name;
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(registered(), c.listAfter) << c.name;
    }
}

TEST_F(BitmapExports, DefBitmapSendsTheWholeCommandAndEmptiesTheList)
{
    const std::string wide
        = dir.file("wide.bmp", test::makeBmp({300, 30, 24, {}, [](auto x, auto y) {
                                                  return (x + y) % 3 ? 0xFFFFFFu : 0u;
                                              }}));
    ASSERT_EQ(RegBitmap(wide.c_str()), 1);
    const DefineCommand expected = buildDefineCommand(std::vector<std::string>{wide, ten}, 143);
    ASSERT_EQ(expected.result, 0);
    ASSERT_GT(expected.bytes.size(), 1024u); // more than two 512-byte chunks
    TcpPeer printer;
    EXPECT_EQ(DefBitmap(ten.c_str(), kLoopback, printer.port(), 0), 0);
    EXPECT_EQ(receivedBy(printer, expected.bytes.size()), expected.bytes);
    EXPECT_TRUE(registered().empty());
}

TEST_F(BitmapExports, DefBitmapTakesNamesUpToTheRegistrationLimit)
{
    const std::string longest = nameOfLength(dir, "/ten.bmp", 511);
    {
        TcpPeer printer;
        EXPECT_EQ(DefBitmap(longest.c_str(), kLoopback, printer.port(), 0), 0);
        EXPECT_EQ(receivedBy(printer, 39).size(), 3u + 36);
    }
    // A name that cannot join the list fails the call instead of being left
    // out of a command reported as defined; nothing is sent.
    EXPECT_EQ(DefBitmap(nameOfLength(dir, "/ten.bmp", 512).c_str(), kLoopback, kNoPort, 0), 258);
    EXPECT_TRUE(registered().empty());
    for (int i = 0; i < 255; ++i)
        RegBitmap(ten.c_str());
    EXPECT_EQ(DefBitmap(ten.c_str(), kLoopback, kNoPort, 0), 257);
    EXPECT_EQ(registered().size(), 255u);
}

TEST_F(BitmapExports, DefBitmapUsesTheColourThreshold)
{
    const std::string grey
        = dir.file("grey.bmp", test::makeBmp({8, 8, 24, {}, [](auto, auto) { return 0x808080u; }}));
    for (const auto &[threshold, dots] : {std::pair<int, int>{0x81, 0xFF}, {0x80, 0x00}}) {
        settings::setColourThreshold(static_cast<std::uint8_t>(threshold));
        TcpPeer printer;
        ASSERT_EQ(DefBitmap(grey.c_str(), kLoopback, printer.port(), 0), 0);
        const Bytes sent = receivedBy(printer, 15);
        ASSERT_EQ(sent.size(), 3u + 12);
        EXPECT_EQ(sent.back(), dots) << threshold;
    }
}

TEST_F(BitmapExports, DefBitmapLogsItsSteps)
{
    std::string log;
    {
        kt::test::LogCapture capture;
        TcpPeer printer;
        EXPECT_EQ(DefBitmap(ten.c_str(), kLoopback, printer.port(), 0), 0);
        receivedBy(printer, 39);
        log = capture.text();
    }
    const std::vector<std::string> lines{
        " DefBitmap( ",
        ", fc=0, tm=",
        " fnp=" + ten + " \n",
        " port=127.0.0.1 \n",
        " fn[0]: " + ten + " \n\n",
        " bmx=2 bmy=2 bx=2 sk=2 bsz=36 \n",
        " len=39 \n",
        " k=24, bsz=36 \n 2  0  2  0  ff  c0  ff  c0 ",
        " bmx=16, bmy=16, bsz=32 \n",
        " n=32, cnt=256 \n",
        "\n in sendx: port=127.0.0.1",
    };
    std::size_t at = 0;
    for (const std::string &line : lines) {
        const std::size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing in order: " << line << "\nlog:\n" << log;
        at = found + line.size();
    }
    EXPECT_EQ(log.find(" xx["), std::string::npos);
}

TEST_F(BitmapExports, PrnBitmapSendsThePrintCommand)
{
    struct Case {
        std::int32_t number, mode;
        Bytes expected;
    };
    for (const Case &c :
         {Case{1, 7, {0x1C, 0x70, 0x01, 0x30}}, Case{2, 1, {0x1C, 0x70, 0x02, 0x31}},
          Case{3, 2, {0x1C, 0x70, 0x03, 0x32}}, Case{255, 3, {0x1C, 0x70, 0xFF, 0x33}},
          Case{4, -1, {0x1C, 0x70, 0x04, 0x30}}}) {
        TcpPeer printer;
        EXPECT_EQ(PrnBitmap(c.number, c.mode, kLoopback, printer.port(), 0), 0);
        EXPECT_EQ(receivedBy(printer, 4), c.expected) << c.number;
    }
    for (const std::int32_t number : {0, 256, -1, INT32_MIN})
        EXPECT_EQ(PrnBitmap(number, 0, kLoopback, kNoPort, 0), 3) << number;
    EXPECT_EQ(PrnBitmap(1, 0, kLoopback, kNoPort, 0), KT_ERR_OPEN);
}

} // namespace
} // namespace kt::bitmap
