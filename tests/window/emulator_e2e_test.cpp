// The whole utility against the printer emulator: the window, the session
// and the printer settings protocol run the Communication Test, then the
// self and fonts tests, over TCP, a serial pseudo-terminal, a parallel port
// standing in on a pseudo-terminal, and USB through the library and a
// umockdev usblp node (built a second time with KT_E2E_USB, to run under
// umockdev-wrapper).
#include <gtest/gtest.h>

#include "emulator_rig.h"

namespace kt::test {
namespace {

using namespace std::chrono_literals;

struct Case {
    Transport transport;
    const char *model;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.model << " over " << transportName(c.transport);
}

std::string nameOf(const ::testing::TestParamInfo<Case> &info)
{
    std::string model = info.param.model;
    std::erase(model, '-');
    return transportName(info.param.transport) + model;
}

class AgainstTheEmulator : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        if (!transportAvailable(GetParam().transport))
            GTEST_SKIP() << "needs umockdev-wrapper";
        emu::EmulatorOptions options;
        options.model = GetParam().model;
        rig = std::make_unique<EmulatorRig>(GetParam().transport, options);
    }

    std::unique_ptr<EmulatorRig> rig;
};

TEST_P(AgainstTheEmulator, CommunicationTestIdentifiesThePrinterAndUnlocksTheWindow)
{
    rig->press("cmdCommunicate");
    const session::FormView &view = rig->view();
    const emu::ModelProfile profile = rig->printer->profile();
    EXPECT_EQ(view.text("lblKT_INFO(0)"), profile.model);
    EXPECT_EQ(view.text("lblKT_INFO(1)"), profile.firmware);
    EXPECT_TRUE(view.visible("SSTab1"));
    EXPECT_TRUE(view.visible("frameLanguageInfo"));
    EXPECT_FALSE(view.enabled("Combo1"));
    EXPECT_TRUE(view.enabled("cmd01"));
    EXPECT_TRUE(view.enabled("cmd02"));
    EXPECT_TRUE(view.enabled("cmdCommunicate"));
    EXPECT_NE(view.text("txtLOG").find("-->"), std::string::npos);
    ASSERT_FALSE(rig->messages().shown.empty());
    for (const auto &m : rig->messages().shown)
        EXPECT_NE(m.icon, session::MessageIcon::Critical) << m.text;

    const std::size_t before = rig->printer->transcriptCount();
    rig->press("cmd01");
    EXPECT_TRUE(rig->printer->waitForCommand("GS ( A", 2s));
    rig->press("cmd02");
    EXPECT_TRUE(rig->printer->waitForCommand("ESC @", 2s));
    EXPECT_GE(rig->printer->transcriptCount(), before + 8);
}

#ifdef KT_E2E_USB
INSTANTIATE_TEST_SUITE_P(Usb, AgainstTheEmulator,
                         ::testing::Values(Case{Transport::Usb, "KT-4000"}), nameOf);
#else
INSTANTIATE_TEST_SUITE_P(Transports, AgainstTheEmulator,
                         ::testing::Values(Case{Transport::Tcp, "KT-4000"},
                                           Case{Transport::Serial, "KT-4000"},
                                           Case{Transport::Parallel, "KT-7700"}),
                         nameOf);
#endif

} // namespace
} // namespace kt::test
