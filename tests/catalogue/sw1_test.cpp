#include "page_expect.h"

namespace kt::catalogue {
using namespace kt::test;
namespace {

constexpr const char *kPaper80x512 = "Paper width & printable width = 80mm, 512dots";
constexpr const char *kPaper80x576 = "Paper width & printable width = 80mm, 576dots";
constexpr const char *kPaper58x424 = "Paper width & printable width = 58mm, 424dots";

// Values: a bit is 1 (its OFF option) when its weight is in the value.
INSTANTIATE_TEST_SUITE_P(
    SoftSwitch1, SwitchDisplay,
    ::testing::ValuesIn(onSwitch(
        1,
        {// Bits 3-6 OFF: the paper field on all three labels.
         DisplayCase{"KT-4000",
                     60,
                     {{2, kUnwritten},
                      {3, kPaper80x512},
                      {4, kPaper80x512},
                      {5, kPaper80x512},
                      {6, "Interface = DEFAULT"}}},
         DisplayCase{"KT-4000", 0, {{3, "Paper width & printable width = 83mm, 640dots"}}},
         DisplayCase{"KT-4000", 16, {{5, "Paper width & printable width = 58mm, 432dots"}}},
         // Bit 3 ON, 4 OFF, 5 ON.
         DisplayCase{
             "KT-7700", 8, {{3, kPaper80x576}, {4, kPaper80x576}, {5, "Print speed = 180mm/sec"}}},
         DisplayCase{"KT-1400", 4, {{3, kPaper58x424}, {4, kPaper58x424}}},
         DisplayCase{
             "KT-1400", 16, {{3, kUnwritten}, {4, kUnwritten}, {5, "Print speed = 200mm/sec"}}},
         // Bit 4 ON, 5 OFF; bit 3 "Reserve" in both states.
         DisplayCase{
             "KT-9100X", 16, {{3, "Reserve"}, {4, "Onboard Interface = Ethernet"}, {5, kUnwritten}}},
         // Bits 4 and 5 ON: no interface caption; only the exact names skip
         // the cut caption of stage 1.
         DisplayCase{"KT-7400", 0, {{4, kUnwritten}, {5, kUnwritten}}},
         DisplayCase{
             "KT-7450",
             0,
             {{3, "Don't cut paper when cover closed"}, {4, "Full cut paper"}, {5, kUnwritten}}},
         DisplayCase{
             "KT-9100XL",
             0,
             {{3, "Don't cut paper when cover closed"}, {4, "Full cut paper"}, {5, kUnwritten}}},
         DisplayCase{"KT-9100XL", 8, {{4, "Onboard Interface = Serial"}}},
         DisplayCase{"KT1401", 1, {{1, "Unknown "}, {2, kUnwritten}}},
         DisplayCase{"TW86_USB", 3, {{1, "USB Class = Virtual COM"}}},
         DisplayCase{"TW8_USB", 0, {{1, "USB Class = Virtual COM "}, {8, "Reserved"}}},
         DisplayCase{"TW86_USB", 128, {{8, "USB_ZERO_PACKET"}}},
         DisplayCase{"MV8", 0, {{8, "Reserved"}, {3, "Printable width = 576 Dots"}}},
         DisplayCase{"MV550", 128, {{8, "Auto Cutter = Enable"}, {5, "Print Speed = 200mm"}}},
         // Exact "KT-9100" comes before its KT-91 family.
         DisplayCase{"KT-9100",
                     0,
                     {{1, "Baud Rate = 38400 "},
                      {3, "Interface = Onboard"},
                      {6, "Printable width = 576 dots"},
                      {7, "Paper width = 58mm"},
                      {8, "Auto cutter = Disable"}}},
         // Bit 1 OFF, bit 2 ON: KT-91/KT-74 and the fallback differ here.
         DisplayCase{"KT-9100", 1, {{1, "Baud Rate = 19200 "}}},
         DisplayCase{"ZN8-PRINTER", 1, {{1, "Baud Rate = 115200"}}},
         DisplayCase{"KT-7400", 3, {{1, "Baud Rate = 115200"}, {7, "Printable width = 576 dots"}}},
         // Unknown names, and near misses of known ones, take the fallbacks.
         DisplayCase{"NO-SUCH",
                     0,
                     {{1, "Baud Rate = 38400 "},
                      {3, "Don't cut paper when cover closed"},
                      {4, "Full cut paper"},
                      {5, "Busy condition = When buffer full"},
                      {6, "Paper Feed before cut paper = Disabled"},
                      {7, "Without Auto Cutter"},
                      {8, "Paper Feed Backward before print = Disabled"}}},
         DisplayCase{"KT-4000 ",
                     1,
                     {{1, "Baud Rate = 115200"}, {3, "Don't cut paper when cover closed"}}}})));

TEST(SoftSwitch1Clicks, BitTwoRewritesTheLabelOfBitOne)
{
    SwitchPage page = shown(1, "MV550", 3);
    ASSERT_EQ(page.bits[0].caption, "USB Class = WIFI");
    click(page, 1, true, "MV550");
    EXPECT_EQ(page.bits[0].caption, "Unknown ");
    EXPECT_FALSE(page.bits[1].written);
    // Either bit of the field marks both.
    EXPECT_EQ(page.bits[1].onBold, true);
    EXPECT_EQ(page.bits[0].offBold, true);
}

TEST(SoftSwitch1Clicks, PaperFieldWithoutCaptionKeepsThePreviousText)
{
    SwitchPage page = shown(1, "KT-7700", 12); // bits 3 and 4 OFF
    click(page, 2, true, "KT-7700");
    EXPECT_EQ(page.bits[2].caption, kPaper80x576);
    EXPECT_EQ(page.bits[3].caption, kPaper80x512);
    click(page, 3, true, "KT-7700"); // both ON: no caption
    EXPECT_EQ(page.bits[2].caption, kPaper80x576);
    EXPECT_EQ(page.bits[3].caption, kPaper80x512);
}

// Write Settings reads the new baud rate from the last six characters.
TEST(SoftSwitch1Captions, BaudRatesArePaddedToEighteenCharacters)
{
    for (const char *model : {"NO-SUCH", "KT-9100", "KT-7400", "ZN-PRINTER"}) {
        for (int value = 0; value < 4; ++value) {
            const std::string caption = shown(1, model, value).bits[0].caption;
            ASSERT_EQ(caption.size(), 18u) << model << ' ' << value;
            const std::string rate = caption.substr(12);
            EXPECT_TRUE(rate == "9600  " || rate == "19200 " || rate == "38400 " || rate == "115200")
                << '"' << rate << '"';
        }
    }
}

} // namespace
} // namespace kt::catalogue
