// Read Settings and Write Settings through the buttons of the window.
#include <gtest/gtest.h>

#include "protocol_rig.h"

namespace kt::protocol {
namespace {

using session::MessageIcon;
using test::hex;
using test::ProtocolRig;

constexpr const char *kRepower = "After writed software switch, please re-power on printer!!";

TEST(ReadSettings, ReadsTheTabOnScreenWhereTheModelHasIt)
{
    const struct {
        const char *model;
        int tab;
        int sent; // switch queries sent
    } cases[] = {
        {"KT-9100X", 1, 1},    {"KT-9100X", 3, 1},    {"KT-9100X", 4, 1},    {"ZN8-PRINTER", 1, 1},
        {"ZN8-PRINTER", 2, 1}, {"ZN8-PRINTER", 3, 0}, {"ZN8-PRINTER", 4, 0}, {"XY-1", 1, 0},
        {"XY-1", 2, 1},        {"XY-1", 3, 0},        {" ", 1, 0},           {" ", 2, 1},
        {" ", 4, 0},           {"KT-1700", 3, 1},     {"KT-9100X", 0, 0},    {"KT-9100X", 6, 0},
        {"KT-9100X", 9, 0},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.answerAll(c.model);
        rig.setModel(c.model);
        rig.view.setCurrentTab(c.tab);
        rig.state.dataChanged = true;
        rig.view.at("cmd1").enabled = false;
        rig.controller.cmd1_Click();
        EXPECT_EQ(static_cast<int>(rig.printer.sent.size()), c.sent) << c.model << " tab " << c.tab;
        if (c.sent) {
            EXPECT_EQ(rig.printer.sent[0].command, queryEntry(switchQuery(c.tab)).bytes);
        }
        EXPECT_FALSE(rig.state.dataChanged);
        EXPECT_TRUE(rig.view.enabled("cmd1"));
        EXPECT_EQ(rig.view.focus(), "cmd1");
        EXPECT_TRUE(rig.messages.shown.empty());
    }
}

TEST(ReadSettings, LanguageTabInItsOrder)
{
    ProtocolRig rig;
    rig.answerAll("KT-4000");
    rig.setModel("KT-4000");
    rig.view.setCurrentTab(5);
    rig.controller.cmd1_Click();
    const std::vector<Command> expected{
        queryEntry(Query::Language1).bytes, queryEntry(Query::Language2).bytes,
        queryEntry(Query::Language3).bytes, queryEntry(Query::Language4).bytes,
        queryEntry(Query::Language6).bytes, // no density on this model
        queryEntry(Query::Language7).bytes,
    };
    EXPECT_EQ(hex(rig.printer.commands()), hex(expected));
    EXPECT_EQ(rig.view.text("comboCodePage"), "19 - 858 Multilingual (Latin+Euro)");
    EXPECT_EQ(rig.view.text("comboInterChars"), "3 - U.K.");
    EXPECT_EQ(rig.view.text("comboNew8x16"), " ON");
    EXPECT_EQ(rig.view.text("lblLANG_INFO(6)"), "3 Pass");
    EXPECT_FALSE(rig.state.dataChanged);
}

TEST(ReadSettings, FirstLanguageFailureStopsEverything)
{
    ProtocolRig rig;
    rig.setModel("KT-4000");
    rig.view.setCurrentTab(5);
    rig.controller.cmd1_Click();
    EXPECT_EQ(rig.printer.sent.size(), 1u);
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(
        rig.messages.shown[0].text,
        "Read language information1 error!!\r\nPlease check the port setting of your printer.");
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(rig.view.listIndex("comboNew8x16"), -1) << "no selection step ran";
}

TEST(WriteSettings, NothingChangedSendsNothing)
{
    for (int tab = 0; tab <= 6; ++tab) {
        ProtocolRig rig;
        rig.view.setCurrentTab(tab);
        rig.controller.cmd2_Click();
        EXPECT_TRUE(rig.printer.sent.empty());
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].text, "There is no data changed...");
        EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Information);
    }
}

TEST(WriteSettings, SwitchPageIsWrittenBetweenUnlockAndLock)
{
    ProtocolRig rig;
    rig.setModel("KT-9100X");
    rig.printer.answer(Query::SW3, "255");
    rig.view.setCurrentTab(3);
    rig.controller.cmd1_Click();
    rig.printer.sent.clear();

    rig.controller.optSW_Click(3, 0, true);  // bit 1 -> 0
    rig.controller.optSW_Click(3, 5, true);  // bit 6 -> 0
    rig.controller.optSW_Click(3, 5, false); // and back: still a change
    EXPECT_TRUE(rig.state.dataChanged);
    rig.controller.cmd2_Click();
    EXPECT_EQ(hex(rig.printer.writes()),
              (std::vector<std::string>{"1D 67 75 6E 6C 00", "1D 67 38 29 32 35 34 00",
                                        "1D 67 6C 63 6B 00"}));
    EXPECT_EQ(rig.printer.sent.size(), 3u) << "nothing is read back";
    EXPECT_FALSE(rig.state.dataChanged);
    EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{kRepower});
    EXPECT_EQ(rig.program.exits, 0);
    EXPECT_TRUE(rig.view.enabled("cmd2"));
}

