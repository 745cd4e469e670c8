// The print commands of receipt software, byte by byte: how the parser
// frames each group, what the transcript calls them, and what the printer
// answers (automatic status back, transmit status).
#include <gtest/gtest.h>

#include "core/barcode_commands.h"
#include "core/code_pages.h"
#include "core/command_parser.h"
#include "core/emulator.h"
#include "core/print_style.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;

struct Frame {
    const char *what;
    std::string bytes;
    CommandKind kind;
    std::size_t length;
    int number = 0;
};

void PrintTo(const Frame &f, std::ostream *os) { *os << f.what; }

class PrintCommandFraming : public ::testing::TestWithParam<Frame> { };

TEST_P(PrintCommandFraming, TakesItsBytesAndNoMore)
{
    const Frame &f = GetParam();
    const auto c = parseCommand(hex(f.bytes), Flush::None, ParserLimits{});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->kind, f.kind);
    EXPECT_EQ(c->length, f.length);
    EXPECT_EQ(c->number, f.number);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, PrintCommandFraming,
    ::testing::Values(
        // Styles and layout: one byte, or nL nH as one number.
        Frame{"justification", "1B 61 01 'A'", CommandKind::Style, 3, 1},
        Frame{"left margin nL nH", "1D 4C 2C 01 'A'", CommandKind::Style, 4, 300},
        Frame{"default line spacing has no parameter", "1B 32 'A'", CommandKind::Style, 2},
        Frame{"character size", "1D 21 11", CommandKind::Style, 3, 0x11},
        Frame{"character spacing", "1B 20 02", CommandKind::Style, 3, 2},
        Frame{"tab positions end at NUL", "1B 44 08 10 00 'A'", CommandKind::TabStops, 5},
        Frame{"tab positions end where they stop rising", "1B 44 08 04 'A'", CommandKind::TabStops,
              3},
        // Known commands without an effect are framed by their length.
        Frame{"peripheral device", "1B 3D 01 'A'", CommandKind::Ignored, 3, 1},
        Frame{"panel buttons", "1B 63 35 00 'A'", CommandKind::Ignored, 4, 0x35},
        Frame{"page mode area", "1B 57 00 00 00 00 40 02 00 01 'A'", CommandKind::Ignored, 10},
        Frame{"Kanji mode", "1C 21 00 'A'", CommandKind::Ignored, 3},
        Frame{"real-time request", "10 05 01 'A'", CommandKind::Ignored, 3, 1},
        Frame{"buffer clear", "10 14 08 01 03 14 01 06 02 08 'A'", CommandKind::Ignored, 10},
        Frame{"graphics in the long form", "1D 38 4C 04 00 00 00 30 70 30 01 'A'",
              CommandKind::Unknown, 11},
        Frame{"graphics in the short form", "1D 28 4C 02 00 30 45 'A'", CommandKind::Unknown, 7},
        // Barcodes: a NUL-ended form and a counted form.
        Frame{"EAN13 to its NUL", "1D 6B 02 '4012345678901' 00 0A", CommandKind::Barcode, 17, 2},
        Frame{"CODE128 counted", "1D 6B 49 0B '{B123456789' 0A", CommandKind::Barcode, 15, 73},
        Frame{"barcode without NUL stops at the control byte", "1D 6B 04 'AB' 0A 'C'",
              CommandKind::Rejected, 5},
        Frame{"barcode system of no kind", "1D 6B 50 'A'", CommandKind::Unknown, 3},
        Frame{"QR module size", "1D 28 6B 03 00 31 43 08", CommandKind::Symbol, 8, 49},
        Frame{"2D function without fn", "1D 28 6B 01 00 31 'A'", CommandKind::Rejected, 6},
        // Images.
        Frame{"raster 1 x 2 bytes", "1D 76 30 00 01 00 02 00 FF 81 'A'", CommandKind::RasterImage,
              10},
        Frame{"raster of no size", "1D 76 30 00 00 00 01 00 'A'", CommandKind::Rejected, 8},
        Frame{"bit image 8-dot", "1B 2A 00 02 00 AA BB 'A'", CommandKind::BitImage, 7},
        Frame{"bit image 24-dot", "1B 2A 21 01 00 AA BB CC 'A'", CommandKind::BitImage, 8, 33},
        Frame{"bit image of no mode", "1B 2A 05 01 00", CommandKind::Unknown, 3},
        // Cuts, the drawer, status.
        Frame{"feed and partial cut", "1D 56 42 03 'A'", CommandKind::Cut, 4},
        Frame{"feed n and cut", "1D 56 61 05 'A'", CommandKind::Cut, 4},
        Frame{"drawer pulse", "1B 70 00 19 FA 'A'", CommandKind::DrawerPulse, 5},
        Frame{"real-time drawer pulse", "10 14 01 00 01 'A'", CommandKind::DrawerPulse, 5},
        Frame{"automatic status back", "1D 61 0F", CommandKind::AutoStatusBack, 3, 15},
        Frame{"transmit status", "1D 72 01", CommandKind::TransmitStatus, 3, 1}),
    [](const auto &param) {
        std::string name;
        for (char c : std::string(param.param.what))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// Long commands are cut once, when all of them is there.
TEST(EmulatorPrintCommands, LongCommandsWaitForAllTheirBytes)
{
    for (const auto &[bytes, wanted] :
         std::vector<std::pair<const char *, std::size_t>>{{"1D 76 30 00 02 00 03 00", 14},
                                                           {"1D 28 6B 05 00 31 50 30", 10},
                                                           {"1B 2A 21 02 00", 11},
                                                           {"1D 6B 49 05 '{B'", 9},
                                                           {"1B 44 08", 4},
                                                           {"1D 6B 04 'AB'", 6}}) {
        SCOPED_TRACE(bytes);
        const auto in = hex(bytes);
        const ParseStep step = parseNext(in, Flush::None, ParserLimits{});
        EXPECT_FALSE(step.command.has_value());
        EXPECT_EQ(step.wanted, wanted);
    }
}

std::string lastName(Emulator &emu) { return emu.transcript().back().name; }

TEST(EmulatorPrintCommands, TheTranscriptNamesEachCommandWithItsParameters)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"1B 61 01", "ESC a 1 (centre)"},
        {"1B 45 01", "ESC E 1 (emphasis on)"},
        {"1D 21 11", "GS ! 17 (width 2 height 2)"},
        {"1D 4C 14 00", "GS L 20 (left margin 20 dots)"},
        {"1B 52 02", "ESC R 2 (international set Germany)"},
        {"1B 44 08 10 00", "ESC D 8 16 NUL (set tab positions)"},
        {"1D 6B 49 0B '{B123456789'", "GS k 73 CODE128 {B123456789"},
        {"1D 28 6B 08 00 31 50 30 'hello'",
         "GS ( k 49 80 (QR code: store data: 5 bytes \"hello\")"},
        {"1D 28 6B 03 00 31 45 31", "GS ( k 49 69 49 (QR code: error correction level)"},
        {"1B 70 00 19 FA", "ESC p 0 25 250 (drawer pulse)"},
        {"1D 56 42 03", "GS V 66 3 (feed and partial cut)"},
        {"1D 76 30 00 01 00 01 00 FF", "GS v 0 0 (raster image 8 x 1 dots)"},
        {"1B 3D 01", "ESC = 1 (select peripheral device), no effect"},
        {"1D 61 00", "GS a 0 (automatic status back off)"},
    };
    Emulator emu(EmulatorOptions{});
    auto c = emu.connect();
    for (const auto &[bytes, name] : cases) {
        c->send(hex(bytes));
        EXPECT_EQ(lastName(emu), name) << bytes;
    }
}

