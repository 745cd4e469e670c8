#include "page_expect.h"

namespace kt::catalogue {
using namespace kt::test;
namespace {

INSTANTIATE_TEST_SUITE_P(
    SoftSwitch2, SwitchDisplay,
    ::testing::ValuesIn(onSwitch(
        2,
        {// The print density field of bits 1-2 on the label of bit 1.
         DisplayCase{"KT-1700", 1, {{1, "Unknown"}, {2, kUnwritten}}},
         DisplayCase{"KT-1700", 3, {{1, "Print Density = NORMAL"}}},
         DisplayCase{"KT-1700", 2, {{1, "Print Density =HIGH QUALITY"}}},
         DisplayCase{"KT-1700",
                     0,
                     {{1, "Print Density = LIGHT"},
                      {3, "Cut Paper When cover closed"},
                      {4, "Full cut paper"},
                      {5, "Raster bitmap print mode = Line printing"}}},
         DisplayCase{"KT-4000",
                     0,
                     {{1, "Paper Feed Back = Enabled"},
                      {2, "Cut Paper When cover closed"},
                      {3, "Full Cut Paper = Disabled"},
                      {4, "Paper Feed before cut paper = Disabled"},
                      {5, "Busy condition = When buffer full"},
                      {6, "<CR> Valid"},
                      {7, "Parity check = EVEN"},
                      {8, "Handshaking = XON/XOFF"}}},
         // Rows 1 and 2 of bit 1 give the same texts in opposite states.
         DisplayCase{"KT-4000", 1, {{1, "Paper Feed Back = Disabled"}}},
         DisplayCase{"KT-1400", 1, {{1, "Paper Feed Back = Enabled"}}},
         DisplayCase{
             "KT-7400",
             0,
             {{1, "Paper Feed Back = Enabled"}, {3, "Raster bitmap print mode = Line printing"}}},
         DisplayCase{"ZN-PRINTER",
                     0,
                     {{1,
                       "Hardware Switch1 = Invalid\r\n"
                       "(Software switch instead of hardware switch)"},
                      {2, "Unknown"},
                      {3, "Unknown"},
                      {4, "Unknown"}}},
         DisplayCase{"ZN-PRINTER", 1, {{1, "Hardware Switch1 = Valid"}}},
         DisplayCase{"ZN8-PRINTER-II",
                     0,
                     {{2, "58mm"}, {3, "576dots"}, {4, "Print Density = HIGH QUALITY"}}},
         // "KT-9100" has no caption for bit 2; "KT-9100X" has one.
         DisplayCase{"KT-9100", 0, {{2, kUnwritten}, {3, "Full Cut Paper = Enabled"}}},
         DisplayCase{
             "KT-9100X", 0, {{2, "Cut Paper When cover closed"}, {3, "Full Cut Paper = Enabled"}}},
         // "TW86_USB": bits 6-7 are the printing speed on the label of bit 7.
         DisplayCase{"TW86_USB",
                     0,
                     {{1, "Reserved"},
                      {2, "58mm"},
                      {4, "Paper Feed Back = Enabled"},
                      {6, kUnwritten},
                      {7, "Printing Speed = 250mm"},
                      {8, "<CR> Valid"}}},
         DisplayCase{"TW86_USB", 32, {{7, "Printing Speed = 180mm"}}},
         DisplayCase{"NO-SUCH",
                     0,
                     {{1, kUnwritten},
                      {2, kUnwritten},
                      {3, kUnwritten},
                      {4, kUnwritten},
                      {5, "Raster bitmap print mode = Line printing"},
                      {6, "Parity check = EVEN"},
                      {7, "Handshaking = XON/XOFF"},
                      {8, "<CR> Valid"}}}})));

// Family A (and "TW86_USB" at bits 6 and 7) leave the serial-setting bits
// unmarked.
TEST(SoftSwitch2Bold, SerialSettingBitsAreMarkedOnlyOutsideTheExceptions)
{
    struct Case {
        const char *model;
        bool marked6, marked7, marked8;
    };
    const Case cases[] = {
        {"KT-4000", false, false, false}, {"KT-9100X", false, false, false},
        {"TW86_USB", false, false, true}, {"TW8_USB", true, true, true},
        {"NO-SUCH", true, true, true},
    };
    for (const Case &c : cases) {
        const SwitchPage page = shown(2, c.model, 0);
        const bool marked[3] = {c.marked6, c.marked7, c.marked8};
        for (int k = 5; k < 8; ++k) {
            const BitRow &bit = page.bits[static_cast<std::size_t>(k)];
            EXPECT_EQ(bit.onBold.has_value(), marked[k - 5]) << c.model << " bit " << k + 1;
            if (marked[k - 5]) {
                EXPECT_TRUE(*bit.onBold && !*bit.offBold) << c.model << " bit " << k + 1;
            }
        }
        EXPECT_EQ(page.bits[4].onBold, true) << c.model;
    }
}

TEST(SoftSwitch2Bold, UnmarkedBitKeepsTheWeightItHad)
{
    SwitchPage page = shown(2, "NO-SUCH", 0); // bit 6 ON marked bold
    click(page, 5, false, "KT-4000");
    EXPECT_FALSE(page.bits[5].on);
    EXPECT_EQ(page.bits[5].onBold, true);
    EXPECT_EQ(page.bits[5].offBold, false);
    EXPECT_EQ(page.bits[5].caption, "<CR> Invalid");
}

} // namespace
} // namespace kt::catalogue
