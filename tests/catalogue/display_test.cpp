#include <vector>

#include "page_expect.h"

namespace kt::catalogue {
using namespace kt::test;
namespace {

std::string states(const SwitchPage &page)
{
    std::string s;
    for (const BitRow &bit : page.bits)
        s += bit.on ? '1' : '0'; // '1' = ON option, bit 1 first
    return s;
}

TEST_P(SwitchDisplay, LabelsAfterFullDisplay)
{
    expectLabels(shown(GetParam().switchNo, GetParam().model, GetParam().value), GetParam().labels);
}

TEST(ShowProcedure, SelectsOptionsFromTheValue)
{
    struct Case {
        int value;
        const char *onOptions; // bit 1 first
        int remainder;
    };
    const Case cases[] = {
        {0, "11111111", 0},
        {255, "00000000", 0},
        {5, "01011111", 0},
        {146, "10110110", 0},
        {128, "11111110", 0},
        // Outside 0 to 255: every bit whose weight fits is OFF.
        {300, "00000000", 45},
        {-1, "11111111", -1},
    };
    for (const Case &c : cases) {
        SwitchPage page = designTimePage(2);
        EXPECT_EQ(show(page, c.value, "KT-4000"), c.remainder) << c.value;
        EXPECT_EQ(states(page), c.onOptions) << c.value;
    }
}

TEST(ShowProcedure, EncodeReturnsTheValueShown)
{
    for (int value = 0; value < 256; ++value)
        EXPECT_EQ(encode(shown(1, "KT-9100X", value)), value);
    EXPECT_EQ(encode(designTimePage(3)), 255);
}

TEST(ShowProcedure, ReportsChangedOptionsFromBitEightDown)
{
    SwitchPage page = designTimePage(1); // all OFF
    std::vector<int> reported;
    show(page, 0x50, "NO-SUCH", [&](int index) { reported.push_back(index); });
    EXPECT_EQ(reported, (std::vector<int>{7, 5, 3, 2, 1, 0}));
    reported.clear();
    show(page, 0x50, "NO-SUCH", [&](int index) { reported.push_back(index); });
    EXPECT_TRUE(reported.empty());
}

// The sweep runs every caption procedure after all options are set, so a
// field sees the final states of all its bits.
TEST(ShowProcedure, CaptionsComeFromTheSweepAfterSelection)
{
    SwitchPage page = designTimePage(1);
    std::vector<std::string> seen;
    show(page, 0, "KT-4000", [&](int) { seen.push_back(page.bits[0].caption); });
    for (const std::string &caption : seen)
        EXPECT_EQ(caption, designTimeCaption(1, 0));
    EXPECT_EQ(page.bits[2].caption, "Paper width & printable width = 83mm, 640dots");
}

TEST(ShowProcedure, SelectedOptionIsBoldAfterDisplay)
{
    const SwitchPage page = shown(1, "KT-7700", 0xA5);
    for (const BitRow &bit : page.bits) {
        EXPECT_EQ(bit.onBold, bit.on);
        EXPECT_EQ(bit.offBold, !bit.on);
    }
}

TEST(CaptionProcedure, BadIndexOrSwitchChangesNothing)
{
    const SwitchPage before = designTimePage(1);
    for (int index : {-1, 8, 1000}) {
        SwitchPage page = before;
        describe(page, index, "KT-4000");
        click(page, index, true, "KT-4000");
        EXPECT_EQ(states(page), states(before));
        for (const BitRow &bit : page.bits)
            EXPECT_FALSE(bit.written || bit.onBold.has_value());
    }
    SwitchPage other = designTimePage(7);
    show(other, 0, "KT-4000");
    for (const BitRow &bit : other.bits)
        EXPECT_FALSE(bit.written);
}

TEST(DesignTimePage, OffSelectedEqualsSignCaptions)
{
    for (int sw = 1; sw <= 4; ++sw) {
        const SwitchPage page = designTimePage(sw);
        EXPECT_EQ(page.switchNo, sw);
        for (int k = 0; k < 8; ++k) {
            const BitRow &bit = page.bits[static_cast<std::size_t>(k)];
            EXPECT_FALSE(bit.on);
            EXPECT_FALSE(bit.written || bit.onBold || bit.offBold);
            EXPECT_EQ(bit.caption, designTimeCaption(sw, k));
            EXPECT_TRUE(bit.caption == "=" || bit.caption == " =" || bit.caption == " = ");
        }
    }
    EXPECT_EQ(designTimeCaption(0, 0), "");
    EXPECT_EQ(designTimeCaption(1, 8), "");
}

} // namespace
} // namespace kt::catalogue