// An unknown command is skipped as far as it can be told apart: what
// follows it still prints, and the warning is given once per kind.
TEST(EmulatorPrintCommands, UnknownCommandsAreToldOnceAndSwallowNoText)
{
    Emulator emu(EmulatorOptions{});
    auto c = emu.connect();
    c->send(hex("1B 7A 'AB' 1B 7A 'CD' 1D 28 45 02 00 01 02 'EF' 0A"));
    std::vector<std::string> texts, warnings;
    for (const auto &e : emu.transcript()) {
        if (e.name.rfind("text", 0) == 0)
            texts.push_back(e.name);
        if (e.name.rfind("unknown", 0) == 0)
            warnings.push_back(e.outcome);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"text \"AB\"", "text \"CD\"", "text \"EF\""}));
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0], "");
    EXPECT_EQ(warnings[1], "") << "the same kind again is not told again";
    EXPECT_NE(warnings[2], "") << "another kind is";
}

struct StatusCase {
    std::vector<Condition> conditions;
    Bytes message; // GS a
    Bytes paper;   // GS r 1
};

TEST(EmulatorPrintCommands, StatusMessagesCarryTheConditions)
{
    const std::vector<StatusCase> cases{
        {{}, hex("10 00 00 0F"), hex("00")},
        {{Condition::CoverOpen}, hex("38 00 00 0F"), hex("00")},
        {{Condition::Offline}, hex("18 00 00 0F"), hex("00")},
        {{Condition::Error}, hex("18 40 00 0F"), hex("00")},
        {{Condition::PaperNearEnd}, hex("10 00 03 0F"), hex("03")},
        {{Condition::PaperEnd}, hex("18 00 0C 0F"), hex("0C")},
    };
    for (const auto &sc : cases) {
        EmulatorOptions o;
        for (auto cond : sc.conditions)
            o.conditions.set(cond, true);
        Emulator emu(o);
        auto c = emu.connect();
        const Bytes message = c->send(hex("1D 61 0F"));
        EXPECT_EQ(message, sc.message) << describeConditions(o.conditions);
        EXPECT_EQ(message[0] & 0x93, 0x10) << "first byte 0xx1xx00";
        EXPECT_EQ(c->send(hex("1D 72 01")), sc.paper);
        EXPECT_EQ(c->send(hex("1D 72 32")), hex("00")) << "drawer";
        EXPECT_EQ(c->send(hex("1D 72 07")), Bytes{}) << "no such status";
    }
}

