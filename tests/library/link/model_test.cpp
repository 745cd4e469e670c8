// setModel, getModel, setColor and sendy.
#include <cstring>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "settings.h"
#include "usb_models.h"

namespace {

class ModelSelection : public ::testing::Test {
public:
    ~ModelSelection() override
    {
        setModel("kt4000");
        kt::usb::setCurrentModel("KT-4000");
        setColor(143);
    }
};

} // namespace

TEST_F(ModelSelection, StartsWithTheFirstRow)
{
    char name[9] = "xxxxxxxx";
    EXPECT_EQ(getModel(name), 0);
    EXPECT_STREQ(name, "KT-4000");
    EXPECT_EQ(kt::usb::selectedFragment(), "vid_5e1b&pid_3330");
    EXPECT_EQ(kt::settings::colourThreshold(), 143);
}

TEST_F(ModelSelection, KeysSelectTheirRowsFragment)
{
    const struct {
        const char *key;
        const char *fragment;
    } cases[] = {
        {"MV550", "vid_5e1b&pid_0380"},     {"mv550", "vid_5e1b&pid_0380"},
        {"kt7700", "vid_5e1b&pid_0338"},    {"KTZN8", "vid_5e1b&pid_036b"},
        {"ktzn8-usb", "vid_5e1b&pid_036c"}, {"tw5800", "vid_5e1b&pid_0340"},
        {"KT-9100", "vid_5e1b&pid_0378"},   {"KT-9100X", "vid_5e1b&pid_0384"},
        {"kt4000", "vid_5e1b&pid_3330"},
    };
    for (const auto &c : cases) {
        setModel("kt6500f");
        EXPECT_EQ(setModel(c.key), 0);
        EXPECT_EQ(kt::usb::selectedFragment(), c.fragment) << c.key;
    }
}

TEST_F(ModelSelection, UnknownKeysChangeNothing)
{
    setModel("MV550");
    for (const char *key : {"MV55", "MV5500", "KT-9100x ", "", "vid_5e1b&pid_0384", "KT-4000"}) {
        EXPECT_EQ(setModel(key), 0);
        EXPECT_EQ(kt::usb::selectedFragment(), "vid_5e1b&pid_0380") << key;
    }
    EXPECT_EQ(setModel(nullptr), 0);
    EXPECT_EQ(kt::usb::selectedFragment(), "vid_5e1b&pid_0380");
}

TEST_F(ModelSelection, GetModelWritesAtMostNineBytes)
{
    for (const auto &row : kt::usb::modelTable()) {
        kt::usb::setCurrentModel(row.model);
        char name[12];
        std::memset(name, '#', sizeof name);
        EXPECT_EQ(getModel(name), 0);
        EXPECT_STREQ(name, row.model);
        EXPECT_EQ(std::string(name + 9, 3), "###");
    }
    kt::usb::setCurrentModel("A-MUCH-LONGER-NAME");
    char name[12];
    std::memset(name, '#', sizeof name);
    getModel(name);
    EXPECT_STREQ(name, "A-MUCH-L");
    EXPECT_EQ(getModel(nullptr), 0);
}

TEST_F(ModelSelection, ColourThresholdIsTheLowByte)
{
    const struct {
        int32_t value;
        int threshold;
    } cases[] = {{0, 0}, {255, 255}, {256, 0}, {143, 143}, {0x1ff, 255}, {-1, 255}, {-256, 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(setColor(c.value), 0);
        EXPECT_EQ(kt::settings::colourThreshold(), c.threshold) << c.value;
    }
}

TEST(Sendy, DoesNothing)
{
    char reply[4] = "abc";
    EXPECT_EQ(sendy("data", "usb", 9600, 0, 4, 5, 4, reply), 0);
    EXPECT_EQ(sendy(nullptr, nullptr, 0, 0, 0, 0, 0, nullptr), 0);
    EXPECT_STREQ(reply, "abc");
}
