// USB discovery and sendx on USB against umockdev usblp nodes. Runs under
// umockdev-wrapper.
#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "fd_server.h"
#include "log_capture.h"
#include "usb_models.h"
#include "usb_testbed.h"

using namespace std::chrono_literals;
using kt::test::Bytes;
using kt::test::bytes;

namespace {

class UsbLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!kt::test::UsbTestbed::available())
            GTEST_SKIP() << "needs umockdev-wrapper";
        bed = std::make_unique<kt::test::UsbTestbed>();
    }
    void TearDown() override { setModel("kt4000"); }

    std::string model() const
    {
        char name[9] = {};
        getModel(name);
        return name;
    }
    // The fragments that discovery searched, in order, from the log.
    static std::vector<std::string> searched(const std::string &log)
    {
        std::vector<std::string> out;
        const std::string marker = " in openDev, id=0, type=";
        for (auto at = log.find(marker); at != std::string::npos; at = log.find(marker, at + 1)) {
            const auto start = at + marker.size();
            out.push_back(log.substr(start, log.find(' ', start) - start));
        }
        return out;
    }

    std::unique_ptr<kt::test::UsbTestbed> bed;
};

} // namespace

TEST_F(UsbLink, FindsEachModelAndNamesIt)
{
    for (const auto &row : kt::usb::modelTable()) {
        bed.reset(); // one testbed at a time
        bed = std::make_unique<kt::test::UsbTestbed>();
        kt::test::UsbTestbed &one = *bed;
        const std::string pid = std::string(row.fragment).substr(13);
        const std::string node
            = one.addPrinter(static_cast<std::uint16_t>(std::stoul(pid, nullptr, 16)));
        kt::test::FdServer printer(one.deviceFd(node));
        EXPECT_EQ(sendx("hi", "usb", 9600, 0, 2, 0, 0, nullptr), KT_OK) << row.model;
        EXPECT_TRUE(printer.waitForBytes(2, 2s)) << row.model;
        EXPECT_EQ(printer.received(), bytes("hi"));
        EXPECT_EQ(model(), row.model);
    }
}

TEST_F(UsbLink, SearchesTheSelectedRowFirstThenTheTableInOrder)
{
    kt::test::LogCapture log;
    const std::string node = bed->addPrinter(0x0384);
    kt::test::FdServer printer(bed->deviceFd(node));
    EXPECT_EQ(sendx("x", "USB", 9600, 0, 1, 0, 0, nullptr), KT_OK);
    std::vector<std::string> expected{"vid_5e1b&pid_3330"};
    for (const auto &row : kt::usb::modelTable())
        expected.emplace_back(row.fragment);
    EXPECT_EQ(searched(log.text()), expected);
    EXPECT_EQ(model(), "KT-9100X");
    EXPECT_NE(log.text().find(" openDev kt0384=0x"), std::string::npos);
}

TEST_F(UsbLink, SelectedModelIsSearchedFirstAndNamed)
{
    kt::test::LogCapture log;
    // Two printers: a KT-4000 (row 1) and an MV550 (row 15).
    bed->addPrinter(0x3330);
    const std::string mv550 = bed->addPrinter(0x0380);
    kt::test::FdServer printer(bed->deviceFd(mv550));
    setModel("mv550");
    EXPECT_EQ(sendx("x", "usb", 9600, 0, 1, 0, 0, nullptr), KT_OK);
    EXPECT_TRUE(printer.waitForBytes(1, 2s)) << "the MV550 was opened";
    EXPECT_EQ(searched(log.text()), std::vector<std::string>{"vid_5e1b&pid_0380"});
    EXPECT_EQ(model(), "MV550");
}

TEST_F(UsbLink, NoPrinterFailsAndNamesTheLastRow)
{
    kt::test::LogCapture log;
    bed->addPrinter(0x3330, 0x1234); // another maker's device
    EXPECT_EQ(sendx("x", "usb", 9600, 0, 1, 0, 0, nullptr), KT_ERR_OPEN);
    EXPECT_EQ(KT_lastError(nullptr, 0), ENODEV);
    EXPECT_EQ(model(), "KT-9100X");
    EXPECT_NE(log.text().find(" openDev kt0384=0xffffffffffffffff, id=10000 \n"), std::string::npos)
        << log.text();
    char buffer[16] = {};
    EXPECT_EQ(rwKT(4, buffer, "usb", 9600, 0), KT_ERR_OPEN);
    EXPECT_EQ(KT_lastError(nullptr, 0), ENODEV);
}

TEST_F(UsbLink, SendxChunksAndReadsTheReply)
{
    kt::test::LogCapture log;
    const std::string node = bed->addPrinter(0x3330);
    kt::test::FdServer printer(bed->deviceFd(node), [](const Bytes &in) {
        return in.size() == 1 ? bytes("_KT-4000") : Bytes{};
    });
    const std::string data(1300, 'u');
    EXPECT_EQ(sendx(data.data(), "usb", 9600, 0, 1300, 0, 0, nullptr), KT_OK);
    ASSERT_TRUE(printer.waitForBytes(1300, 2s));
    EXPECT_EQ(log.chunkSizes(), (std::vector<long>{512, 512, 276}));
    EXPECT_EQ(printer.received(), bytes(data));

    // The reply read of the utility: one filler byte, 5 ms, 32 bytes.
    char reply[33] = {};
    EXPECT_EQ(sendx(std::string(1, '\0').data(), "usb", 9600, 0, 1, 5, 32, reply), KT_OK);
    EXPECT_STREQ(reply, "_KT-4000");
    const std::string t = log.text();
    EXPECT_NE(t.find("\n in sendx: port=usb, baud=9600, hdv=0, len=1, tm="), std::string::npos);
    EXPECT_TRUE(t.ends_with(" \n\n sendx=1, port=usb, baud=9600, dw=8, nob=8 \n"
                            " 5f  4b  54  2d  34  30  30  30 \n"))
        << t;
}

TEST_F(UsbLink, RwktReadsTheModelName)
{
    const std::string node = bed->addPrinter(0x0378);
    kt::test::FdServer printer(bed->deviceFd(node), [](const Bytes &in) {
        return in == bytes("\x1d\x49\x43") ? bytes("_KT-9100") : Bytes{};
    });
    char buffer[16] = {};
    EXPECT_EQ(rwKT(4, buffer, "usb", 9600, 0), KT_OK);
    EXPECT_STREQ(buffer, "_KT-9100");
}

TEST_F(UsbLink, SilentPrinterReadIsBounded)
{
    const std::string node = bed->addPrinter(0x3330);
    kt::test::FdServer printer(bed->deviceFd(node));
    char reply[8] = "unread";
    const auto start = kt::test::Clock::now();
    EXPECT_EQ(sendx("x", "usb", 9600, 0, 1, 5, 7, reply), KT_OK);
    EXPECT_LT(kt::test::Clock::now() - start, 3s);
    EXPECT_STREQ(reply, "unread");
}
