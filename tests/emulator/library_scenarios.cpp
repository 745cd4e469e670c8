#include "library_scenarios.h"

#include <cstring>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "bmp_writer.h"
#include "emulator_test_util.h"

namespace kt::test {
namespace {

constexpr auto kWait = std::chrono::milliseconds(10000);
// sendx reads what has arrived by the end of its wait; the emulator answers
// within a millisecond, this leaves room for a loaded machine.
constexpr int32_t kSendxWaitMs = 300;

// A 20 x 10 logo whose pattern tells left from right and top from bottom.
constexpr std::uint32_t kLogoWidth = 20, kLogoHeight = 10;
bool logoDark(std::uint32_t x, std::uint32_t y)
{
    return (x * 3 + y * 5) % 7 < 3 || (y == 0 && x < 4);
}

int32_t send(const Bytes &b, const LibraryPort &port, int32_t wait = 0, char *reply = nullptr,
             int32_t size = 0)
{
    return sendx(b.data(), port.text.c_str(), port.baud, 0, static_cast<int32_t>(b.size()), wait,
                 size, reply);
}

} // namespace

void expectSendxQuery(emu::Emulator &emu, const LibraryPort &port)
{
    char reply[32] = {};
    ASSERT_EQ(send(hex("1D 49 43"), port, kSendxWaitMs, reply, sizeof reply), KT_OK);
    const std::string model = emu.profile().model;
    EXPECT_EQ(std::string(reply, model.size() + 2), "_" + model + std::string(1, '\0'));
}

void expectRwktReads(emu::Emulator &emu, const LibraryPort &port)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(rwKT(4, buffer, port.text.c_str(), port.baud, 0), KT_OK);
    const std::string model = emu.profile().model;
    EXPECT_EQ(std::string(buffer, model.size() + 2), "_" + model + std::string(1, '\0'));
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(rwKT(101, buffer, port.text.c_str(), port.baud, 0), KT_OK);
    EXPECT_EQ(buffer[0], 0x12);
    EXPECT_EQ(buffer[1], 'x') << "the status is one byte";
}

// Each step waits until the printer has taken the one before: sendx purges
// a serial port when it opens it, which discards what the printer has not
// read yet, as it would on a real line.
void expectRwktWriteAndReadBack(emu::Emulator &emu, const LibraryPort &port)
{
    ASSERT_EQ(send(hex("1D 67 75 6E 6C 00"), port), KT_OK);
    ASSERT_TRUE(emu.waitForCommand("GS g u n l", kWait));
    char value[] = "12";
    const int32_t written = rwKT(59, value, port.text.c_str(), KT_RWKT_SERVICE_VALUE, 0);
    ASSERT_EQ(written, KT_OK);
    ASSERT_TRUE(emu.waitForCommand("GS g 8 n=8", kWait));
    ASSERT_EQ(send(hex("1D 67 6C 63 6B 00"), port), KT_OK);
    ASSERT_TRUE(emu.waitForCommand("GS g l c k", kWait));
    EXPECT_EQ(emu.parameter(8), "12");
    char buffer[16] = {};
    ASSERT_EQ(rwKT(9, buffer, port.text.c_str(), port.baud, 0), KT_OK);
    EXPECT_EQ(std::string(buffer, 4), std::string("_12\0", 4));
}

void expectLogoOnPaper(emu::Emulator &emu, const LibraryPort &port)
{
    TempDir dir;
    const auto file = test::in(dir, "logo.bmp");
    test::BmpImage bmp;
    bmp.width = kLogoWidth;
    bmp.height = kLogoHeight;
    bmp.bits = 24;
    bmp.pixel
        = [](std::uint32_t x, std::uint32_t y) { return logoDark(x, y) ? 0x000000u : 0xFFFFFFu; };
    const auto data = test::makeBmp(bmp);
    writeFile(file, std::string(data.begin(), data.end()));

    ASSERT_EQ(RegBitmap(nullptr), 0);
    ASSERT_EQ(DefBitmap(file.c_str(), port.text.c_str(), port.baud, 0), 0);
    ASSERT_TRUE(emu.waitForCommand("FS q", kWait)); // before the next open purges the line
    ASSERT_EQ(PrnBitmap(1, 0, port.text.c_str(), port.baud, 0), KT_OK);
    ASSERT_TRUE(emu.waitForCommand("FS p n=1", kWait));
    ASSERT_EQ(emu.state().images.size(), 1u);

    // 3 x 2 units: 24 x 16 dots, the 6 blank rows above the picture.
    const auto paper = emu.paper();
    ASSERT_EQ(paper.height, 16);
    const int blank = 16 - static_cast<int>(kLogoHeight);
    for (int y = 0; y < paper.height; ++y)
        for (int x = 0; x < paper.width; ++x) {
            const bool want = y >= blank && x < static_cast<int>(kLogoWidth)
                && logoDark(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y - blank));
            ASSERT_EQ(paper.dot(x, y), want) << "dot " << x << "," << y;
        }
}

} // namespace kt::test
