// The streaming parser: how it cuts commands off the front of a stream,
// including the framing of the service utility's and the library's writes.
#include "core/command_parser.h"

#include <random>

#include <gtest/gtest.h>

#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::hex;

struct Case {
    const char *what;
    std::string bytes;
    Flush flush;
    CommandKind kind;
    std::size_t length;
    int number = 0;
    std::string value = {};
};

std::ostream &operator<<(std::ostream &os, const Case &c) { return os << c.what; }

class EmulatorParseOne : public ::testing::TestWithParam<Case> { };

TEST_P(EmulatorParseOne, CutsTheExpectedCommand)
{
    const Case &c = GetParam();
    const auto in = hex(c.bytes);
    const auto cmd = parseCommand(in, c.flush, ParserLimits{});
    ASSERT_TRUE(cmd.has_value());
    EXPECT_EQ(cmd->kind, c.kind);
    EXPECT_EQ(cmd->length, c.length);
    EXPECT_EQ(cmd->number, c.number);
    EXPECT_EQ(cmd->value, c.value);
}

const std::string kLithuania = "1D 67 38 24 'LITHUANIA' 00 00 00 00 00 00 00 00 00 00 00 00";

INSTANTIATE_TEST_SUITE_P(
    Commands, EmulatorParseOne,
    ::testing::Values(
        Case{"read with its NUL", "1D 67 34 27 00", Flush::None, CommandKind::ReadParameter, 5, 39},
        Case{"read without NUL is answered at once", "1D 67 34 24", Flush::None,
             CommandKind::ReadParameter, 4, 36},
        Case{"read followed by a read", "1D 67 34 21 1D 67 34 22", Flush::None,
             CommandKind::ReadParameter, 4, 33},
        Case{"switch write takes its NUL padding", "1D 67 38 27 30 00 00 00", Flush::None,
             CommandKind::WriteParameter, 8, 39, "0"},
        Case{"three-digit switch write", "1D 67 38 29 32 35 35 00", Flush::None,
             CommandKind::WriteParameter, 8, 41, "255"},
        Case{"padding not yet arrived", "1D 67 38 27 33 37 00", Flush::None,
             CommandKind::WriteParameter, 7, 39, "37"},
        Case{"padding stops at the next command", "1D 67 38 22 38 00 00 1D 67 6C 63 6B 00",
             Flush::None, CommandKind::WriteParameter, 7, 34, "8"},
        Case{"code page name of 25 bytes", kLithuania, Flush::None, CommandKind::WriteParameter, 25,
             36, "LITHUANIA"},
        Case{"Thai pass of 12 bytes", "1D 67 38 2B 32 34 39 00 00 00 00 00", Flush::None,
             CommandKind::WriteParameter, 12, 43, "249"},
        Case{"new 8x16 font off", "1D 67 38 25 00 00 00 00", Flush::None,
             CommandKind::WriteParameter, 8, 37, ""},
        Case{"unterminated write ends at a pause", "1D 67 38 08 31 32", Flush::DataGap,
             CommandKind::WriteParameter, 6, 8, "12"},
        Case{"unterminated write ends at a control byte", "1D 67 38 08 31 32 1D 67 34 08",
             Flush::None, CommandKind::WriteParameter, 6, 8, "12"},
        Case{"write without data at a pause", "1D 67 38 01", Flush::DataGap,
             CommandKind::WriteParameter, 4, 1, ""},
        Case{"over-long value is rejected", "1D 67 38 05 '" + std::string(65, 'A') + "' 00",
             Flush::None, CommandKind::Rejected, 70, 5},
        Case{"unlock with NUL", "1D 67 75 6E 6C 00", Flush::None, CommandKind::Unlock, 6},
        Case{"unlock, next command right after", "1D 67 75 6E 6C 1D", Flush::None,
             CommandKind::Unlock, 5},
        Case{"lock", "1D 67 6C 63 6B 00", Flush::None, CommandKind::Lock, 6},
        Case{"misspelt unlock", "1D 67 75 6E 78 00", Flush::None, CommandKind::Unknown, 3},
        Case{"identity item", "1D 49 43", Flush::None, CommandKind::ReadIdentity, 3, 'C'},
        Case{"real-time status", "10 04 01", Flush::None, CommandKind::RealTimeStatus, 3, 1},
        Case{"status of no kind", "10 04 41", Flush::None, CommandKind::Unknown, 3},
        Case{"print mode", "1B 21 01 'F'", Flush::None, CommandKind::SelectPrintMode, 3, 1},
        Case{"unknown ESC skips two bytes", "1B 7A 41", Flush::None, CommandKind::Unknown, 2},
        Case{"ESC before a control byte skips one", "1B 1D 49 43", Flush::None,
             CommandKind::Unknown, 1},
        Case{"GS g before a command skips two", "1D 67 1D 49 43", Flush::None, CommandKind::Unknown,
             2},
        Case{"self test", "1D 28 41 02 00 00 02", Flush::None, CommandKind::SelfTest, 7, 0},
        Case{"self test with wrong length", "1D 28 41 03 00 00 02 05", Flush::None,
             CommandKind::Rejected, 8},
        Case{"unknown GS ( is skipped by its length", "1D 28 45 05 00 01", Flush::None,
             CommandKind::Unknown, 10},
        Case{"print NV image", "1C 70 01 30", Flush::None, CommandKind::PrintNvImage, 4, 1},
        Case{"print NV image in a bad mode", "1C 70 01 37", Flush::None, CommandKind::Rejected, 4},
        Case{"define one image", "1C 71 01 01 00 01 00 FF 00 FF 00 FF 00 FF 00", Flush::None,
             CommandKind::DefineNvImages, 15, 1},
        Case{"define an image of width 0", "1C 71 01 00 00 01 00", Flush::None,
             CommandKind::Rejected, 7, 1},
        Case{"text up to a control byte", "'AB' 0D 0A", Flush::None, CommandKind::Text, 2, 0, "AB"},
        Case{"upper half is text", "80 FF 0A", Flush::None, CommandKind::Text, 2, 0, "\x80\xFF"},
        Case{"NUL run", "00 00 00 'A'", Flush::None, CommandKind::Filler, 3},
        Case{"stray control byte", "07 'A'", Flush::None, CommandKind::Unknown, 1},
        Case{"partial read at the end", "1D 67 34", Flush::EndOfStream, CommandKind::Truncated, 3},
        Case{"partial image at the end", "1C 71 01 01 00 01 00 FF", Flush::EndOfStream,
             CommandKind::Truncated, 8, 0}));

