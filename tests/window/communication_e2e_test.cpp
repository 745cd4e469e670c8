// The Communication Test of the whole window against the emulator, for one
// model of every catalogue group and one that no group names, and against
// a printer that answers nothing.
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "e2e_expectations.h"

namespace kt::test {
namespace {

struct ModelCase {
    const char *name;
    Transport transport;
    const char *model;
    std::vector<std::pair<std::string, std::string>> overrides;
    std::vector<int> reads; // soft switches the test reads, in order
    bool page1Shown;        // tab 1 shows the soft switch 1 page
    bool pages34Shown;      // tabs 3 and 4 show their pages
};

void PrintTo(const ModelCase &c, std::ostream *os) { *os << c.name; }

class CommunicationTest : public ::testing::TestWithParam<ModelCase> {
protected:
    void SetUp() override
    {
        emu::EmulatorOptions options;
        options.model = GetParam().model;
        options.overrides = GetParam().overrides;
        rig = std::make_unique<EmulatorRig>(GetParam().transport, options);
    }

    std::unique_ptr<EmulatorRig> rig;
};

TEST_P(CommunicationTest, FillsTheInformationAndSwitchPagesForTheModel)
{
    const ModelCase &c = GetParam();
    runCommunicationTest(*rig, c.reads);

    // Walking the tabs only shows pages: nothing is sent, nothing asked.
    const std::size_t sent = rig->printer->transcriptCount();
    const std::size_t messages = rig->messages().shown.size();
    const bool pageShown[] = {c.page1Shown, true, c.pages34Shown, c.pages34Shown};
    for (int tab = 1; tab <= 4; ++tab) {
        rig->selectTab(tab);
        EXPECT_EQ(rig->view().visible(session::controls::frameSWm(tab)), pageShown[tab - 1])
            << "tab " << tab;
    }
    rig->selectTab(6);
    rig->selectTab(0);
    EXPECT_EQ(rig->printer->transcriptCount(), sent);
    EXPECT_EQ(rig->messages().shown.size(), messages);
}

#ifdef KT_E2E_USB
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CommunicationTest);
#else
using Overrides = std::vector<std::pair<std::string, std::string>>;

INSTANTIATE_TEST_SUITE_P(
    Models, CommunicationTest,
    ::testing::Values(
        // Soft switch 1 in force while soft switch 4 bit 8 is 0.
        ModelCase{"TcpKT4000",
                  Transport::Tcp,
                  "KT-4000",
                  Overrides{{"soft_switch_2", "37"}, {"soft_switch_3", "200"}},
                  {2, 3, 4, 1},
                  true,
                  true},
        ModelCase{"TcpKT4000Switch1ByHardware",
                  Transport::Tcp,
                  "KT-4000",
                  Overrides{{"soft_switch_4", "200"}},
                  {2, 3, 4},
                  false,
                  true},
        // Soft switch 1 always in force.
        ModelCase{"TcpKT9100X",
                  Transport::Tcp,
                  "KT-9100X",
                  Overrides{{"soft_switch_2", "5"}, {"soft_switch_4", "128"}},
                  {1, 2, 3, 4},
                  true,
                  true},
        ModelCase{"TcpTW86USB",
                  Transport::Tcp,
                  "TW86_USB",
                  Overrides{{"soft_switch_3", "17"}},
                  {1, 2, 3, 4},
                  true,
                  true},
        ModelCase{"TcpMV550",
                  Transport::Tcp,
                  "MV550",
                  Overrides{{"soft_switch_2", "200"}},
                  {1, 2, 3, 4},
                  true,
                  true},
        // Soft switch 1 in force while soft switch 2 bit 1 is 0.
        ModelCase{"TcpZN8PRINTER", Transport::Tcp, "ZN8-PRINTER", Overrides{}, {2, 1}, true, false},
        ModelCase{"SerialZN8PRINTERSwitch1ByHardware",
                  Transport::Serial,
                  "ZN8-PRINTER",
                  Overrides{{"soft_switch_2", "1"}},
                  {2},
                  false,
                  false},
        // No model list names it: no switch is read, only tab 2 has a page.
        ModelCase{"TcpKT6700",
                  Transport::Tcp,
                  "KT-6700",
                  Overrides{{"soft_switch_2", "9"}},
                  {},
                  false,
                  false}),
    CaseName());
#endif

struct SilentCase {
    const char *name;
    Transport transport;
    bool retry; // the printer answers on the next try
};

void PrintTo(const SilentCase &c, std::ostream *os) { *os << c.name; }

class SilentPrinter : public ::testing::TestWithParam<SilentCase> { };

TEST_P(SilentPrinter, ReportsNoPrinterAndKeepsTheWindowLocked)
{
    const SilentCase &c = GetParam();
    if (!transportAvailable(c.transport))
        GTEST_SKIP() << "needs umockdev-wrapper";
    emu::EmulatorOptions options;
    options.faults.silent = true;
    EmulatorRig rig(c.transport, options);

    rig.press("cmdCommunicate");

    RecordingMessages &messages = rig.messages();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Please connected TALVORIN POS printer before test.\r\n\r\n"
              "The printer gave no answer at all.");
    EXPECT_EQ(messages.shown[0].icon, session::MessageIcon::Critical);
    // The maker query was the only command (the USB exchange adds filler
    // bytes to collect a reply): nothing was asked after it.
    std::vector<std::string> sent = rig.commandsSince(0);
    std::erase_if(sent, [](const std::string &name) { return !name.starts_with("GS "); });
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].starts_with("GS I k=B")) << sent[0];
    const session::FormView &view = rig.view();
    EXPECT_FALSE(view.visible("SSTab1"));
    EXPECT_TRUE(view.enabled("Combo1"));
    EXPECT_TRUE(view.enabled("cmdCommunicate"));
    EXPECT_FALSE(view.enabled("cmd01"));
    EXPECT_FALSE(view.enabled("cmd02"));

    if (c.retry) {
        // Nothing of the failed try stands in the way of the next one.
        rig.printer->setFaults({});
        messages.shown.clear();
        runCommunicationTest(rig, {2, 3, 4, 1});
    }
}