TEST(WriteSettings, EndsTheProgramWhereTheConnectionChanges)
{
    const struct {
        const char *port;
        const char *model;
        int tab;
        const char *baudCaption;
        const char *settings;
        int exits;
    } cases[] = {
        {"TCP/IP", "KT-9100X", 2, "", "", 1},
        {"TCP/IP", "ZN8-PRINTER", 1, "Baud Rate = 9600  ", "9600,N,8,1", 1},
        {"COM1", "ZN8-PRINTER", 1, "Baud Rate = 9600  ", "9600,N,8,1", 0},
        {"COM1", "ZN8-PRINTER", 1, "Baud Rate = 19200 ", "9600,N,8,1", 1},
        {"COM3", "ZN-PRINTER", 1, "Baud Rate = 115200", "115200,N,8,1", 0},
        {"COM1", "ZN8-PRINTER", 2, "Baud Rate = 19200 ", "9600,N,8,1", 0},
        {"COM1", "KT-9100X", 1, "Baud Rate = 19200 ", "9600,N,8,1", 0},
        {"USB", "ZN8-PRINTER", 1, "Baud Rate = 19200 ", "9600,N,8,1", 0},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.state.setPort(c.port);
        rig.setModel(c.model);
        rig.port.settings = c.settings;
        rig.view.setText("lblSW1Function(0)", c.baudCaption);
        rig.view.setCurrentTab(c.tab);
        rig.state.dataChanged = true;
        rig.controller.cmd2_Click();
        EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{kRepower}) << c.port << c.model;
        EXPECT_EQ(rig.program.exits, c.exits) << c.port << " " << c.model << " " << c.baudCaption;
        EXPECT_EQ(rig.view.enabled("cmd2"), c.exits == 0) << "the window is left alone once ending";
    }
}

struct LanguageWriteRig : ProtocolRig {
    explicit LanguageWriteRig(const char *model)
    {
        setModel(model);
        view.setCurrentTab(5);
        select("comboCodePage", 22); // 224- KAZAKHSTAN
        select("comboCodePageName", 22);
        select("comboInterChars", 10); // 10- Denmark II
        select("comboDensity", 2);
        select("comboNew8x16", 1);
        select("comboTHAI", 0);
        state.dataChanged = true;
    }
};

TEST(WriteSettings, LanguageTabSequenceWithItsPause)
{
    LanguageWriteRig rig("KT-4000");
    rig.controller.cmd2_Click();
    EXPECT_EQ(hex(rig.printer.writes()),
              (std::vector<std::string>{
                  "1D 67 75 6E 6C 00",
                  "1D 67 38 21 32 32 34 00",
                  "1D 67 38 24 4B 41 5A 41 4B 48 53 54 41 4E 00 00 00 00 00 00 00 00 00 00 00",
                  "1D 67 38 22 31 30 00",
                  "1D 67 38 30 32 00 00",
                  "1D 67 38 25 4F 4E 00 00",
                  "1D 67 38 2B 32 35 35 00 00 00 00 00",
                  "1D 67 6C 63 6B 00",
              }));
    EXPECT_EQ(rig.clock.sleeps, std::vector<int>{1000});
    EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{kRepower});
}

TEST(WriteSettings, ThaiCommandOnlyForItsModel)
{
    LanguageWriteRig rig("KT-7000");
    rig.select("comboTHAI", -1); // not needed on this model
    rig.controller.cmd2_Click();
    EXPECT_EQ(rig.printer.writes().size(), 7u);
    for (const Command &c : rig.printer.writes())
        EXPECT_NE(c.size(), 12u) << "no Thai command: " << hex(c);
}

TEST(WriteSettings, LanguageTabRefusedWhileANeededComboIsEmpty)
{
    const struct {
        const char *model;
        const char *combo;
        const char *setting;
    } cases[] = {
        {"KT-7000", "comboCodePage", "Code Page"},
        {"KT-7000", "comboCodePageName", "Code Page"},
        {"KT-7000", "comboInterChars", "International Character Set"},
        {"KT-4000", "comboTHAI", "Thai 1Pass or 3Pass"},
    };
    for (const auto &c : cases) {
        LanguageWriteRig rig(c.model);
        rig.state.setPort("TCP/IP");
        rig.view.at(c.combo).text.clear();
        rig.view.at(c.combo).listIndex = -1;
        rig.controller.cmd2_Click();
        EXPECT_TRUE(rig.printer.sent.empty()) << c.combo;
        ASSERT_EQ(rig.messages.shown.size(), 1u) << c.combo;
        EXPECT_NE(rig.messages.shown[0].text.find(c.setting), std::string::npos)
            << rig.messages.shown[0].text;
        EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Information);
        EXPECT_TRUE(rig.state.dataChanged) << "the changes are still unsaved";
        EXPECT_EQ(rig.program.exits, 0);
    }
}

} // namespace
} // namespace kt::protocol
