#include "page_expect.h"

namespace kt::catalogue {
using namespace kt::test;
namespace {

INSTANTIATE_TEST_SUITE_P(
    SoftSwitch4, SwitchDisplay,
    ::testing::ValuesIn(onSwitch(
        4,
        {DisplayCase{"KT-4000",
                     0,
                     {{1, "Beep sound after Cut paper = Enabled"},
                      {2, "Barcode Height Reduction = 75%"},
                      {3, kUnwritten},
                      {4, "Line Space Reduction = 75%"},
                      {5, kUnwritten},
                      {6, "Line Feed Reduction = 75%"},
                      {7, kUnwritten},
                      {8, "Switch 1 Selection = Software"}}},
         DisplayCase{"KT-9100",
                     255,
                     {{1, "Beep sound after Cut paper = Disabled"},
                      {2, "Barcode Height Reduction = Disabled"},
                      {4, "Line Space Reduction = Disabled"},
                      {6, "Line Feed Reduction = Disabled"},
                      {8, "USB_ZERO_PACKET"}}},
         // Bit 2 OFF, bit 3 ON; the field's value as a two-bit number.
         DisplayCase{"TW86_USB",
                     2,
                     {{1, "Reserved"}, {2, "Barcode Height Reduction = 50%"}, {8, kUnwritten}}},
         DisplayCase{"TW86_USB", 1, {{1, "Reserved"}}},
         DisplayCase{
             "KT1401", 8, {{1, "Print Speed 120mm/s = Enabled"}, {4, "Line Space Reduction = 50%"}}},
         DisplayCase{
             "MV550", 64, {{6, "Line Feed Reduction = 25%"}, {8, "Switch 1 Selection = Software"}}},
         DisplayCase{"KT-7400", 128, {{8, "USB_ZERO_PACKET"}}},
         DisplayCase{"KT-1700",
                     0,
                     {{1, kUnwritten},
                      {2, kUnwritten},
                      {4, kUnwritten},
                      {6, kUnwritten},
                      {8, kUnwritten}}}})));

TEST(SoftSwitch4Bold, FieldsMarkOnlyTheirFirstBit)
{
    SwitchPage page = shown(4, "KT-4000", 0);
    for (int k : {2, 4, 6}) {
        EXPECT_FALSE(page.bits[static_cast<std::size_t>(k)].onBold.has_value()) << "bit " << k + 1;
        EXPECT_FALSE(page.bits[static_cast<std::size_t>(k)].offBold.has_value()) << "bit " << k + 1;
    }
    for (int k : {0, 1, 3, 5, 7})
        EXPECT_EQ(page.bits[static_cast<std::size_t>(k)].onBold, true) << "bit " << k + 1;

    // Clicking bit 3 OFF rewrites the field and re-marks bit 2 only.
    click(page, 2, false, "KT-4000");
    EXPECT_EQ(page.bits[1].caption, "Barcode Height Reduction = 25%");
    EXPECT_FALSE(page.bits[2].offBold.has_value());
    EXPECT_EQ(page.bits[1].onBold, true);
}

} // namespace
} // namespace kt::catalogue
