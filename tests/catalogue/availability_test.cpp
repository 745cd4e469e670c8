#include "catalogue/availability.h"

#include <gtest/gtest.h>

namespace kt::catalogue {
namespace {

constexpr auto Show = Visibility::Show;
constexpr auto Hide = Visibility::Hide;
constexpr auto Leave = Visibility::Leave;

TEST(Availability, SwitchChangeable)
{
    struct Case {
        int switchNo;
        const char *model;
        bool changeable;
    };
    const Case cases[] = {
        {1, "ZN-PRINTER", true}, {2, "NO-SUCH", true},  {3, "ZN-PRINTER", false},
        {3, "KT-1700", true},    {4, "KT-9100X", true}, {3, "MV8X", false},
        {4, " ", false},         {5, "KT-4000", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(switchChangeable(c.switchNo, c.model), c.changeable)
            << c.switchNo << ' ' << c.model;
}

TEST(Availability, SwitchPageOfEachTab)
{
    struct Case {
        int tab;
        const char *model;
        bool sw4Bit8On, sw2Bit1On;
        Visibility page;
    };
    const Case cases[] = {
        {1, "KT-4000", true, false, Show},     {1, "KT-4000", false, true, Hide},
        {1, "KT-9100", false, false, Show},    {1, "TW86_USB", false, false, Show},
        {1, "ZN-PRINTER", false, true, Show},  {1, "ZN-PRINTER", true, false, Hide},
        {1, "NO-SUCH", true, true, Leave},     {2, "NO-SUCH", false, false, Show},
        {3, "ZN-PRINTER", false, false, Hide}, {3, "KT-1700", false, false, Leave},
        {4, "NO-SUCH", false, false, Leave},   {4, "KT-9100X", false, false, Show},
        {0, "KT-4000", true, true, Leave},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tabLayout(c.tab, c.model, c.sw4Bit8On, c.sw2Bit1On).switchPage, c.page)
            << "tab " << c.tab << ' ' << c.model;
}

TEST(Availability, FramesAndButtonsOfEachTab)
{
    struct Case {
        int tab;
        const char *model;
        Visibility languageInfo, new8x16, density, thai;
        bool communicate, printTests, settings;
    };
    const Case cases[] = {
        {0, "KT-4000", Show, Leave, Leave, Leave, true, true, false},
        {1, "KT-4000", Hide, Leave, Leave, Leave, false, true, true},
        {5, "KT-4000", Show, Show, Hide, Show, false, true, true},
        {5, "KT-7700", Show, Show, Hide, Hide, false, true, true},
        {5, "KT-1700", Show, Show, Show, Hide, false, true, true},
        {6, "KT-4000", Hide, Leave, Leave, Leave, false, false, false},
        {42, "KT-4000", Hide, Leave, Leave, Leave, false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "tab " << c.tab << ' ' << c.model);
        const TabLayout layout = tabLayout(c.tab, c.model, true, true);
        EXPECT_EQ(layout.languageInfo, c.languageInfo);
        EXPECT_EQ(layout.new8x16, c.new8x16);
        EXPECT_EQ(layout.density, c.density);
        EXPECT_EQ(layout.thai, c.thai);
        EXPECT_EQ(layout.communicateEnabled, c.communicate);
        EXPECT_EQ(layout.printTestsEnabled, c.printTests);
        EXPECT_EQ(layout.settingsEnabled, c.settings);
    }
}

TEST(Availability, ReadSettingsModels)
{
    for (const char *m : {"KT-9100X", "KT-1400", "MV550", "KT-1700", "TW86_USB"})
        for (int sw : {1, 2, 3, 4})
            EXPECT_TRUE(readsSwitch(sw, m)) << m << ' ' << sw;
    EXPECT_TRUE(readsSwitch(1, "ZN8-PRINTER"));
    EXPECT_FALSE(readsSwitch(3, "ZN8-PRINTER"));
    EXPECT_FALSE(readsSwitch(4, "ZN8-PRINTER"));
    EXPECT_TRUE(readsSwitch(2, " "));
    EXPECT_FALSE(readsSwitch(1, " "));
    EXPECT_FALSE(readsSwitch(0, "KT-4000"));
}

TEST(Availability, CommunicationTestQueries)
{
    using Q = QueryCondition;
    const auto list = [](std::string_view model) {
        std::string s;
        for (const SwitchQuery &q : communicationTestQueries(model))
            s += std::to_string(q.switchNo)
                + (q.condition == Q::Always            ? ""
                       : q.condition == Q::IfSw4Bit8On ? "?4"
                                                       : "?2")
                + ' ';
        return s;
    };
    EXPECT_EQ(list("KT-9100X"), "1 2 3 4 ");
    EXPECT_EQ(list("TW86_USB"), "1 2 3 4 ");
    EXPECT_EQ(list("KT-1400"), "2 3 4 1?4 ");
    EXPECT_EQ(list("MV8"), "2 3 4 1?4 ");
    EXPECT_EQ(list("ZN8-PRINTER"), "2 1?2 ");
    EXPECT_EQ(list("MV8X"), "");
    EXPECT_EQ(list(" "), "");
}

} // namespace
} // namespace kt::catalogue
