// The window as it opens: names, captions, lists, what is enabled, shown
// and selected, and where the controls sit.
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "window_rig.h"

namespace kt::test {
namespace {

class StartState : public ::testing::Test {
protected:
    WindowRig rig;
    session::FormView &view = rig.view;
};

TEST_F(StartState, OnlyCommunicationTestHelpAndExitCanBePressed)
{
    const std::pair<const char *, bool> buttons[] = {
        {"cmdCommunicate", true}, {"cmd01", false},  {"cmd02", false},  {"cmd1", false},
        {"cmd2", false},          {"cmdEXIT", true}, {"cmdHELP", true},
    };
    for (auto [name, enabled] : buttons)
        EXPECT_EQ(view.enabled(name), enabled) << name;
}

TEST_F(StartState, CaptionsAreThoseOfTheDesign)
{
    EXPECT_EQ(rig.form.windowTitle().toStdString(), "Printer Software Switch Utility v1.4.0.7");
    const std::pair<const char *, const char *> captions[] = {
        {"cmdCommunicate", "Communication Test"},
        {"cmd01", "Self Test"},
        {"cmd02", "Fonts Test"},
        {"cmd1", "Read Settings"},
        {"cmd2", "Write Settings"},
        {"cmdEXIT", "EXIT"},
        {"cmdHELP", "HELP"},
        {"lblPORT", "Printer port selection:"},
        {"frameCOM(0)", "BaudRate"},
        {"frameCOM(1)", "Handshaking"},
        {"frameCOM(2)", "ParityCheck"},
        {"com_HS_HW", "DTR/DSR"},
        {"com_HS_SW", "XON/XOFF"},
        {"tcpLBL1", "IP Address: "},
        {"tcpIP", "192.168.192.168"},
        {"tcpLBL2", "Listen Port: "},
        {"tcpListenPort", "9100"},
        {"cmdSTATUS", "STATUS"},
        {"txtSTATUS", ""},
        {"framePrinterInfo", " Printer Information"},
        {"frameLanguageInfo", "Language Information"},
        {"lblINFO(15)", "Font ROM:  "},
        {"ktLabel3(22)", "LinePrinted: "},
        {"lblINFO(3)", "Cut Paper Count: "},
        {"lblKT_INFO(7)", " "},
        {"lblLANG_INFO(6)", " "},
        {"optSW2ON(4)", "5: ON"},
        {"optSW4OFF(7)", "8: OFF"},
        {"lblSW1", "SW1"},
        {"lblSW3", "SW3"},
        {"Label1", "SW4"},
        {"frameChangeCP", "Change default language"},
        {"Text4", "Select Code Page: "},
        {"Text2", "Select print density : "},
        {"Text5", "Thai 1Pass or 3Pass: "},
        {"Text3", "Select New 8x16 font : "},
        {"cmdCLEARlst", "Clear"},
        {"txtLOG", ""},
    };
    for (auto [name, caption] : captions)
        EXPECT_EQ(view.text(name), caption) << name;

    auto *tabs = rig.control<QTabWidget>("SSTab1");
    const char *tabCaptions[]
        = {"Printer Infomation", "Soft_Switch 1",          "Soft_Switch 2", "Soft_Switch 3",
           "Soft_Switch 4",      "Additional Soft_Switch", "Log History"};
    ASSERT_EQ(tabs->count(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(tabs->tabText(i).toStdString(), tabCaptions[i]);
    EXPECT_EQ(view.currentTab(), 0);
}

TEST_F(StartState, ShowsOnlyTheSerialSettingsAndThePrinterInformation)
{
    const std::pair<const char *, bool> shown[] = {
        {"SSTab1", false},          {"frameCOMm", true},          {"frameTCPIP", false},
        {"framePrinterInfo", true}, {"frameLanguageInfo", false}, {"frameSW1m", false},
        {"frameSW2m", false},       {"frameSW3m", false},         {"frameSW4m", false},
        {"Image1", true},
    };
    for (auto [name, visible] : shown)
        EXPECT_EQ(view.visible(name), visible) << name;
}

TEST_F(StartState, SelectsTheDesignedOptions)
{
    const std::pair<const char *, bool> options[] = {
        {"com_BR_9600", false},  {"com_BR_19200", false}, {"com_BR_38400", false},
        {"com_BR_115200", true}, {"com_HS_HW", true},     {"com_HS_SW", false},
        {"com_PK_NONE", true},   {"com_PK_EVEN", false},
    };
    for (auto [name, checked] : options)
        EXPECT_EQ(view.checked(name), checked) << name;
    for (int sw = 1; sw <= 4; ++sw) {
        for (int i = 0; i < 8; ++i) {
            const std::string index = "(" + std::to_string(i) + ")";
            EXPECT_TRUE(view.checked("optSW" + std::to_string(sw) + "OFF" + index));
            EXPECT_FALSE(view.checked("optSW" + std::to_string(sw) + "ON" + index));
            EXPECT_NE(view.text("lblSW" + std::to_string(sw) + "Function" + index).find('='),
                      std::string::npos);
        }
    }
}

TEST_F(StartState, ListsHoldTheirItemsInOrder)
{
    std::vector<std::string> ports{"TCP/IP", "LPT1", "USB"};
    for (int n = 1; n <= 16; ++n)
        ports.push_back("COM" + std::to_string(n));
    ASSERT_EQ(view.listCount("Combo1"), 19);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(view.listItem("Combo1", i), ports[static_cast<std::size_t>(i)]);
    EXPECT_EQ(view.text("Combo1"), "COM1");

    struct Combo {
        const char *name;
        int count;
        const char *first, *last;
    };
    const Combo combos[] = {
        {"comboCodePage", 25, "0  - 437 Standard", "250- LITHUANIA"},
        {"comboCodePageName", 25, "0  - Standard", "250- LITHUANIA"},
        {"comboInterChars", 15, "0 - U.S.A.", "15- Ex-Yugoslavia"},
        {"comboDensity", 3, "0 - Normal", "2 - Dark"},
        {"comboTHAI", 2, "255 - Thai 1 Pass", "249 - Thai 3 Pass"},
        {"comboNew8x16", 2, "OFF", " ON"},
    };
    for (const Combo &c : combos) {
        EXPECT_EQ(view.listCount(c.name), c.count) << c.name;
        EXPECT_EQ(view.listItem(c.name, 0), c.first);
        EXPECT_EQ(view.listItem(c.name, c.count - 1), c.last);
        // Nothing selected at start, except what the start-up handler chose.
        const bool chosen = std::string(c.name) == "comboInterChars";
        EXPECT_EQ(view.listIndex(c.name), chosen ? 0 : -1) << c.name;
        EXPECT_EQ(view.text(c.name), chosen ? c.first : "") << c.name;
    }
    EXPECT_FALSE(view.enabled("comboCodePageName"));
}

TEST_F(StartState, ControlArraysKeepTheirIndices)
{
    auto has = [&](const std::string &name) {
        return rig.form.findChild<QWidget *>(QString::fromStdString(name)) != nullptr;
    };
    for (int i : {0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 14, 15})
        EXPECT_TRUE(has("lblINFO(" + std::to_string(i) + ")")) << i;
    for (int i : {10, 17, 22})
        EXPECT_TRUE(has("ktLabel3(" + std::to_string(i) + ")")) << i;
    EXPECT_EQ(view.controlNames("lblINFO(").size(), 12u);
    EXPECT_EQ(view.controlNames("lblKT_INFO(").size(), 8u);
    EXPECT_EQ(view.controlNames("lblLANG_INFO(").size(), 7u);
    EXPECT_EQ(view.controlNames("com_").size(), 8u);
    EXPECT_EQ(view.controlNames("tcp").size(), 4u);
    for (int sw = 1; sw <= 4; ++sw) {
        const std::string s = std::to_string(sw);
        EXPECT_EQ(view.controlNames("optSW" + s + "ON(").size(), 8u);
        EXPECT_EQ(view.controlNames("optSW" + s + "OFF(").size(), 8u);
        EXPECT_EQ(view.controlNames("lblSW" + s + "Function(").size(), 8u);
        EXPECT_EQ(view.controlNames("frameSW" + s + "(").size(), 7u);
    }
}

TEST_F(StartState, PositionsAndSizesAreTheDesignsInPixels)
{
    struct Place {
        const char *name;
        QRect pixels; // twips / 15, relative to the container
    };
    const Place places[] = {
        {"Image1", {8, 16, 282, 72}},
        {"lblPORT", {352, 0, 160, 16}},
        {"Combo1", {520, 0, 105, 24}},
        {"frameCOMm", {344, 24, 377, 81}},
        {"frameTCPIP", {352, 24, 361, 81}},
        {"SSTab1", {8, 112, 764, 332}},
        {"cmdCommunicate", {16, 456, 121, 49}},
        {"cmd02", {200, 456, 65, 49}},
        {"cmdHELP", {640, 456, 121, 49}},
        {"com_BR_115200", {80, 48, 65, 17}},
        {"txtSTATUS", {184, 44, 137, 28}},
        {"frameSW2(3)", {56, 136, 580, 33}},
        {"optSW2OFF(5)", {136, 8, 89, 20}},
        {"lblSW2Function(7)", {240, 8, 337, 25}},
        {"lblSW2Function(1)", {296, 48, 337, 25}},
    };
    for (const Place &p : places)
        EXPECT_EQ(rig.control(p.name)->geometry(), p.pixels) << p.name;
    EXPECT_EQ(rig.form.size(), QSize(776, 510));
    EXPECT_EQ(rig.control<QLabel>("Image1")->pixmap().size(), QSize(282, 72));
    EXPECT_FALSE(rig.form.windowIcon().isNull());
}

TEST_F(StartState, TheStateStartsAsTheStartUpHandlerLeftIt)
{
    const session::AppState &state = rig.session.state();
    EXPECT_EQ(state.portName, "COM1");
    EXPECT_EQ(state.portKind, "COM");
    EXPECT_EQ(state.makerName, "**");
    EXPECT_EQ(state.bitWeight[0], 1);
    EXPECT_EQ(state.bitWeight[7], 128);
    EXPECT_FALSE(rig.session.ports().timer1Enabled());
    EXPECT_TRUE(rig.events.calls.empty()) << "building and starting raise no events";
}

} // namespace
} // namespace kt::test