#ifndef KT_E2E_USB
TEST(EndingWhileWaiting, ExitOrClosingTheWindowEndsTheRunAtOnce)
{
    for (bool byExit : {true, false}) {
        emu::EmulatorOptions options;
        options.faults.silent = true;
        EmulatorRig rig(Transport::Tcp, options);
        bool ended = false;
        int waitsAfterTheEnd = 0;
        rig.window->clock.asked = [&](int) { waitsAfterTheEnd += ended ? 1 : 0; };
        // The user ends the run while the exchange waits for an answer to
        // the maker query that will never come.
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (rig.printer->transcriptCount() == 0)
                return;
            user.stop();
            if (byExit)
                rig.press("cmdEXIT");
            else
                rig.window->form.close();
            ended = true;
        });
        user.start(5);

        rig.press("cmdCommunicate");

        const char *how = byExit ? "EXIT" : "close";
        EXPECT_TRUE(ended) << how << ": the user's step ran while the exchange waited";
        EXPECT_FALSE(rig.window->form.isVisible()) << how;
        EXPECT_TRUE(rig.messages().shown.empty()) << how << ": nothing shown once the window went";
        EXPECT_EQ(waitsAfterTheEnd, 0) << how << ": the exchange stopped waiting";
        EXPECT_EQ(rig.programEnds(), byExit ? 1 : 0) << how;
        EXPECT_EQ(rig.window->session.socket().state(), session::kSocketClosed) << how;
        EXPECT_EQ(rig.commandsSince(0).size(), 1u) << how << ": nothing sent after the maker query";
    }
}
#endif

const std::string kNotConnected = "Please connected TALVORIN POS printer before test.\r\n\r\n";

#ifdef KT_E2E_USB
TEST(MakerFailure, WithoutAUsbPrinterSaysNoneWasFound)
{
    if (!test::UsbTestbed::available())
        GTEST_SKIP() << "needs umockdev-wrapper";
    const test::UsbTestbed noPrinters;
    WindowRig window("/nonexistent/kt-lp0", KT4000_DIR);
    window.useProtocol();
    window.pickPort("USB");
    window.control<QPushButton>("cmdCommunicate")->click();
    ASSERT_FALSE(window.messages.shown.empty());
    EXPECT_EQ(window.messages.shown[0].text,
              kNotConnected + "No such device: no USB printer of the maker found");
}
#else
TEST(MakerFailure, AnotherMakersDeviceIsToldApartFromSilence)
{
    emu::EmulatorOptions options;
    options.overrides = {{"maker", "ACME PRINTERS"}};
    EmulatorRig rig(Transport::Tcp, options);
    rig.press("cmdCommunicate");
    ASSERT_EQ(rig.messages().shown.size(), 1u);
    EXPECT_EQ(rig.messages().shown[0].text,
              kNotConnected + "An answer came from a device that is not a TALVORIN POS printer.");
}
#endif

#ifdef KT_E2E_USB
INSTANTIATE_TEST_SUITE_P(Usb, SilentPrinter,
                         ::testing::Values(SilentCase{"Usb", Transport::Usb, false}), CaseName());
#else
INSTANTIATE_TEST_SUITE_P(Transports, SilentPrinter,
                         ::testing::Values(SilentCase{"Tcp", Transport::Tcp, true},
                                           SilentCase{"Serial", Transport::Serial, true}),
                         CaseName());
#endif

} // namespace
} // namespace kt::test
