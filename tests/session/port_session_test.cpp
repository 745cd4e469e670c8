// The port list, opening and closing each kind of port, and the TCP status
// box, over stand-in controls.
#include <filesystem>

#include <gtest/gtest.h>

#include "pty_pair.h"
#include "session_rig.h"
#include "temp_file.h"

namespace kt::test {
namespace {

using session::MessageIcon;

const std::string kCanNotOpen3
    = "The COM3 can not OPEN !!\r\rPlease check that whether <printer driver> or "
      "<other application> occupy it !";

TEST(PortList, ShowsTheFrameThatBelongsToThePort)
{
    struct Row {
        std::string port, kind;
        bool serialFrame, tcpFrame;
    };
    const Row rows[] = {
        {"COM3", "COM", true, false},
        {"USB", "USB", false, false},
        {"LPT1", "LPT", false, false},
        {"TCP/IP", "TCP", false, true},
        {"COM16", "COM", true, false},
        {"/dev/ttyUSB0", "COM", true, false},
        {"/tmp/kt-printer", "COM", true, false},
        {"usb", "USB", true, false}, // only "USB" in capitals hides the frames
    };
    for (const Row &r : rows) {
        SessionRig rig;
        rig.view.at("frameTCPIP").visible = !r.tcpFrame;
        rig.choose(r.port);
        EXPECT_EQ(rig.state.portName, r.port);
        EXPECT_EQ(rig.state.portKind, r.kind) << r.port;
        EXPECT_EQ(rig.view.at("frameCOMm").visible, r.serialFrame) << r.port;
        EXPECT_EQ(rig.view.at("frameTCPIP").visible, r.tcpFrame) << r.port;
        EXPECT_EQ(rig.serial.openRequests, 0) << "nothing is opened by a click";
    }
}

TEST(SerialOpen, SetsThePortNumberAndTheLineSettingsFromTheOptions)
{
    struct Row {
        std::string port;
        std::vector<std::string> checked;
        int number;
        std::string settings;
    };
    const Row rows[] = {
        {"COM12", {"com_BR_19200", "com_PK_EVEN"}, 12, "19200,E,8,1"},
        {"COM1", {"com_BR_115200", "com_PK_NONE"}, 1, "115200,N,8,1"},
        {"COM2", {"com_PK_NONE"}, 2, ",N,8,1"},
        {"COM4", {"com_BR_9600"}, 4, "9600,,8,1"},
        {"COM5", {"com_BR_9600", "com_BR_38400", "com_PK_EVEN"}, 5, "38400,E,8,1"},
    };
    for (const Row &r : rows) {
        SessionRig rig;
        for (const char *o : {"com_BR_115200", "com_PK_NONE"})
            rig.view.at(o).checked = false;
        for (const std::string &o : r.checked)
            rig.view.at(o).checked = true;
        rig.choose(r.port);
        EXPECT_TRUE(rig.ports.openPort(r.port, true)) << r.port;
        EXPECT_EQ(rig.serial.port, r.number);
        EXPECT_EQ(rig.serial.lineSettings, r.settings) << r.port;
        EXPECT_EQ(rig.serial.path, "");
        EXPECT_TRUE(rig.serial.open);
        EXPECT_TRUE(rig.messages.shown.empty());
    }
}

TEST(SerialOpen, ReportsAPortThatCannotBeOpenedOrClosed)
{
    SessionRig rig;
    rig.choose("COM3");
    rig.serial.opens = false;
    EXPECT_FALSE(rig.ports.openPort("COM3", true));
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, kCanNotOpen3);
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(rig.messages.shown[0].title, "");

    // The system's reason, when the control tells it, is a line of its own.
    SessionRig denied;
    denied.choose("COM3");
    denied.serial.opens = false;
    denied.serial.whyNot = EACCES;
    EXPECT_FALSE(denied.ports.openPort("COM3", true));
    ASSERT_EQ(denied.messages.shown.size(), 1u);
    EXPECT_EQ(denied.messages.shown[0].text,
              kCanNotOpen3 + "\r\n\r\nPermission denied: add your user to the group dialout");

