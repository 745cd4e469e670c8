// The acceptance rules of the queries, their log lines and where the
// values go.
#include <gtest/gtest.h>

#include "protocol/switch_page_adapter.h"
#include "protocol_rig.h"

namespace kt::protocol {
namespace {

using session::MessageIcon;
using test::ProtocolRig;

bool allOn(const test::FakeFormView &view, int sw)
{
    for (int k = 0; k < 8; ++k)
        if (!view.at(session::controls::optSWON(sw, k)).checked)
            return false;
    return true;
}

TEST(SwitchQuery, AcceptsOnlyANumberFrom0To255)
{
    const struct {
        std::string reply;
        bool accepted;
        int shownValue; // bits shown as OFF, when accepted
    } cases[] = {
        {"146", true, 146},
        {"0", true, 0},
        {"255", true, 255},
        {"256", false, 0},
        {"-1", false, 0},
        {"300", false, 0},
        {"12\x01\x7f", true, 12},         // trailing characters end the number
        {std::string("5\0", 2), true, 5}, // the NUL kept by serial and TCP
        {std::string("\0"
                     "5\0",
                     3),
         true, 5}, // the late NUL of the reply before
        {"  7", true, 7},
        {"254.5", true, 254}, // halves round to even
        {"3.5", true, 4},
        // No answer, or an answer without a number, carries no switch byte.
        {"", false, 0},
        {"abc", false, 0},
        {"inf", false, 0},
        {"1e999", false, 0},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.setModel("KT-9100X");
        rig.view.at("optSW3ON(0)").checked = true; // what the page showed before
        rig.printer.answer(Query::SW3, c.reply);
        rig.state.dataChanged = true;
        EXPECT_EQ(rig.controller.queries().getSW(3), c.accepted) << c.reply;
        EXPECT_FALSE(rig.state.dataChanged) << c.reply;
        if (c.accepted) {
            EXPECT_EQ(SwitchPageAdapter(rig.view, 3).encode(), c.shownValue) << c.reply;
            EXPECT_EQ(rig.logText().substr(0, 9), "getSW3-->") << c.reply;
        } else {
            EXPECT_TRUE(rig.view.at("optSW3ON(0)").checked) << "page kept for " << c.reply;
            EXPECT_EQ(rig.logText(), "") << c.reply;
        }
    }
}

TEST(SwitchQuery, ShowsBitsAndCaptionsThroughTheCatalogue)
{
    ProtocolRig rig;
    rig.setModel("KT-9100X");
    rig.printer.answer(Query::SW1, "0");
    ASSERT_TRUE(rig.controller.queries().getSW(1));
    EXPECT_TRUE(allOn(rig.view, 1));
    EXPECT_TRUE(rig.view.at("optSW1ON(7)").bold);
    EXPECT_FALSE(rig.view.at("optSW1OFF(7)").checked);
    EXPECT_NE(rig.view.text("lblSW1Function(0)"), "");
    EXPECT_EQ(rig.logText(), "getSW1-->0");

    rig.printer.answer(Query::SW1, "255");
    ASSERT_TRUE(rig.controller.queries().getSW(1));
    EXPECT_EQ(SwitchPageAdapter(rig.view, 1).encode(), 255);
    EXPECT_TRUE(rig.view.at("optSW1OFF(0)").checked);
    EXPECT_FALSE(rig.view.at("optSW1ON(0)").checked);
}

TEST(TextQueries, ReplyIsLoggedAsReceivedAndShownUpToItsTerminator)
{
    const struct {
        Query query;
        const char *label;
        const char *logTag;
    } cases[] = {
        {Query::Printer2, "lblKT_INFO(1)", "getPrinterInfo2-->"},
        {Query::Printer3, "lblKT_INFO(2)", "getPrinterInfo3-->"},
        {Query::Printer4Cut, "lblKT_INFO(3)", "getPrinterInfo4-->"},
        {Query::Printer5Serial, "lblKT_INFO(4)", "getPrinterInfo5-->"},
        {Query::Printer5Date, "lblKT_INFO(5)", "getPrinterInfo5-->"},
        {Query::Printer3a, "lblKT_INFO(6)", "getPrinterInfo3a-->"},
        {Query::Printer4Failed, "lblKT_INFO(7)", "getPrinterInfo4-->"},
        {Query::Language1, "lblLANG_INFO(0)", "getLanguageInfo1-->"},
        {Query::Language2, "lblLANG_INFO(1)", "getLanguageInfo2-->"},
        {Query::Language3, "lblLANG_INFO(2)", "getLanguageInfo3-->"},
        {Query::Language4, "lblLANG_INFO(3)", "getLanguageInfo4-->"},
    };
    const auto run = [](ProtocolRig &rig, Query q) {
        Queries &queries = rig.controller.queries();
        switch (q) {
        case Query::Printer2: return queries.getPrinterInfo2();
        case Query::Printer3: return queries.getPrinterInfo3();
        case Query::Printer3a: return queries.getPrinterInfo3a();
        case Query::Printer4Cut: return queries.getPrinterInfo4(false);
        case Query::Printer4Failed: return queries.getPrinterInfo4(true);
        case Query::Printer5Serial: return queries.getPrinterInfo5(false);
        case Query::Printer5Date: return queries.getPrinterInfo5(true);
        default:
            return queries.getLanguageInfo(static_cast<int>(q) - static_cast<int>(Query::Language1)
                                           + 1);
        }
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.view.setText(c.label, "old");
        EXPECT_FALSE(run(rig, c.query)) << c.label;
        EXPECT_EQ(rig.view.text(c.label), "old") << "kept on failure: " << c.label;
        EXPECT_EQ(rig.logText(), "");

        // A lone terminator, as a serial or TCP printer answers an empty
        // value, is no answer.
        rig.printer.answer(c.query, std::string("\0", 1));
        EXPECT_FALSE(run(rig, c.query)) << c.label;
        EXPECT_EQ(rig.view.text(c.label), "old") << c.label;

        rig.printer.answer(c.query, std::string("x 1\0", 4));
        EXPECT_TRUE(run(rig, c.query)) << c.label;
        EXPECT_EQ(rig.view.text(c.label), "x 1") << c.label;
        EXPECT_EQ(rig.logText(), c.logTag + std::string("x 1\0", 4));
        EXPECT_EQ(rig.printer.sent.back().mode, "R");

        // A serial reply may begin with the late terminator of the reply
        // before it; a NUL inside the value stays.
        rig.printer.answer(c.query,
                           std::string("\0y\0"
                                       "2\0",
                                       5));
        EXPECT_TRUE(run(rig, c.query)) << c.label;
        EXPECT_EQ(rig.view.text(c.label),
                  std::string("y\0"
                              "2",
                              3))
            << c.label;
    }
}

TEST(ModelNameQuery, RetriesOnEmptyAndOnSemicolonOne)
{
    const struct {
        std::vector<std::string> replies;
        bool ok;
        int sends;
        const char *caption;
        std::string log;
    } cases[] = {
        {{"KT-4000"}, true, 1, "KT-4000", "getPrinterInfo1-->KT-4000"},
        {{"", "KT-4000"}, true, 2, "KT-4000", "getPrinterInfo1-->KT-4000"},
        {{"", ""}, false, 2, " ", ""},
        {{";1abc", "KT-7700"},
         true,
         2,
         "KT-7700",
         "getPrinterInfo1-->;1abc\r\ngetPrinterInfo1-->KT-7700"},
        // Exactly one further query, whatever the second reply holds.
        {{";1", ";1x"}, true, 2, ";1x", "getPrinterInfo1-->;1\r\ngetPrinterInfo1-->;1x"},
        {{";1", ""}, false, 2, "", "getPrinterInfo1-->;1"},
        // Serial and TCP keep the terminating NUL: the caption, which the
        // catalogue matches by exact name, does not.
        {{std::string("KT-4000\0", 8)},
         true,
         1,
         "KT-4000",
         std::string("getPrinterInfo1-->KT-4000\0", 26)},
        {{std::string("\0KT-4000\0", 9)},
         true,
         1,
         "KT-4000",
         std::string("getPrinterInfo1-->\0KT-4000\0", 27)},
        {{std::string("\0", 1), std::string(";1\0", 3), std::string("MV8\0", 4)},
         true,
         3,
         "MV8",
         std::string("getPrinterInfo1-->;1\0\r\ngetPrinterInfo1-->MV8\0", 45)},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.printer.answerOnce(Query::Printer1, c.replies);
        EXPECT_EQ(rig.controller.queries().getPrinterInfo1(), c.ok) << c.caption;
        EXPECT_EQ(rig.printer.countOf(Query::Printer1), c.sends) << c.caption;
        EXPECT_EQ(rig.view.text(kModelLabel), c.caption);
        EXPECT_EQ(rig.logText(), c.log);
    }
}

TEST(MakerQuery, MakerWordInAnyCaseAndTheWelcomeMessage)
{
    const struct {
        std::string reply;
        const char *port;
        bool ok;
        std::string makerName; // the reply without the NULs at its ends
        const char *message;
    } cases[] = {
        {"TALVORIN", "COM1", true, "TALVORIN",
         "Welcome to TALVORIN world.\r\n\r\nCommunication test finished."},
        {"the talvorin co", "TCP/IP", true, "the talvorin co",
         "Welcome to the talvorin co world.\r\n\r\nCommunication test finished."},
        {"Talvorin", "USB", true, "Talvorin",
         "Welcome to Talvorin world.\r\n\r\nCommunication test finished.\r\n\r\n"
         "** Please re-Power ON the USB printer to contunue **"},
        // The late terminator of the reply before, and this reply's own.
        {std::string("\0TALVORIN\0", 10), "COM1", true, "TALVORIN",
         "Welcome to TALVORIN world.\r\n\r\nCommunication test finished."},
        // The word behind a NUL is still part of the value shown.
        {std::string("X\0TALVORIN", 10), "COM1", true, std::string("X\0TALVORIN", 10), nullptr},
        {"OTHER MAKER", "COM1", false, "OTHER MAKER", nullptr},
        {"", "USB", false, "", nullptr},
        {std::string("\0", 1), "COM1", false, "", nullptr},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.state.setPort(c.port);
        rig.printer.answer(Query::Maker, c.reply);
        EXPECT_EQ(rig.controller.queries().getMakerInfo(), c.ok) << c.reply;
        EXPECT_EQ(rig.state.makerName, c.makerName);
        EXPECT_EQ(rig.logText(), "getMakerInfo-->" + c.reply) << "logged always, as received";
        if (c.ok) {
            ASSERT_EQ(rig.messages.shown.size(), 1u);
            EXPECT_EQ(rig.messages.shown[0].text,
                      c.message ? std::string(c.message)
                                : "Welcome to " + c.makerName
                              + " world.\r\n\r\nCommunication test finished.");
            EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Information);
            EXPECT_EQ(rig.messages.shown[0].title, "");
        } else {
            EXPECT_TRUE(rig.messages.shown.empty());
        }
    }
}

TEST(LanguageQueries, DensityAndThaiAskOnlyTheirModels)
{
    const struct {
        const char *model;
        bool density;
        bool thai;
    } cases[] = {
        {"KT-4000", false, true},  {"KT-7000", true, false},   {"KT-1700", true, false},
        {"KT-6500E", true, false}, {"KT-4000 ", false, false},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.setModel(c.model);
        EXPECT_EQ(rig.controller.queries().getLanguageInfo(5), !c.density) << c.model;
        EXPECT_EQ(rig.controller.queries().getLanguageInfo(7), !c.thai) << c.model;
        EXPECT_EQ(rig.printer.countOf(Query::Language5), c.density ? 1 : 0) << c.model;
        EXPECT_EQ(rig.printer.countOf(Query::Language7), c.thai ? 1 : 0) << c.model;
    }
}

TEST(LanguageQueries, DensityReplySelectsItsItem)
{
    ProtocolRig rig;
    rig.setModel("KT-7000");
    rig.printer.answer(Query::Language5, "2");
    EXPECT_TRUE(rig.controller.queries().getLanguageInfo(5));
    EXPECT_EQ(rig.view.text("lblLANG_INFO(4)"), "2");
    EXPECT_EQ(rig.view.text("comboDensity"), "2 - Dark");
}

TEST(LanguageQueries, ConvertedCaptions)
{
    const struct {
        int item;
        std::string reply;
        bool ok;
        const char *caption;
    } cases[] = {
        {6, "ON", true, "ON"},
        {6, "0", true, "ON"}, // the content is not examined
        {6, "", false, "OFF"},
        {6, std::string("\0", 1), false, "OFF"}, // an empty value with its terminator
        {7, "249", true, "3 Pass"},
        {7, "2491", true, "3 Pass"},
        {7, "255", true, "1 Pass"},
        {7, "250", true, "before"},
        {7, "24", true, "before"},
        {7, "", false, ""},
        {7, std::string("249\0", 4), true, "3 Pass"},
    };
    for (const auto &c : cases) {
        ProtocolRig rig;
        rig.setModel("KT-4000");
        const std::string label = session::controls::lblLANG_INFO(c.item - 1);
        rig.view.setText(label, "before");
        rig.printer.answer(c.item == 6 ? Query::Language6 : Query::Language7, c.reply);
        EXPECT_EQ(rig.controller.queries().getLanguageInfo(c.item), c.ok) << c.reply;
        EXPECT_EQ(rig.view.text(label), c.caption) << c.item << " " << c.reply;
    }
}

} // namespace
} // namespace kt::protocol
