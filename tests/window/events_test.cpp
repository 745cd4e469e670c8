// What the user's clicks do in the window, what programmatic changes do
// not do, and how the session shows through the window's controls.
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QThread>
#include <gtest/gtest.h>

#include "pty_pair.h"
#include "tcp_peer.h"
#include "window_rig.h"
#include "work_directory.h"

namespace kt::test {
namespace {

TEST(PortList, APickShowsTheFrameOfThePortKind)
{
    struct Row {
        const char *port;
        bool serial, tcp;
    };
    const Row rows[] = {{"TCP/IP", false, true},
                        {"USB", false, false},
                        {"LPT1", false, false},
                        {"COM3", true, false},
                        {"/dev/ttyUSB0", true, false}};
    WindowRig rig;
    for (const Row &r : rows) {
        rig.pickPort(r.port);
        EXPECT_EQ(rig.session.state().portName, r.port);
        EXPECT_EQ(rig.control("frameCOMm")->isVisible(), r.serial) << r.port;
        EXPECT_EQ(rig.control("frameTCPIP")->isVisible(), r.tcp) << r.port;
    }
    EXPECT_EQ(rig.session.state().portKind, "COM") << "a typed device path is a serial port";
    EXPECT_EQ(rig.control<QComboBox>("Combo1")->count(), 19) << "typing adds no list item";
}

TEST(Options, EachBitIsAPairOfItsOwnAndOnlyUserClicksAreForwarded)
{
    WindowRig rig;
    rig.control<QRadioButton>("optSW3ON(2)")->click();
    EXPECT_TRUE(rig.view.checked("optSW3ON(2)"));
    EXPECT_FALSE(rig.view.checked("optSW3OFF(2)"));
    for (int i : {0, 1, 3, 7})
        EXPECT_TRUE(rig.view.checked("optSW3OFF(" + std::to_string(i) + ")")) << i;
    EXPECT_EQ(rig.events.calls, std::vector<std::string>{"optSW3ON(2)"});

    rig.view.setChecked("optSW1ON(7)", true);
    rig.view.setChecked("optSW3OFF(2)", true);
    EXPECT_FALSE(rig.view.checked("optSW3ON(2)"));
    EXPECT_EQ(rig.events.calls.size(), 1u) << "the view's setters raise nothing";

    rig.view.setChecked("optSW1OFF(0)", false); // no option of the pair selected
    EXPECT_FALSE(rig.view.checked("optSW1OFF(0)"));
    EXPECT_FALSE(rig.view.checked("optSW1ON(0)"));
    rig.control<QRadioButton>("optSW1ON(0)")->click();
    EXPECT_EQ(rig.events.calls.back(), "optSW1ON(0)");
}

TEST(Options, AClickOnTheSelectedOptionCountsAsAChangeToo)
{
    WindowRig rig;
    ASSERT_TRUE(rig.view.checked("optSW2OFF(4)"));
    rig.control<QRadioButton>("optSW2OFF(4)")->click();
    EXPECT_TRUE(rig.view.checked("optSW2OFF(4)"));
    EXPECT_EQ(rig.events.calls, std::vector<std::string>{"optSW2OFF(4)"});

    // The keyboard selects the other option of the pair as a click does.
    rig.form.activateWindow();
    auto *off = rig.control<QRadioButton>("optSW2OFF(5)");
    off->setFocus();
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(off, &left);
    EXPECT_TRUE(rig.view.checked("optSW2ON(5)"));
    EXPECT_EQ(rig.events.calls.back(), "optSW2ON(5)");

    // With the protocol behind the window, Write Settings then has a change
    // to write.
    rig.useProtocol();
    rig.session.state().dataChanged = false;
    rig.control<QRadioButton>("optSW2OFF(4)")->click();
    EXPECT_TRUE(rig.session.state().dataChanged);
}

TEST(Tabs, AUserTabChangeTellsThePreviousTabAndTheViewsDoesNot)
{
    WindowRig rig;
    auto *tabs = rig.control<QTabWidget>("SSTab1");
    rig.view.setVisible("SSTab1", true);
    tabs->setCurrentIndex(3);
    EXPECT_EQ(rig.events.calls, std::vector<std::string>{"SSTab1 from 0"});
    rig.view.setCurrentTab(5);
    EXPECT_EQ(rig.view.currentTab(), 5);
    EXPECT_EQ(rig.events.calls.size(), 1u);
    tabs->setCurrentIndex(6);
    EXPECT_EQ(rig.events.calls.back(), "SSTab1 from 5");
}

TEST(Combos, AUserPickIsForwardedByNameAndTheViewsSelectionIsNot)
{
    WindowRig rig;
    auto *density = rig.control<QComboBox>("comboDensity");
    density->setCurrentIndex(2);
    emit density->activated(2);
    EXPECT_EQ(rig.events.calls, std::vector<std::string>{"comboDensity"});
    rig.view.setListIndex("comboCodePage", 1);
    rig.view.setText("comboCodePageName", "1  - Japanese");
    EXPECT_EQ(rig.view.listIndex("comboCodePageName"), 1);
    rig.view.setText("comboTHAI", "not an item");
    EXPECT_EQ(rig.view.listIndex("comboTHAI"), -1);
    EXPECT_EQ(rig.view.text("comboTHAI"), "");
    EXPECT_EQ(rig.events.calls.size(), 1u);
}

TEST(Buttons, ReachTheProtocolAndTheSession)
{
    WindowRig rig;
    for (const char *name : {"cmdCommunicate", "cmd1", "cmd2"}) {
        rig.control<QPushButton>(name)->setEnabled(true);
        rig.control<QPushButton>(name)->click();
    }
    EXPECT_EQ(rig.events.calls, (std::vector<std::string>{"cmdCommunicate", "cmd1", "cmd2"}));
    WorkDirectory here;
    here.write("KT_SW_Help.txt", "help\n");
    rig.control<QPushButton>("cmdHELP")->click();
    // No viewer is installed for the rig: the text comes in the utility's own window.
    EXPECT_TRUE(rig.viewer.started.empty());
    using Text = std::pair<std::string, std::string>;
    EXPECT_EQ(rig.messages.texts, (std::vector<Text>{{"KT_SW_Help.txt", "help\n"}}));
}

TEST(LogBox, KeepsTheTextExactlyAndShowsItReadably)
{
    WindowRig rig;
    const std::string text("getSW1-->146\r\ngetVer-->A\0B", 26);
    rig.session.log().addLog("getSW1-->146");
    rig.session.log().addLog(std::string("getVer-->A\0B", 12));
    EXPECT_EQ(rig.view.text("txtLOG"), text);
    EXPECT_EQ(rig.control<QPlainTextEdit>("txtLOG")->toPlainText(),
              QString("getSW1-->146\ngetVer-->A") + QChar(0x2400) + "B");
    rig.control<QPushButton>("cmdCLEARlst")->click();
    EXPECT_EQ(rig.view.text("txtLOG"), "");
}

TEST(LogBox, KeepsItsNewestLineInView)
{
    WindowRig rig;
    rig.view.setVisible("SSTab1", true);
    rig.view.setCurrentTab(6);
    QApplication::processEvents();
    auto *log = rig.control<QPlainTextEdit>("txtLOG");
    QScrollBar *bar = log->verticalScrollBar();
    for (int i = 0; i < 200; ++i) {
        rig.session.log().addLog("getSW1-->" + std::to_string(i));
        QApplication::processEvents();
        if (i < 20)
            continue;
        ASSERT_GT(bar->maximum(), 0) << "the log is taller than its box";
        ASSERT_EQ(bar->value(), bar->maximum()) << "after line " << i;
    }
}

TEST(ValueLabels, ShowARepliesTextAsItStands)
{
    WindowRig rig;
    for (const QLabel *label : rig.form.findChildren<QLabel *>()) {
        const std::string name = label->objectName().toStdString();
        if (label->pixmap().isNull() && !name.empty()) {
            rig.view.setText(name, "<b>SN-1</b>");
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << name;
            EXPECT_EQ(rig.view.text(name), "<b>SN-1</b>") << name;
        }
    }
}

QColor textColour(QWidget *w) { return w->palette().color(QPalette::Text); }

TEST(StatusBox, FollowsTheConnectionInTextAndColourUntilExit)
{
    test::TcpPeer printer;
    WindowRig rig;
    rig.pickPort("TCP/IP");
    rig.control<QLineEdit>("tcpIP")->setText("127.0.0.1");
    rig.control<QLineEdit>("tcpListenPort")->setText(QString::number(printer.port()));
    ASSERT_TRUE(rig.session.ports().openPort("TCP/IP", true));
    auto *status = rig.control<QLineEdit>("txtSTATUS");
    for (int i = 0; i < 500 && rig.session.socket().state() != session::kSocketConnected; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    rig.control<QPushButton>("cmdSTATUS")->click();
    EXPECT_EQ(status->text().toStdString(), "Connected");
    EXPECT_EQ(textColour(status), QColor(0, 0, 192));

    rig.control<QPushButton>("cmdEXIT")->click();
    EXPECT_EQ(status->text().toStdString(), "Disconnect");
    EXPECT_EQ(textColour(status), QColor(255, 0, 0));
    EXPECT_FALSE(rig.session.ports().timer1Enabled());
    EXPECT_FALSE(rig.form.isVisible());
}

TEST(Exit, ExitAndWindowCloseCloseTheSerialPort)
{
    for (bool byExit : {true, false}) {
        test::PtyPair pty;
        WindowRig rig;
        rig.pickPort(QString::fromStdString(pty.slavePath()));
        ASSERT_TRUE(rig.session.ports().openPort(pty.slavePath(), true));
        ASSERT_TRUE(rig.session.serial().portOpen());
        if (byExit)
            rig.control<QPushButton>("cmdEXIT")->click();
        else
            rig.form.close();
        EXPECT_FALSE(rig.session.serial().portOpen()) << (byExit ? "EXIT" : "close");
        EXPECT_FALSE(rig.form.isVisible());
        EXPECT_EQ(rig.host.ended, byExit ? 1 : 0);
    }
}

} // namespace
} // namespace kt::test