    SessionRig stuck;
    stuck.choose("COM3");
    stuck.serial.open = true;
    stuck.serial.port = 3;
    stuck.serial.closes = false;
    EXPECT_FALSE(stuck.ports.openPort("COM3", false));
    ASSERT_EQ(stuck.messages.shown.size(), 1u);
    EXPECT_EQ(stuck.messages.shown[0].text.substr(0, 27), "The COM3 can not CLOSE !!\r\r");
}

TEST(SerialOpen, ABusyPrinterIsReportedAndThePortStaysOpen)
{
    for (auto [cts, dsr] : {std::pair{false, true}, {true, false}, {false, false}}) {
        SessionRig rig;
        rig.choose("COM7");
        rig.serial.cts = cts;
        rig.serial.dsr = dsr;
        EXPECT_FALSE(rig.ports.openPort("COM7", true));
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].text,
                  "The COM7 port is busy...\r\n\r\nPlease double check the printer cable status.");
        EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(rig.serial.open);
    }
}

TEST(SerialOpen, ATypedDevicePathIsOpenedAndNamedAsItStands)
{
    SessionRig rig;
    rig.choose("/dev/ttyUSB9");
    rig.serial.opens = false;
    EXPECT_FALSE(rig.ports.openPort("/dev/ttyUSB9", true));
    EXPECT_EQ(rig.serial.path, "/dev/ttyUSB9");
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text.substr(0, 35), "The /dev/ttyUSB9 can not OPEN !!\r\rP");
}

TEST(SerialOpen, ATypedPathMustBeOrLeadToATerminal)
{
    test::PtyPair pty;
    test::TempFile regular;
    test::TempFile toPty(false), toNull(false), toFile(false);
    std::filesystem::create_symlink(pty.slavePath(), toPty.path());
    std::filesystem::create_symlink("/dev/null", toNull.path());
    std::filesystem::create_symlink(regular.path(), toFile.path());
    const std::string notAPort = " is not a serial port: ";
    struct Row {
        std::string path;
        std::string why; // empty: a serial port, opened
    };
    const Row rows[] = {
        {pty.slavePath(), ""},
        {toPty.path(), ""}, // the emulator's pseudo-terminal link
        {"/dev/null", "it is a character device that is not a terminal"},
        {toNull.path(), "it leads to /dev/null, a character device that is not a terminal"},
        {regular.path(), "it is a regular file"},
        {toFile.path(),
         "it leads to " + std::filesystem::canonical(regular.path()).string() + ", a regular file"},
        {"/", "it is a directory"},
    };
    for (const Row &r : rows) {
        SessionRig rig;
        rig.choose(r.path);
        EXPECT_EQ(rig.ports.openPort(r.path, true), r.why.empty()) << r.path;
        if (r.why.empty()) {
            EXPECT_TRUE(rig.serial.open) << r.path;
            EXPECT_TRUE(rig.messages.shown.empty()) << r.path;
            continue;
        }
        EXPECT_EQ(rig.serial.openRequests, 0) << "not even tried: " << r.path;
        ASSERT_EQ(rig.messages.shown.size(), 1u) << r.path;
        EXPECT_EQ(rig.messages.shown[0].text, r.path + notAPort + r.why + ".");
        EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Critical);
    }
}

TEST(SerialOpen, ClosingAClosedPortSaysNothingAndAnOpenPortIsReopened)
{
    SessionRig rig;
    rig.choose("COM1");
    EXPECT_TRUE(rig.ports.openPort("COM1", false));
    EXPECT_EQ(rig.serial.openRequests, 0);
    EXPECT_TRUE(rig.messages.shown.empty());

    rig.serial.open = true;
    EXPECT_TRUE(rig.ports.openPort("COM1", true));
    EXPECT_EQ(rig.serial.openRequests, 2) << "closed first, then opened";
    EXPECT_TRUE(rig.serial.open);
}

TEST(StatusBox, ShowsTheSocketStateInTextAndColour)
{
    struct Row {
        std::int16_t state;
        std::string text;
        session::Rgb colour;
    };
    const Row rows[] = {
        {0, "Disconnect", {255, 0, 0}}, {6, "Connecting...", {0, 0, 0}},
        {7, "Connected", {0, 0, 192}},  {9, "unknown", {0, 0, 0}},
        {4, "unknown", {0, 0, 0}},
    };
    for (const Row &r : rows) {
        SessionRig rig;
        rig.state.lastSocketState = -1;
        rig.socket.current = r.state;
        rig.ports.cmdSTATUS_Click();
        EXPECT_EQ(rig.view.at("txtSTATUS").text, r.text);
        EXPECT_EQ(rig.view.at("txtSTATUS").colour, r.colour) << r.text;
        EXPECT_EQ(rig.state.lastSocketState, r.state);
        EXPECT_EQ(rig.clock.sleeps, std::vector<int>{5});
        EXPECT_EQ(rig.clock.eventRounds, 1);
    }
}

