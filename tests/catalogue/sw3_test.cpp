#include "page_expect.h"

namespace kt::catalogue {
using namespace kt::test;
namespace {

INSTANTIATE_TEST_SUITE_P(
    SoftSwitch3, SwitchDisplay,
    ::testing::ValuesIn(onSwitch(
        3,
        {// Bits 2-4 all ON have no speed caption: stage 1's beep text stays.
         DisplayCase{"KT-4000",
                     0,
                     {{1, "Raster bitmap print mode = Line printing"},
                      {2, "Beep sound after Cut Paper = Enabled"},
                      {3, kUnwritten},
                      {5, "Print Density = Unknown"}}},
         DisplayCase{"KT-4000", 255, {{2, "Print Speed = 300"}, {5, "Print Density = 100%"}}},
         DisplayCase{"KT-4000", 8, {{2, "Print Speed = 220"}}}, // bit 4 OFF, bits 2-3 ON
         DisplayCase{"KT-4000", 2, {{2, "Beep sound after Cut Paper = Disabled"}}},
         DisplayCase{"KT-7700", 0, {{2, "Reserved"}, {3, "Reserved"}, {4, "Reserved"}}},
         DisplayCase{"KT-7700", 255, {{2, "Reserved"}, {3, "Reserved"}, {4, "Reserved"}}},
         // Bit 2 ON, 3 OFF, 4 ON.
         DisplayCase{"KT-1400",
                     4,
                     {{2, "High Quality Print = Enable"},
                      {3, "Thai Font mode = Disable"},
                      {4, "UPOS Write = Disable"}}},
         // Group U density: bits 3 and 4 ON, 5 OFF has no caption.
         DisplayCase{"TW8_USB", 16, {{3, kUnwritten}, {6, "Print Speed = 200mm/s"}}},
         DisplayCase{"KT1401",
                     0,
                     {{1, "UPOS Write = Disable"},
                      {2, kUnwritten},
                      {3, "Print Density = 130%"},
                      {7, "Thai Font = 3 Pass"},
                      {8, "Cover Open Message = Enable"}}},
         DisplayCase{"TW86_USB", 28, {{3, "Print Density = 100%"}, {6, "Reserved"}}},
         // KT-74: bits 1-2 speed on the label of bit 1, bits 5-7 density.
         DisplayCase{"KT-7400", 192, {{5, "Print Density = 130%"}, {8, "Auto cutter = Enable"}}},
         DisplayCase{"KT-7400",
                     1,
                     {{1, "Print Speed = 180"},
                      {2, kUnwritten},
                      {3, "Thai Font = 3 PASS"},
                      {4, "UPOS Write= Disable"},
                      {6, kUnwritten},
                      {7, kUnwritten}}},
         DisplayCase{"KT-9100",
                     0,
                     {{2, "Print Speed = 200mm/s"}, {4, "UPOS Write= Disable"}, {8, kUnwritten}}},
         DisplayCase{"NO-SUCH",
                     0,
                     {{1, "Paper Feed Backward before print = Disabled"},
                      {2, "Beep sound after Cut Paper = Enabled"},
                      {3, kUnwritten},
                      {4, kUnwritten},
                      {5, kUnwritten},
                      {6, kUnwritten},
                      {7, kUnwritten},
                      {8, kUnwritten}}}})));

// "KT-9100X" is in group D (four-bit density) and in the KT-74/KT-9100X
// rule (three-bit density): the label of bit 5 depends on the index last
// described. Bits 5 ON, 6 to 8 OFF: four-bit "105%", three-bit "110%".
TEST(SoftSwitch3Clicks, KT9100XDensityFollowsTheIndexClicked)
{
    SwitchPage page = shown(3, "KT-9100X", 224);
    EXPECT_EQ(page.bits[4].caption, "Print Density = 105%");
    const struct {
        int index;
        const char *caption;
    } clicks[] = {
        {5, "Print Density = 110%"},
        {7, "Print Density = 105%"},
        {4, "Print Density = 110%"},
        {6, "Print Density = 110%"},
    };
    for (const auto &c : clicks) {
        click(page, c.index, page.bits[static_cast<std::size_t>(c.index)].on, "KT-9100X");
        EXPECT_EQ(page.bits[4].caption, c.caption) << "after index " << c.index;
    }
}

TEST(SoftSwitch3Clicks, KT4000SpeedWithoutCaptionKeepsTheBeepText)
{
    SwitchPage page = shown(3, "KT-4000", 14); // bits 2 to 4 OFF
    ASSERT_EQ(page.bits[1].caption, "Print Speed = 300");
    click(page, 3, true, "KT-4000"); // bit 4 ON
    EXPECT_EQ(page.bits[1].caption, "Print Speed = 200");
    click(page, 1, true, "KT-4000"); // bits 2 and 4 ON, 3 OFF
    EXPECT_EQ(page.bits[1].caption, "Print Speed = 180");
    click(page, 2, true, "KT-4000"); // all ON: no caption, the label keeps its text
    EXPECT_EQ(page.bits[1].caption, "Print Speed = 180");
    click(page, 1, true, "KT-4000"); // stage 1 of bit 2 writes the beep text
    EXPECT_EQ(page.bits[1].caption, "Beep sound after Cut Paper = Enabled");
}

} // namespace
} // namespace kt::catalogue
