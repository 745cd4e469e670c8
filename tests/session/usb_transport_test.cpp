// The exchange over USB through the printer link library, against a
// umockdev usblp printer. Runs under umockdev-wrapper.
#include <gtest/gtest.h>

#include "fd_server.h"
#include "real_rig.h"
#include "usb_testbed.h"

namespace kt::test {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::bytes;

const session::Command kQuery{0x1D, 0x49, 0x43};

class UsbThroughTheLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::UsbTestbed::available())
            GTEST_SKIP() << "needs umockdev-wrapper";
        bed = std::make_unique<test::UsbTestbed>();
        node = bed->addPrinter(0x0384);
        rig.choose("USB");
    }

    std::unique_ptr<test::UsbTestbed> bed;
    std::string node;
    FakeClock clock;
    RealRig rig{clock};
};

TEST_F(UsbThroughTheLibrary, WritesTheQueryAndReadsTheReplyWithTwoFillerBytes)
{
    test::FdServer printer(bed->deviceFd(node), [](const Bytes &chunk) {
        return chunk == Bytes(kQuery.begin(), kQuery.end()) ? bytes(std::string("_KT-4000\0", 9))
                                                            : Bytes{};
    });
    EXPECT_EQ(rig.exchange(kQuery), "KT-4000");
    ASSERT_TRUE(printer.waitForBytes(5, 2s));
    EXPECT_EQ(printer.received(), (Bytes{0x1D, 0x49, 0x43, 0x00, 0x20}));
    EXPECT_EQ(clock.sleeps, (std::vector<int>{70, 70, 70}));
    EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(UsbThroughTheLibrary, SelfTestGoesOutWholeFollowedByTheReadFillers)
{
    test::FdServer printer(bed->deviceFd(node));
    rig.session.handlers().cmd01_Click();
    ASSERT_TRUE(printer.waitForBytes(9, 2s));
    EXPECT_EQ(printer.received(), (Bytes{0x1D, 0x28, 0x41, 0x02, 0x00, 0x00, 0x02, 0x00, 0x20}));
}

TEST(UsbWithoutPrinter, GivesNoReplyAndNoMessage)
{
    if (!test::UsbTestbed::available())
        GTEST_SKIP() << "needs umockdev-wrapper";
    test::UsbTestbed empty;
    FakeClock clock;
    RealRig rig(clock);
    rig.choose("USB");
    EXPECT_EQ(rig.exchange(kQuery), "");
    EXPECT_TRUE(rig.messages.shown.empty()) << "the library's failures are not reported";
}

} // namespace
} // namespace kt::test
