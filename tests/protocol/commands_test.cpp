// The exact bytes of every query and write command, and the encoders.
#include "protocol/commands.h"

#include <gtest/gtest.h>

#include "protocol/additional_switches.h"
#include "protocol/switch_write.h"
#include "protocol_rig.h"

namespace kt::protocol {
namespace {

using test::hex;

TEST(QueryTable, EveryQueryHasItsBytesAndTag)
{
    const struct {
        Query query;
        const char *tag;
        const char *bytes;
    } cases[] = {
        {Query::SW1, "getSW1", "1D 67 34 27 00"},
        {Query::SW2, "getSW2", "1D 67 34 28 00"},
        {Query::SW3, "getSW3", "1D 67 34 29 00"},
        {Query::SW4, "getSW4", "1D 67 34 2A 00"},
        {Query::Language1, "getLanguageInfo1", "1D 67 34 24"},
        {Query::Language2, "getLanguageInfo2", "1D 49 45"},
        {Query::Language3, "getLanguageInfo3", "1D 67 34 21"},
        {Query::Language4, "getLanguageInfo4", "1D 67 34 22"},
        {Query::Language5, "getLanguageInfo5", "1D 67 34 30 00"},
        {Query::Language6, "getLanguageInfo6", "1D 67 34 25 00"},
        {Query::Language7, "getLanguageInfo7", "1D 67 34 2B 00"},
        {Query::Printer1, "getPrinterInfo1", "1D 49 43"},
        {Query::Printer2, "getPrinterInfo2", "1D 49 41"},
        {Query::Printer3, "getPrinterInfo3", "1D 67 34 10"},
        {Query::Printer3a, "getPrinterInfo3a", "1D 67 34 1B"},
        {Query::Printer4Cut, "getPrinterInfo4", "1D 67 34 15"},
        {Query::Printer4Failed, "getPrinterInfo4", "1D 67 34 16"},
        {Query::Printer5Serial, "getPrinterInfo5", "1D 49 44"},
        {Query::Printer5Date, "getPrinterInfo5", "1D 67 34 09"},
        {Query::Maker, "getMakerInfo", "1D 49 42"},
    };
    for (const auto &c : cases) {
        const QueryEntry &entry = queryEntry(c.query);
        EXPECT_EQ(entry.query, c.query) << c.tag;
        EXPECT_EQ(entry.tag, c.tag);
        EXPECT_EQ(hex(entry.bytes), c.bytes) << c.tag;
    }
}

TEST(WriteCommands, UnlockAndLock)
{
    EXPECT_EQ(hex(unlockCommand()), "1D 67 75 6E 6C 00");
    EXPECT_EQ(hex(lockCommand()), "1D 67 6C 63 6B 00");
}

TEST(WriteCommands, SwitchBytesAsDigits)
{
    const struct {
        int value;
        const char *digits;
    } cases[] = {
        {0, "30 00 00"}, {5, "35 00 00"}, {37, "33 37 00"}, {200, "32 30 30"}, {255, "32 35 35"},
    };
    for (const auto &c : cases) {
        const auto digits = encodeSwitchByte(c.value);
        EXPECT_EQ(hex(Command(digits.begin(), digits.end())), c.digits) << c.value;
    }
    const auto d = encodeSwitchByte(255);
    EXPECT_EQ(hex(writeCommand(Setting::SW3, d)), "1D 67 38 29 32 35 35 00");
    EXPECT_EQ(hex(writeCommand(Setting::SW1, encodeSwitchByte(0))), "1D 67 38 27 30 00 00 00");
    EXPECT_EQ(hex(writeCommand(Setting::SW4, encodeSwitchByte(37))), "1D 67 38 2A 33 37 00 00");
}

TEST(WriteCommands, LanguageSettingsFromComboTexts)
{
    const struct {
        Setting setting;
        Bytes data;
        const char *bytes;
    } cases[] = {
        {Setting::CodePage, encodeCodePage("0  - 437 Standard"), "1D 67 38 21 30 00 00 00"},
        {Setting::CodePage, encodeCodePage("19 - 858 Multilingual (Latin+Euro)"),
         "1D 67 38 21 31 39 00 00"},
        {Setting::CodePage, encodeCodePage("224- KAZAKHSTAN"), "1D 67 38 21 32 32 34 00"},
        {Setting::InterChars, encodeInterChars("8 - Japan"), "1D 67 38 22 38 00 00"},
        {Setting::InterChars, encodeInterChars("15- Ex-Yugoslavia"), "1D 67 38 22 31 35 00"},
        {Setting::Density, encodeDensity("2 - Dark"), "1D 67 38 30 32 00 00"},
        {Setting::Density, encodeDensity(""), "1D 67 38 30 00 00 00"},
        {Setting::New8x16, encodeNew8x16(" ON"), "1D 67 38 25 4F 4E 00 00"},
        {Setting::New8x16, encodeNew8x16("OFF"), "1D 67 38 25 00 00 00 00"},
        {Setting::New8x16, encodeNew8x16(""), "1D 67 38 25 00 00 00 00"},
        {Setting::ThaiPass, encodeThaiPass("249 - Thai 3 Pass"),
         "1D 67 38 2B 32 34 39 00 00 00 00 00"},
        {Setting::CodePageName, encodeCodePageName("250- LITHUANIA"),
         "1D 67 38 24 4C 49 54 48 55 41 4E 49 41 00 00 00 00 00 00 00 00 00 00 00 00"},
        {Setting::CodePageName, encodeCodePageName("27 - Windows Arabic/Farsi"),
         "1D 67 38 24 57 49 4E 44 4F 57 53 20 41 52 41 42 49 43 2F 46 41 52 53 49 00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hex(writeCommand(c.setting, c.data)), c.bytes);
}

TEST(WriteCommands, ShortTextsGiveZeroPaddingNotOverruns)
{
    EXPECT_EQ(encodeCodePage(""), (Bytes{0, 0, 0}));
    EXPECT_EQ(encodeCodePageName("12"), Bytes(20, 0));
    EXPECT_EQ(encodeThaiPass("2"), (Bytes{'2', 0, 0}));
    // A name longer than its field is cut to 20 bytes.
    EXPECT_EQ(encodeCodePageName("1  - abcdefghijklmnopqrstuvwxyz").size(), 20u);
}

} // namespace
} // namespace kt::protocol