TEST(EmulatorPrintCommands, AutomaticStatusBackFollowsChangesTheClientAskedFor)
{
    Emulator emu(EmulatorOptions{});
    auto watcher = emu.connect();
    auto paperOnly = emu.connect();
    auto silent = emu.connect();
    EXPECT_EQ(watcher->send(hex("1D 61 0F")).size(), 4u);
    EXPECT_EQ(paperOnly->send(hex("1D 61 08")).size(), 4u);

    emu.setCondition(Condition::CoverOpen, true);
    EXPECT_EQ(watcher->statusMessages(), hex("38 00 00 0F"));
    EXPECT_EQ(paperOnly->statusMessages(), Bytes{}) << "the cover is not the paper";
    EXPECT_EQ(silent->statusMessages(), Bytes{});

    emu.setCondition(Condition::CoverOpen, false);
    emu.setCondition(Condition::PaperNearEnd, true);
    EXPECT_EQ(watcher->statusMessages(), hex("10 00 00 0F 10 00 03 0F")) << "each change";
    EXPECT_EQ(paperOnly->statusMessages(), hex("10 00 03 0F"));

    watcher->send(hex("1D 61 00"));
    emu.setCondition(Condition::PaperNearEnd, false);
    EXPECT_EQ(watcher->statusMessages(), Bytes{}) << "switched off";
}

TEST(EmulatorPrintCommands, OutOfRangeSettingsAreKept)
{
    struct Case {
        Setting setting;
        int good, bad;
    };
    for (const auto &k :
         {Case{Setting::Justification, 2, 3}, Case{Setting::CharacterSize, 0x77, 0x80},
          Case{Setting::BarcodeWidth, 6, 7}, Case{Setting::Underline, '2', '3'},
          Case{Setting::CodePage, 17, 99}, Case{Setting::International, 12, 40}}) {
        PrintStyle style;
        EXPECT_EQ(applySetting(style, k.setting, k.good), "");
        const PrintStyle before = style;
        EXPECT_NE(applySetting(style, k.setting, k.bad), "") << static_cast<int>(k.setting);
        EXPECT_EQ(style.justify, before.justify);
        EXPECT_EQ(style.widthScale, before.widthScale);
        EXPECT_EQ(style.barcodeWidth, before.barcodeWidth);
        EXPECT_EQ(style.underline, before.underline);
        EXPECT_EQ(style.codePage, before.codePage);
        EXPECT_EQ(style.international, before.international);
    }
}

TEST(EmulatorPrintCommands, Code128DataLosesItsCodeSetEscapes)
{
    const auto *code128 = findBarcodeSystem(73);
    ASSERT_NE(code128, nullptr);
    const std::vector<std::pair<std::string, std::string>> good{
        {"{B123456789", "123456789"},
        {std::string("{C") + '\x0C' + '\x22' + '\x38', "123456"},
        {std::string("{B12{C") + '\x05', "1205"},
        {"{Ba{{b", "a{b"},
        {"{A{1AB", "AB"},
    };
    for (const auto &[in, out] : good) {
        const auto data = barcodeData(*code128, in);
        ASSERT_TRUE(data) << in << ": " << data.error();
        EXPECT_EQ(*data, out);
    }
    for (const std::string &bad :
         std::vector<std::string>{"123", "{B", std::string("{C") + '\x64', "{B12{"})
        EXPECT_FALSE(barcodeData(*code128, bad)) << bad;
    EXPECT_FALSE(barcodeData(*findBarcodeSystem(2), "40123A")) << "EAN13 takes digits";
}

TEST(EmulatorPrintCommands, InternationalSetsReplaceTwelveAsciiCharacters)
{
    for (int n = 0; n <= 12; ++n) {
        const auto *set = findInternationalSet(n);
        ASSERT_NE(set, nullptr) << n;
        EXPECT_EQ(set->characters.size(), 12u) << set->name;
    }
    EXPECT_EQ(printedCharacter(0, 2, '['), U'\u00C4');
    EXPECT_EQ(printedCharacter(0, 3, '#'), U'\u00A3');
    EXPECT_EQ(printedCharacter(0, 8, '\\'), U'\u00A5');
    EXPECT_EQ(printedCharacter(0, 2, 'A'), U'A') << "letters stay";
    EXPECT_EQ(printedCharacter(17, 2, 0x80), U'\u0410') << "the upper half is the code page's";
}

} // namespace
} // namespace kt::emu