TEST(StatusBox, RepaintsOnlyWhenTheStateChangedAndShowsTheStateAfterTheWait)
{
    SessionRig rig;
    rig.ports.cmdSTATUS_Click(); // closed, as last shown: the box keeps its content
    EXPECT_EQ(rig.view.at("txtSTATUS").text, "");
    EXPECT_TRUE(rig.clock.sleeps.empty());

    rig.socket.states = {6, 7}; // connecting when first read, connected after the wait
    rig.ports.cmdSTATUS_Click();
    EXPECT_EQ(rig.view.at("txtSTATUS").text, "Connected");
    EXPECT_EQ(rig.state.lastSocketState, 7);

    rig.view.at("txtSTATUS").text = "untouched";
    rig.ports.cmdSTATUS_Click();
    EXPECT_EQ(rig.view.at("txtSTATUS").text, "untouched");
}

TEST(TcpOpen, ConnectsToTheAddressAndPortOfTheBoxesAndStartsTheTimer)
{
    SessionRig rig;
    rig.choose("TCP/IP");
    rig.view.at("tcpIP").text = "127.0.0.1";
    rig.view.at("tcpListenPort").text = "9100";
    rig.socket.handle = 5; // a socket of an earlier connection
    EXPECT_TRUE(rig.ports.openPort("TCP/IP", true));
    EXPECT_EQ(rig.socket.closes, 1);
    EXPECT_EQ(rig.socket.host, "127.0.0.1");
    EXPECT_EQ(rig.socket.port, 9100);
    EXPECT_EQ(rig.socket.connects, 1);
    EXPECT_EQ(rig.socket.discards, 1);
    EXPECT_EQ(rig.view.at("txtSTATUS").text, "Disconnect") << "always repainted after -1";
    EXPECT_EQ(rig.clock.sleeps, (std::vector<int>{5, 10}));
    EXPECT_TRUE(rig.ports.timer1Enabled());

    EXPECT_TRUE(rig.ports.openPort("TCP/IP", false));
    EXPECT_EQ(rig.socket.closes, 2);
    EXPECT_FALSE(rig.ports.timer1Enabled());
}

TEST(TcpOpen, APortTextThatIsNoPortNumberLeavesThePortAsItWas)
{
    for (const char *text : {"abc", "", "70000", "-1", "91x", "9100.5"}) {
        SessionRig rig;
        rig.choose("TCP/IP");
        rig.socket.port = 4242;
        rig.view.at("tcpListenPort").text = text;
        rig.ports.openPort("TCP/IP", true);
        EXPECT_EQ(rig.socket.port, 4242) << '"' << text << '"';
    }
    SessionRig rig;
    rig.choose("TCP/IP");
    rig.view.at("tcpListenPort").text = " 9101 ";
    rig.ports.openPort("TCP/IP", true);
    EXPECT_EQ(rig.socket.port, 9101);
}

TEST(ParallelOpen, AMissingDeviceGivesTheErrorNumberMessage)
{
    SessionRig rig;
    rig.choose("LPT1");
    EXPECT_TRUE(rig.ports.openPort("LPT1", true)) << "the caller is not told";
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text,
              "Error no  2: No such file or directory\r\n\r\nNo such device: nothing is "
              "attached at /nonexistent/kt-lp0");
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::None);

    EXPECT_FALSE(rig.ports.timer1Enabled());
    rig.ports.openPort("LPT1", false);
    EXPECT_TRUE(rig.ports.timer1Enabled()) << "closing the parallel port enables Timer1";
    EXPECT_EQ(rig.messages.shown.size(), 1u) << "closing a closed port is harmless";
}

TEST(OtherPorts, UsbNeedsNoOpeningHere)
{
    SessionRig rig;
    rig.choose("USB");
    EXPECT_TRUE(rig.ports.openPort("USB", true));
    EXPECT_EQ(rig.serial.openRequests, 0);
    EXPECT_EQ(rig.socket.connects, 0);
    EXPECT_TRUE(rig.messages.shown.empty());
}

} // namespace
} // namespace kt::test
