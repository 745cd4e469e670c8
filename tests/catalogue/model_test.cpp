#include <gtest/gtest.h>

#include "catalogue/models.h"

namespace kt::catalogue {
namespace {

TEST(ModelTests, ExactAndPrefixTests)
{
    struct Case {
        const char *key;
        const char *name;
        bool exact;
        bool prefix;
    };
    const Case cases[] = {
        {"KT-9100X", "KT-9100X", true, true},
        {"KT-9100X", "KT-91", false, true},
        {"KT-9100X", "KT-9100", false, true},
        {"KT-91", "KT-91", true, true},  // prefix holds for the name itself
        {"KT-9", "KT-91", false, false}, // a shorter key fails
        {"kt-4000", "KT-4000", false, false},
        {"KT-4000 ", "KT-4000", false, true}, // trailing blank: not the name
        {"MV8", "MV8", true, true},
        {"MV8-PLUS", "MV8", false, true},
        {" ", "KT-14", false, false}, // the model label's initial text
    };
    for (const Case &c : cases) {
        EXPECT_EQ(isExactly(c.key, c.name), c.exact) << c.key << " vs " << c.name;
        EXPECT_EQ(startsWith(c.key, c.name), c.prefix) << c.key << " vs " << c.name;
    }
}

TEST(ModelTests, NamedGroups)
{
    struct Case {
        const char *key;
        bool familyA, groupD, groupU, zn, switch34, page34, sw1Software, page1Always;
    };
    const Case cases[] = {
        // key            A      D      U      ZN     s34    p34    sw1    p1
        {"KT-4000", true, true, false, false, true, true, true, false},
        {"KT-1400", true, true, false, false, true, true, true, false},
        {"KT-9100X", true, true, false, false, true, true, false, true},
        {"KT-7400", true, false, false, false, true, true, false, true},
        {"MV8", true, true, false, false, true, true, true, false},
        {"MV8X", true, true, false, false, false, false, false, false},
        {"KT-1700", false, false, false, false, true, false, false, false},
        {"KT1401", false, false, true, false, true, true, true, false},
        {"TW86_USB", false, false, true, false, true, true, false, true},
        {"ZN8-PRINTER-II", false, false, false, true, false, false, false, false},
        {"ZN8-PRINTER-III", false, false, false, false, false, false, false, false},
        {" ", false, false, false, false, false, false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(isFamilyA(c.key), c.familyA);
        EXPECT_EQ(isGroupD(c.key), c.groupD);
        EXPECT_EQ(isGroupU(c.key), c.groupU);
        EXPECT_EQ(isZnModel(c.key), c.zn);
        EXPECT_EQ(isSwitch34Model(c.key), c.switch34);
        EXPECT_EQ(isPage34Model(c.key), c.page34);
        EXPECT_EQ(isSoftwareSwitch1Model(c.key), c.sw1Software);
        EXPECT_EQ(isPage1AlwaysModel(c.key), c.page1Always);
    }
}

TEST(ModelTests, LanguageSettingModels)
{
    for (const char *m : {"KT-1700", "KT-6500E", "KT-7000"}) {
        EXPECT_TRUE(isDensityModel(m)) << m;
        EXPECT_TRUE(queriesDensity(m)) << m;
    }
    EXPECT_FALSE(queriesDensity("KT-70000"));
    EXPECT_TRUE(hasThaiFontPass("KT-4000"));
    EXPECT_FALSE(hasThaiFontPass("KT-7000"));
    EXPECT_TRUE(isZnBaudRateModel("ZN5-PRINTER"));
    EXPECT_FALSE(isZnBaudRateModel("ZN5-PRINTER "));
}

} // namespace
} // namespace kt::catalogue