struct Partial {
    const char *bytes;
    std::size_t wanted; // 0: one more byte than there is
};

// Commands that cannot be told before more bytes come, and how many bytes
// they take at least: a long command is not cut again before those are there.
TEST(EmulatorParser, WaitsForTheRestOfACommand)
{
    for (const auto &p : std::vector<Partial>{{"1D", 0},
                                              {"1D 67", 0},
                                              {"1D 67 34", 0},
                                              {"1D 67 38", 0},
                                              {"1D 67 38 08 31", 0},
                                              {"1D 67 75 6E", 0},
                                              {"10 04", 0},
                                              {"1B 21", 0},
                                              {"1C 70 01", 0},
                                              {"1C 71 02", 7},
                                              {"1C 71 02 01 00", 7},
                                              {"1C 71 02 01 00 01 00 FF", 15},
                                              {"1C 71 02 01 00 01 00 01 02 03 04 05 06 07 08", 19},
                                              {"1D 28 41 02 00 00", 7}}) {
        SCOPED_TRACE(p.bytes);
        const auto in = hex(p.bytes);
        const ParseStep step = parseNext(in, Flush::None, ParserLimits{});
        EXPECT_FALSE(step.command.has_value());
        EXPECT_EQ(step.wanted, p.wanted ? p.wanted : in.size() + 1);
    }
    // A pause ends only a write value; other partial commands keep waiting.
    EXPECT_FALSE(parseCommand(hex("1D 67 34"), Flush::DataGap, ParserLimits{}).has_value());
}

TEST(EmulatorParser, ImagesLargerThanTheMemoryAreRejectedBeforeTheyArrive)
{
    ParserLimits limits;
    limits.nvCapacity = 1000;
    // Two images; the first alone (8 x 16 x 8 = 1024 bytes) is too big.
    const auto cmd = parseCommand(hex("1C 71 02 08 00 10 00"), Flush::None, limits);
    ASSERT_TRUE(cmd.has_value());
    EXPECT_EQ(cmd->kind, CommandKind::Rejected);
    EXPECT_EQ(cmd->length, 7u + 1024u);
    EXPECT_EQ(cmd->imagesLeft, 1);
}

TEST(EmulatorParser, DefinedImageKeepsItsColumnData)
{
    const auto cmd
        = parseCommand(hex("1C 71 01 01 00 02 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10"),
                       Flush::None, ParserLimits{});
    ASSERT_TRUE(cmd && cmd->kind == CommandKind::DefineNvImages);
    ASSERT_EQ(cmd->images.size(), 1u);
    EXPECT_EQ(cmd->images[0].nx, 1);
    EXPECT_EQ(cmd->images[0].ny, 2);
    EXPECT_EQ(cmd->images[0].data.front(), 0x01);
    EXPECT_EQ(cmd->images[0].data.back(), 0x10);
}

// Whatever the bytes, parsing at the end of the stream consumes them all
// in bounded steps, and never claims bytes beyond a known length.
TEST(EmulatorParser, AnyBytesAreConsumedInSteps)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> len(1, 64), byte(0, 255), small(0, 0x30);
    for (int round = 0; round < 2000; ++round) {
        test::Bytes in(static_cast<std::size_t>(len(rng)));
        for (auto &b : in)
            b = static_cast<std::uint8_t>(round % 2 ? byte(rng) : small(rng));
        std::size_t at = 0, steps = 0;
        while (at < in.size()) {
            const auto cmd = parseCommand({in.data() + at, in.size() - at}, Flush::EndOfStream,
                                          ParserLimits{});
            ASSERT_TRUE(cmd.has_value());
            ASSERT_GE(cmd->length, 1u);
            at += std::min(cmd->length, in.size() - at);
            ASSERT_LE(++steps, in.size());
        }
    }
}

} // namespace
} // namespace kt::emu
