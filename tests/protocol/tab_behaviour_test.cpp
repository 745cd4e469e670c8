// The tab control handler: layouts per tab and model, and the prompt before
// changes are dropped.
#include <gtest/gtest.h>

#include "protocol_rig.h"

namespace kt::protocol {
namespace {

using session::MessageAnswer;
using session::MessageButtons;
using session::MessageIcon;
using test::ProtocolRig;

void enterTab(ProtocolRig &rig, int from, int to)
{
    rig.view.setCurrentTab(to);
    rig.controller.SSTab1_Click(from);
}

TEST(TabLayout, PagesAndButtonsFollowTabAndModel)
{
    const struct {
        const char *model;
        int tab;
        const char *shown; // the frame expected visible ("" = no switch page)
        bool settingsButtons;
    } cases[] = {
        {"KT-9100", 1, "frameSW1m", true},  {"TW86_USB", 1, "frameSW1m", true},
        {"KT-9100X", 3, "frameSW3m", true}, {"ZN-PRINTER", 3, "", true},
        {"KT-1700", 4, "", true},           {"XY-1", 2, "frameSW2m", true},
        {"KT-9100X", 0, "", false},         {"KT-9100X", 6, "", false},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.setModel(c.model);
        for (int n = 1; n <= 4; ++n)
            rig.view.at(session::controls::frameSWm(n)).visible = false;
        enterTab(rig, 0, c.tab);
        for (int n = 1; n <= 4; ++n) {
            const std::string frame = session::controls::frameSWm(n);
            EXPECT_EQ(rig.view.visible(frame), frame == c.shown)
                << c.model << " tab " << c.tab << " " << frame;
        }
        EXPECT_EQ(rig.view.enabled("cmd1"), c.settingsButtons);
        EXPECT_EQ(rig.view.enabled("cmd2"), c.settingsButtons);
        EXPECT_EQ(rig.view.enabled("cmd01"), c.tab != 6);
        EXPECT_EQ(rig.view.enabled("cmdCommunicate"), c.tab == 0);
        EXPECT_TRUE(rig.messages.shown.empty());
    }
}

TEST(TabLayout, SoftSwitchOnePageFollowsTheOptionsOnScreen)
{
    const struct {
        const char *model;
        const char *option; // the ON option that decides
        bool on;
        bool shown;
    } cases[] = {
        {"KT-4000", "optSW4ON(7)", true, true},
        {"KT-4000", "optSW4ON(7)", false, false},
        {"ZN8-PRINTER", "optSW2ON(0)", true, true},
        {"ZN8-PRINTER", "optSW2ON(0)", false, false},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.setModel(c.model);
        rig.view.at(c.option).checked = c.on;
        enterTab(rig, 0, 1);
        EXPECT_EQ(rig.view.visible("frameSW1m"), c.shown) << c.model << " " << c.on;
    }
}

TEST(TabLayout, AdditionalSwitchFrames)
{
    const struct {
        const char *model;
        bool density, thai;
    } cases[] = {{"KT-4000", false, true}, {"KT-7700", false, false}, {"KT-1700", true, false}};
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.setModel(c.model);
        enterTab(rig, 0, 5);
        EXPECT_TRUE(rig.view.visible("frameNew8x16"));
        EXPECT_TRUE(rig.view.visible("frameLanguageInfo"));
        EXPECT_EQ(rig.view.visible("frameDensity"), c.density) << c.model;
        EXPECT_EQ(rig.view.visible("frameTHAI"), c.thai) << c.model;
    }
}

TEST(ChangePrompt, AsksOnlyWhenLeavingAChangedSettingsPage)
{
    const struct {
        int from;
        bool changed;
        const char *text; // nullptr = no prompt
    } cases[] = {
        {1, true, "Are you sure to ignore <SW1> settings?"},
        {4, true, "Are you sure to ignore <SW4> settings?"},
        {5, true, "Are you sure to ignore <Additional Switch> settings?"},
        {2, false, nullptr},
        {0, true, nullptr},
        {6, true, nullptr},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.answerAll("KT-9100X"); // Yes reads the page left again
        rig.messages.answers.push_back(MessageAnswer::Yes);
        rig.state.dataChanged = c.changed;
        enterTab(rig, c.from, c.from == 0 ? 1 : 0);
        if (!c.text) {
            EXPECT_TRUE(rig.messages.shown.empty()) << c.from;
            continue;
        }
        ASSERT_EQ(rig.messages.shown.size(), 1u) << c.from;
        EXPECT_EQ(rig.messages.shown[0].text, c.text);
        EXPECT_EQ(rig.messages.shown[0].title, "Switch Change confirm");
        EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(rig.messages.shown[0].buttons, MessageButtons::YesNo);
    }
}

TEST(ChangePrompt, YesReadsThePageLeftAgainAndStays)
{
    ProtocolRig rig;
    rig.setModel("KT-9100X");
    rig.printer.answer(Query::SW2, "0");
    rig.controller.queries().getSW(2);
    rig.controller.optSW_Click(2, 3, false);
    rig.printer.sent.clear();
    rig.messages.answers.push_back(MessageAnswer::Yes);

    enterTab(rig, 2, 4);
    EXPECT_EQ(rig.view.currentTab(), 4);
    EXPECT_EQ(rig.printer.commands(), std::vector<Command>{queryEntry(Query::SW2).bytes});
    EXPECT_TRUE(rig.view.checked("optSW2ON(3)")) << "the printer's value is shown again";
    EXPECT_FALSE(rig.state.dataChanged);
    EXPECT_TRUE(rig.view.visible("frameSW4m"));
}

TEST(ChangePrompt, NoReturnsToThePageWithTheChangeKept)
{
    ProtocolRig rig;
    rig.setModel("KT-9100X");
    rig.controller.optSW_Click(2, 3, false);
    rig.messages.answers.push_back(MessageAnswer::No);

    enterTab(rig, 2, 4);
    EXPECT_EQ(rig.messages.shown.size(), 1u) << "the return does not ask again";
    EXPECT_EQ(rig.view.currentTab(), 2);
    EXPECT_TRUE(rig.view.visible("frameSW2m"));
    EXPECT_FALSE(rig.view.visible("frameSW4m"));
    EXPECT_TRUE(rig.view.checked("optSW2OFF(3)"));
    EXPECT_TRUE(rig.state.dataChanged);
    EXPECT_FALSE(rig.state.revertingTab);
    EXPECT_TRUE(rig.printer.sent.empty());
}

TEST(Availability, SwitchesThreeAndFourOnlyWhereChangeable)
{
    for (const char *model : {"KT-1700", "ZN-PRINTER", "KT-9100X"}) {
        ProtocolRig rig;
        rig.setModel(model);
        rig.controller.tabs().applySwitchAvailability();
        const bool changeable = std::string(model) != "ZN-PRINTER";
        for (int k = 0; k < 8; ++k) {
            const std::string i = "(" + std::to_string(k) + ")";
            EXPECT_TRUE(rig.view.enabled("optSW1ON" + i));
            EXPECT_TRUE(rig.view.enabled("optSW2OFF" + i));
            EXPECT_EQ(rig.view.enabled("optSW3ON" + i), changeable) << model;
            EXPECT_EQ(rig.view.enabled("optSW4OFF" + i), changeable) << model;
        }
    }
}

} // namespace
} // namespace kt::protocol
