// The communication test: its order of queries per model, its messages and
// what it unlocks.
#include <gtest/gtest.h>

#include "protocol_rig.h"

namespace kt::protocol {
namespace {

using session::MessageIcon;
using test::ProtocolRig;

std::vector<Query> identityAndLanguage(bool density, bool thai)
{
    std::vector<Query> q{Query::Maker,          Query::Printer1,       Query::Printer2,
                         Query::Printer3,       Query::Printer3a,      Query::Printer4Cut,
                         Query::Printer4Failed, Query::Printer5Serial, Query::Printer5Date,
                         Query::Language1,      Query::Language2,      Query::Language3,
                         Query::Language4};
    if (density)
        q.push_back(Query::Language5);
    q.push_back(Query::Language6);
    if (thai)
        q.push_back(Query::Language7);
    return q;
}

std::vector<Command> bytesOf(const std::vector<Query> &queries)
{
    std::vector<Command> out;
    out.reserve(queries.size());
    for (Query q : queries)
        out.push_back(queryEntry(q).bytes);
    return out;
}

TEST(CommunicationTest, QueriesInOrderForEachModelGroup)
{
    const struct {
        const char *model;
        std::map<int, std::string> switches;
        bool density, thai;
        std::vector<Query> switchQueries;
    } cases[] = {
        {"KT-9100X", {}, false, false, {Query::SW1, Query::SW2, Query::SW3, Query::SW4}},
        {"KT-4000", {{4, "0"}}, false, true, {Query::SW2, Query::SW3, Query::SW4, Query::SW1}},
        {"KT-4000", {{4, "128"}}, false, true, {Query::SW2, Query::SW3, Query::SW4}},
        {"KT-1700", {{4, "127"}}, true, false, {Query::SW2, Query::SW3, Query::SW4, Query::SW1}},
        {"ZN8-PRINTER", {{2, "0"}}, false, false, {Query::SW2, Query::SW1}},
        {"ZN8-PRINTER", {{2, "1"}}, false, false, {Query::SW2}},
        {"KT-6500E", {}, true, false, {}},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.answerAll(c.model, c.switches);
        rig.view.at("frameCOMm").visible = true;
        rig.view.at("frameTCPIP").visible = false;
        rig.view.at("SSTab1").visible = false;
        rig.view.at("frameLanguageInfo").visible = false;
        rig.state.dataChanged = true;
        rig.controller.cmdCommunicate_Click();

        std::vector<Query> expected = identityAndLanguage(c.density, c.thai);
        expected.insert(expected.end(), c.switchQueries.begin(), c.switchQueries.end());
        EXPECT_EQ(test::hex(rig.printer.commands()), test::hex(bytesOf(expected))) << c.model;
        EXPECT_EQ(rig.port.calls, std::vector<std::string>{"COM1 open"});
        EXPECT_EQ(rig.messageTexts(),
                  std::vector<std::string>{
                      "Welcome to TALVORIN world.\r\n\r\nCommunication test finished."});
        EXPECT_EQ(rig.view.text(kModelLabel), c.model);
        EXPECT_EQ(rig.view.text("lblKT_INFO(5)"), "2024-01-02");
        EXPECT_EQ(rig.view.text("comboCodePage"), "19 - 858 Multilingual (Latin+Euro)");
        EXPECT_EQ(rig.view.text("comboInterChars"), "3 - U.K.");
        EXPECT_EQ(rig.view.text("comboDensity"), c.density ? "1 - Light" : "");
        EXPECT_TRUE(rig.view.visible("SSTab1"));
        EXPECT_TRUE(rig.view.visible("frameLanguageInfo"));
        EXPECT_FALSE(rig.view.enabled("Combo1"));
        EXPECT_FALSE(rig.view.enabled("lblPORT"));
        EXPECT_TRUE(rig.view.enabled("cmd01"));
        EXPECT_TRUE(rig.view.enabled("cmdCommunicate"));
        EXPECT_FALSE(rig.state.dataChanged);
        EXPECT_EQ(rig.view.enabled("optSW3ON(0)"),
                  std::string(c.model) != "ZN8-PRINTER" && std::string(c.model) != "KT-6500E")
            << c.model;
    }
}

TEST(CommunicationTest, LocksTheSettingsOfThePortInUse)
{
    for (const bool serial : {true, false}) {
        ProtocolRig rig;
        rig.answerAll("KT-9100X");
        rig.state.setPort(serial ? "COM2" : "TCP/IP");
        rig.view.at("frameCOMm").visible = serial;
        rig.view.at("frameTCPIP").visible = !serial;
        for (const char *name : {"com_BR_9600", "com_HS_HW", "tcpIP", "tcpLBL1", "cmdSTATUS"})
            rig.view.at(name).enabled = true;
        rig.controller.cmdCommunicate_Click();
        EXPECT_EQ(rig.view.enabled("com_BR_9600"), !serial);
        EXPECT_EQ(rig.view.enabled("com_HS_HW"), !serial);
        EXPECT_EQ(rig.view.enabled("tcpIP"), serial);
        EXPECT_EQ(rig.view.enabled("tcpLBL1"), serial);
        EXPECT_TRUE(rig.view.enabled("cmdSTATUS"));
    }
}

TEST(CommunicationTest, FailuresStopOrContinueWithTheirMessages)
{
    const std::string hint = "Please check the port setting of your printer.";
    const struct {
        Query silent;
        std::string message;
        MessageIcon icon;
        bool unlocked;
    } cases[] = {
        {Query::Maker,
         "Please connected TALVORIN POS printer before test.\r\n\r\nThe printer gave no answer "
         "at all.",
         MessageIcon::Critical, false},
        {Query::Printer1, "Read printer information1 error!!\r\n\r\n" + hint, MessageIcon::Critical,
         false},
        {Query::Printer2, "Read printer information2 error!!\r\n\r\n" + hint, MessageIcon::Critical,
         false},
        {Query::Printer3, "Read printer information3 error!!\r\n\r\n" + hint,
         MessageIcon::Information, true},
        {Query::Printer3a, "Read printer information3a error!!\r\n\r\n" + hint,
         MessageIcon::Information, true},
        {Query::Printer4Cut, "Read printer information4(0) error!!\r\n\r\n" + hint,
         MessageIcon::Information, true},
        {Query::Printer4Failed, "Read printer information4(1) error!!\r\n\r\n" + hint,
         MessageIcon::Information, true},
        {Query::Printer5Serial, "Read printer information5(0) error!!\r\n\r\n" + hint,
         MessageIcon::Information, true},
        {Query::Printer5Date, "Read printer information5(1) error!!\r\n\r\n" + hint,
         MessageIcon::Information, true},
        {Query::Language1, "Read language information1 error!!\r\n" + hint, MessageIcon::Critical,
         false},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.answerAll("KT-9100X");
        rig.printer.answer(c.silent, "");
        rig.view.at("SSTab1").visible = false;
        rig.controller.cmdCommunicate_Click();
        ASSERT_FALSE(rig.messages.shown.empty());
        const auto &last = rig.messages.shown.back();
        EXPECT_EQ(last.text, c.message);
        EXPECT_EQ(last.icon, c.icon) << c.message;
        EXPECT_EQ(rig.messages.shown.size(), c.silent == Query::Maker ? 1u : 2u) << "welcome first";
        EXPECT_EQ(rig.view.visible("SSTab1"), c.unlocked) << c.message;
        EXPECT_TRUE(rig.view.enabled("cmdCommunicate"));
    }
}

TEST(CommunicationTest, TheMakerFailureSaysWhatCameInsteadOfTheMaker)
{
    const std::string failed = "Please connected TALVORIN POS printer before test.\r\n\r\n";
    const struct {
        const char *makerReply, *cause, *expected;
    } cases[] = {
        {"", "", "The printer gave no answer at all."},
        {"ACME PRINTERS", "", "An answer came from a device that is not a TALVORIN POS printer."},
        {"", "No such device: no USB printer of the maker found",
         "No such device: no USB printer of the maker found"},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.answerAll("KT-9100X");
        rig.printer.answer(Query::Maker, c.makerReply);
        rig.printer.failure = c.cause;
        rig.controller.cmdCommunicate_Click();
        ASSERT_EQ(rig.messages.shown.size(), 1u) << c.expected;
        EXPECT_EQ(rig.messages.shown[0].text, failed + c.expected);
        EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Critical);
    }
}

TEST(CommunicationTest, ACounterFailureSkipsTheRemainingCounters)
{
    ProtocolRig rig;
    rig.answerAll("KT-9100X");
    rig.printer.answer(Query::Printer4Cut, "");
    rig.controller.cmdCommunicate_Click();
    EXPECT_EQ(rig.printer.countOf(Query::Printer4Failed), 0);
    EXPECT_EQ(rig.printer.countOf(Query::Printer5Serial), 0);
    EXPECT_EQ(rig.printer.countOf(Query::Language1), 1);
}

TEST(CommunicationTest, SilentPrinterOrClosedPortLeavesTheWindowLocked)
{
    ProtocolRig silent;
    silent.view.at("SSTab1").visible = false;
    silent.controller.cmdCommunicate_Click();
    EXPECT_EQ(silent.printer.sent.size(), 1u) << "the maker query is the first command";
    EXPECT_FALSE(silent.view.visible("SSTab1"));
    EXPECT_TRUE(silent.view.enabled("Combo1"));

    ProtocolRig closed;
    closed.port.opens = false;
    closed.state.dataChanged = true;
    closed.controller.cmdCommunicate_Click();
    EXPECT_TRUE(closed.printer.sent.empty());
    EXPECT_EQ(closed.messageTexts(),
              std::vector<std::string>{
                  "Communication test error!!\r\nPlease check the port setting of your printer."});
    EXPECT_EQ(closed.messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(closed.view.enabled("cmdCommunicate"));
    EXPECT_FALSE(closed.state.dataChanged);
}

} // namespace
} // namespace kt::protocol
