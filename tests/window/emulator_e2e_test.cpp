// The whole utility against the printer emulator: the window, the session
// and the printer settings protocol run the Communication Test, then the
// self and fonts tests, over TCP, a serial pseudo-terminal, a parallel port
// standing in on a pseudo-terminal, and USB through the library and a
// umockdev usblp node (built a second time with KT_E2E_USB, to run under
// umockdev-wrapper).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "core/emulator.h"
#include "usb_testbed.h"
#include "window_rig.h"

namespace kt::testing {
namespace {

using namespace std::chrono_literals;

enum class Transport { Tcp, Serial, Parallel, Usb };

struct Case {
    Transport transport;
    const char *model;
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.model << " over transport " << static_cast<int>(c.transport); }

std::string nameOf(const ::testing::TestParamInfo<Case> &info)
{
    const char *names[] = {"Tcp", "Serial", "Parallel", "Usb"};
    std::string model = info.param.model;
    std::erase(model, '-');
    return names[static_cast<int>(info.param.transport)] + model;
}

class AgainstTheEmulator : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        emu::EmulatorOptions options;
        options.model = GetParam().model;
        printer = std::make_unique<emu::Emulator>(options);
        const Transport t = GetParam().transport;
        const std::string parallel = t == Transport::Parallel ? printer->openPty() : "/nonexistent/kt-lp0";
        rig = std::make_unique<WindowRig>(parallel, KT4000_DIR);
        rig->useProtocol();
        switch (t) {
        case Transport::Tcp:
            rig->pickPort("TCP/IP");
            rig->control<QLineEdit>("tcpIP")->setText("127.0.0.1");
            rig->control<QLineEdit>("tcpListenPort")->setText(QString::number(printer->listenTcp()));
            break;
        case Transport::Serial: {
            rig->pickPort(QString::fromStdString(printer->openPty()));
            // A slow answer is waited for after the exchange's 30 ms.
            session::SerialControl &serial = rig->session.serial();
            rig->clock.ready = [&serial] { return serial.inBufferCount() > 0; };
            break;
        }
        case Transport::Parallel:
            rig->pickPort("LPT1");
            break;
        case Transport::Usb:
            if (!test::UsbTestbed::available())
                GTEST_SKIP() << "needs umockdev-wrapper";
            bed = std::make_unique<test::UsbTestbed>();
            printer->serveFd(bed->deviceFd(bed->addPrinter(0x3330)));
            rig->pickPort("USB");
            break;
        }
    }

    void press(const char *button) { rig->control<QPushButton>(button)->click(); }

    void TearDown() override
    {
        rig.reset();
        if (printer)
            printer->stop();  // before the testbed takes its nodes away
    }

    std::unique_ptr<test::UsbTestbed> bed;
    std::unique_ptr<emu::Emulator> printer;
    std::unique_ptr<WindowRig> rig;
};

// Captions show the reply as it came; serial, parallel and TCP keep the
// NUL the printer sends after a value, which a caption does not show.
std::string shown(const std::string &caption) { return caption.substr(0, caption.find('\0')); }

TEST_P(AgainstTheEmulator, CommunicationTestIdentifiesThePrinterAndUnlocksTheWindow)
{
    press("cmdCommunicate");
    const session::FormView &view = rig->view;
    EXPECT_EQ(shown(view.text("lblKT_INFO(0)")), printer->profile().model);
    EXPECT_EQ(shown(view.text("lblKT_INFO(1)")), printer->profile().firmware);
    EXPECT_TRUE(view.visible("SSTab1"));
    EXPECT_TRUE(view.visible("frameLanguageInfo"));
    EXPECT_FALSE(view.enabled("Combo1"));
    EXPECT_TRUE(view.enabled("cmd01"));
    EXPECT_TRUE(view.enabled("cmd02"));
    EXPECT_TRUE(view.enabled("cmdCommunicate"));
    EXPECT_NE(view.text("txtLOG").find("-->"), std::string::npos);
    ASSERT_FALSE(rig->messages.shown.empty());
    for (const auto &m : rig->messages.shown)
        EXPECT_NE(m.icon, session::MessageIcon::Critical) << m.text;

    const std::size_t before = printer->transcriptCount();
    press("cmd01");
    EXPECT_TRUE(printer->waitForCommand("GS ( A", 2s));
    press("cmd02");
    EXPECT_TRUE(printer->waitForCommand("ESC @", 2s));
    EXPECT_GE(printer->transcriptCount(), before + 8);
}

#ifdef KT_E2E_USB
INSTANTIATE_TEST_SUITE_P(Usb, AgainstTheEmulator,
                         ::testing::Values(Case{Transport::Usb, "KT-4000"}), nameOf);
#else
INSTANTIATE_TEST_SUITE_P(Transports, AgainstTheEmulator,
                         ::testing::Values(Case{Transport::Tcp, "KT-4000"},
                                           Case{Transport::Tcp, "KT-9100X"},
                                           Case{Transport::Serial, "KT-4000"},
                                           Case{Transport::Parallel, "KT-7700"}),
                         nameOf);
#endif

} // namespace
} // namespace kt::testing
