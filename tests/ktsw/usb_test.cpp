// ktsw finds the emulator as a USB printer: a umockdev usblp node with the
// maker's vendor id. Runs under umockdev-wrapper; the ktsw process inherits
// the testbed.
#include <cstdio>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "ktsw_process.h"
#include "usb_testbed.h"

namespace kt::test {
namespace {

class KtswOverUsb : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!kt::test::UsbTestbed::available())
            GTEST_SKIP() << "needs umockdev-wrapper";
        bed_ = std::make_unique<kt::test::UsbTestbed>();
        emu::EmulatorOptions o;
        o.model = "KT-9100X";
        emu_ = std::make_unique<emu::Emulator>(o);
        node_ = bed_->addPrinter(*emu_->profile().usbProductId);
        emu_->serveFd(bed_->deviceFd(node_));
    }
    void TearDown() override
    {
        if (emu_)
            emu_->stop(); // before the testbed takes the node away
    }
    std::unique_ptr<kt::test::UsbTestbed> bed_;
    std::unique_ptr<emu::Emulator> emu_;
    std::string node_;
};

TEST_F(KtswOverUsb, EveryUsbFormReachesThePrinter)
{
    for (const std::string &port : {std::string("usb"), std::string("usb:0384"), node_}) {
        const Outcome info = ktsw({"info", "--port", port, "--json"});
        ASSERT_EQ(info.status, 0) << port << ": " << info.err;
        EXPECT_EQ(info.json()["model"], "KT-9100X") << port;
        EXPECT_EQ(info.json()["serial_number"], emu_->profile().serial);
    }
}

TEST_F(KtswOverUsb, ReadWriteStatusAndPrint)
{
    const Outcome write
        = ktsw({"write", "--port", "usb", "--switch", "4", "--set", "1=OFF", "--json"});
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_EQ(emu_->parameter(42), "1");
    const Outcome read = ktsw({"read", "--port", "usb", "--switch", "4", "--json"});
    EXPECT_EQ(read.json()["switches"]["4"]["value"], 1);
    EXPECT_EQ(ktsw({"status", "--port", "usb"}).status, 0);
    EXPECT_EQ(ktsw({"selftest", "--port", "usb"}).status, 0);
    EXPECT_TRUE(emu_->waitForCommand("GS ( A", std::chrono::seconds(5)));
}

TEST_F(KtswOverUsb, BackupRestoreAndDiffRoundTrip)
{
    const std::string file = ::testing::TempDir() + "/ktsw-usb-backup.json";
    ASSERT_EQ(ktsw({"backup", "--port", "usb", "-o", file}).status, 0);
    ASSERT_EQ(ktsw({"write", "--port", "usb", "--switch", "3", "--value", "200"}).status, 0);
    ASSERT_EQ(ktsw({"set", "--port", "usb", "--charset", "8"}).status, 0);
    EXPECT_EQ(ktsw({"diff", "--port", "usb", file}).status, 1);
    const Outcome restore = ktsw({"restore", "--port", "usb", file, "--json"});
    ASSERT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(emu_->parameter(41), "0");
    EXPECT_EQ(emu_->parameter(34), "0");
    EXPECT_EQ(ktsw({"diff", "--port", "usb", file}).status, 0);
    std::remove(file.c_str());
}

TEST_F(KtswOverUsb, AnotherProductIsNoSuchDevice)
{
    const Outcome run = ktsw({"info", "--port", "usb:0338"});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("no such device"), std::string::npos) << run.err;
}

} // namespace
} // namespace kt::test
