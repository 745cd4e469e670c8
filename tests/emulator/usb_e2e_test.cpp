// The library finds the emulator as a USB printer: a umockdev usblp node
// with vendor 5e1b and the model's product id, served by the emulator core.
// Runs under umockdev-wrapper.
#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "core/emulator.h"
#include "emulator_test_util.h"
#include "library_scenarios.h"
#include "usb_testbed.h"

namespace kt::emu {
namespace {

using test::hex;

class LibraryOverUsb : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!kt::test::UsbTestbed::available())
            GTEST_SKIP() << "needs umockdev-wrapper";
        bed_ = std::make_unique<kt::test::UsbTestbed>();
        EmulatorOptions o;
        o.model = "KT-9100X";
        emu_ = std::make_unique<Emulator>(o);
        const std::string node = bed_->addPrinter(*emu_->profile().usbProductId);
        emu_->serveFd(bed_->deviceFd(node));
    }
    void TearDown() override
    {
        if (emu_)
            emu_->stop(); // before the testbed takes the node away
    }
    std::unique_ptr<kt::test::UsbTestbed> bed_;
    std::unique_ptr<Emulator> emu_;
    const test::LibraryPort port_{"usb", 9600};
};

TEST_F(LibraryOverUsb, SendxQuery) { test::expectSendxQuery(*emu_, port_); }
TEST_F(LibraryOverUsb, RwktReads) { test::expectRwktReads(*emu_, port_); }
TEST_F(LibraryOverUsb, RwktWriteAndReadBack) { test::expectRwktWriteAndReadBack(*emu_, port_); }
TEST_F(LibraryOverUsb, LogoDefinedAndPrintedDotForDot) { test::expectLogoOnPaper(*emu_, port_); }

// The service utility's two calls on USB: the command, then a filler byte
// and a read of 32 bytes; a second read with a blank finds nothing more.
TEST_F(LibraryOverUsb, UtilityReadShapeAndDiscoveredModel)
{
    const auto cmd = hex("1D 67 34 27 00");
    char none[1] = {};
    ASSERT_EQ(sendx(cmd.data(), "usb", 9600, 0, 5, 0, 0, none), KT_OK);
    char model[16] = {};
    getModel(model);
    EXPECT_STREQ(model, "KT-9100X");
    std::this_thread::sleep_for(std::chrono::milliseconds(70));
    char reply[32] = {};
    ASSERT_EQ(sendx("", "usb", 9600, 0, 1, 5, 32, reply), KT_OK);
    EXPECT_EQ(std::string(reply, 5), std::string("_146\0", 5));
    char more[32] = {};
    ASSERT_EQ(sendx(" ", "usb", 9600, 0, 1, 5, 32, more), KT_OK);
    EXPECT_EQ(more[0], 0);
    // The fillers reached the printer and disturbed nothing.
    ASSERT_TRUE(emu_->waitForTranscript(3, std::chrono::milliseconds(5000)));
    EXPECT_EQ(emu_->paper().height, 0);
    EXPECT_EQ(emu_->connect()->send(hex("1D 67 34 27 00")), hex("'_146' 00"));
}

} // namespace
} // namespace kt::emu
