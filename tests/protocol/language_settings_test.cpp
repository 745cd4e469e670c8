// The combo selection steps and the change flag of the language combos.
#include <gtest/gtest.h>

#include "protocol_rig.h"

namespace kt::protocol {
namespace {

using test::ProtocolRig;

TEST(ComboSelection, CaptionSelectsTheItemWithThatNumber)
{
    const struct {
        const char *label;
        std::string caption;
        const char *combo;
        const char *selected; // "" = nothing selected
    } cases[] = {
        {"lblLANG_INFO(2)", "19", "comboCodePage", "19 - 858 Multilingual (Latin+Euro)"},
        {"lblLANG_INFO(2)", "0", "comboCodePage", "0  - 437 Standard"},
        {"lblLANG_INFO(2)", " 224 ", "comboCodePage", "224- KAZAKHSTAN"},
        {"lblLANG_INFO(2)", "2", "comboCodePage", "2  - 850 Multilingual (LatinI)"},
        {"lblLANG_INFO(2)", "22", "comboCodePage", "22 - 864 Arabic"},
        {"lblLANG_INFO(2)", "99", "comboCodePage", ""},
        {"lblLANG_INFO(3)", "1", "comboInterChars", "1 - France"},
        {"lblLANG_INFO(3)", "10", "comboInterChars", "10- Denmark II"},
        {"lblLANG_INFO(3)", "14", "comboInterChars", ""},
        {"lblLANG_INFO(4)", "1", "comboDensity", "1 - Light"},
        // Serial and TCP replies keep the printer's closing NUL.
        {"lblLANG_INFO(2)", std::string("19\0", 3), "comboCodePage",
         "19 - 858 Multilingual (Latin+Euro)"},
        {"lblLANG_INFO(3)", std::string("1\0", 2), "comboInterChars", "1 - France"},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.view.setText(c.label, c.caption);
        LanguageSettings &language = rig.controller.language();
        if (std::string_view(c.combo) == "comboCodePage")
            language.syncCodePage();
        else if (std::string_view(c.combo) == "comboInterChars")
            language.syncInterChars();
        else
            language.syncDensity();
        EXPECT_EQ(rig.view.text(c.combo), c.selected) << c.caption;
    }
}

TEST(ComboSelection, UnmatchedCharacterSetKeepsWhatTheCodePageChose)
{
    ProtocolRig rig;
    rig.view.setText("lblLANG_INFO(2)", "1");
    rig.view.setText("lblLANG_INFO(3)", "14");
    rig.controller.language().syncCodePage();
    rig.controller.language().syncInterChars();
    EXPECT_EQ(rig.view.text("comboCodePageName"), "1  - Japanese");
    EXPECT_EQ(rig.view.text("comboInterChars"), "8 - Japan");
}

TEST(ComboSelection, New8x16FollowsTheFirstTwoCharacters)
{
    const struct {
        const char *caption;
        int index;
    } cases[] = {{"OFF", 0}, {"ON", 1}, {"", -1}, {" ON", -1}};
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.view.setText("lblLANG_INFO(5)", c.caption);
        rig.controller.language().syncNew8x16();
        EXPECT_EQ(rig.view.listIndex("comboNew8x16"), c.index) << c.caption;
    }
}

TEST(CodePageClick, SelectsTheNameAndTheCharacterSet)
{
    for (int index = 0; index < 25; ++index) {
        ProtocolRig rig;
        rig.select("comboInterChars", 5);
        rig.select("comboCodePage", index);
        rig.controller.combo_Click("comboCodePage");
        EXPECT_EQ(rig.view.listIndex("comboCodePageName"), index);
        EXPECT_EQ(rig.view.text("comboInterChars"), index == 1 ? "8 - Japan" : "0 - U.S.A.")
            << index;
    }
}

// The flag tells whether the tab differs from what was read, whichever
// combo was clicked last.
TEST(ChangeFlag, FollowsEveryComboAgainstTheReadValues)
{
    ProtocolRig rig;
    rig.setModel("KT-4000");
    rig.view.setText("lblLANG_INFO(2)", "19");
    rig.view.setText("lblLANG_INFO(3)", "3");
    rig.view.setText("lblLANG_INFO(4)", "1");
    rig.view.setText("lblLANG_INFO(5)", "ON");
    rig.view.setText("lblLANG_INFO(6)", "3 Pass");
    LanguageSettings &language = rig.controller.language();
    language.syncCodePage();
    language.syncInterChars();
    language.syncDensity();
    language.syncNew8x16();
    EXPECT_FALSE(rig.state.dataChanged) << "the items that were read are no change";

    const struct {
        const char *combo;
        int index;
        bool changed;
    } steps[] = {
        {"comboDensity", 1, false}, // "1 - Light" is the density read
        {"comboNew8x16", 1, false}, // " ON" is the font read
        {"comboTHAI", 1, false},    // "249 - Thai 3 Pass"
        {"comboTHAI", 0, true},        {"comboTHAI", 1, false},
        {"comboCodePage", 0, true},   // also resets the set to 0
        {"comboInterChars", 3, true}, // the set matches again, the code page still differs
        {"comboCodePage", 8, true},   // back to 19, but the set is reset to 0
        {"comboInterChars", 3, false}, {"comboDensity", 2, true},
        {"comboNew8x16", 0, true},     {"comboDensity", 1, true},
        {"comboNew8x16", 1, false},
    };
    for (const auto &s : steps) {
        rig.select(s.combo, s.index);
        rig.controller.combo_Click(s.combo);
        EXPECT_EQ(rig.state.dataChanged, s.changed) << s.combo << " " << s.index;
    }
}

TEST(ChangeFlag, UnknownComboChangesNothing)
{
    ProtocolRig rig;
    rig.state.dataChanged = true;
    rig.controller.combo_Click("comboCodePageName");
    rig.controller.combo_Click("Combo1");
    EXPECT_TRUE(rig.state.dataChanged);
}

} // namespace
} // namespace kt::protocol
