// sendx and rwKT on a serial port: a pseudo-terminal stands in for the
// printer.
#include <array>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "fd_server.h"
#include "log_capture.h"
#include "pty_pair.h"

using namespace std::chrono_literals;
using kt::test::Bytes;
using kt::test::bytes;

namespace {

class SerialLink : public ::testing::Test {
protected:
    const char *port() const { return pty.slavePath().c_str(); }
    // Lets the serving thread catch up with bytes that are already written.
    Bytes receivedAfter(const kt::test::FdServer &server, std::size_t n) const
    {
        server.waitForBytes(n, 2s);
        return server.received();
    }
    kt::test::PtyPair pty;
};

} // namespace

TEST_F(SerialLink, SendsTheBytesAndReadsNothingWithoutWait)
{
    kt::test::FdServer printer(pty.master(), [](const Bytes &) { return bytes("_x"); });
    const Bytes data = bytes(std::string_view("\x1d\x67\x34\x27\x00", 5));
    char reply[8] = "unread";
    EXPECT_EQ(sendx(data.data(), port(), 9600, 0, 5, 0, sizeof reply, reply), KT_OK);
    EXPECT_EQ(receivedAfter(printer, 5), data);
    EXPECT_STREQ(reply, "unread");
}

TEST_F(SerialLink, ZeroLengthSendsTheTextWithoutTerminator)
{
    kt::test::FdServer printer(pty.master());
    EXPECT_EQ(sendx("ABC", port(), 9600, 0, 0, 0, 0, nullptr), KT_OK);
    // The next open purges the port: let the printer take these bytes first.
    EXPECT_EQ(receivedAfter(printer, 3), bytes("ABC"));
    EXPECT_EQ(sendx("DE", port(), 9600, 0, -4, 0, 0, nullptr), KT_OK);
    EXPECT_EQ(receivedAfter(printer, 5), bytes("ABCDE"));
}

TEST_F(SerialLink, ReadsTheReplyAfterTheWait)
{
    kt::test::FdServer printer(pty.master(), [](const Bytes &) { return bytes("_146"); });
    char reply[32] = {};
    EXPECT_EQ(sendx("\x1d\x49\x43", port(), 9600, 0, 3, 50, sizeof reply, reply), KT_OK);
    EXPECT_STREQ(reply, "_146");
}

TEST_F(SerialLink, SilentPrinterLeavesTheReplyBufferAsItWas)
{
    kt::test::FdServer printer(pty.master());
    char reply[8] = "unread";
    EXPECT_EQ(sendx("\x1d\x49\x43", port(), 9600, 0, 3, 20, 7, reply), KT_OK);
    EXPECT_STREQ(reply, "unread");
    // A null reply buffer with a wait reads nothing either.
    EXPECT_EQ(sendx("\x1d\x49\x43", port(), 9600, 0, 3, 20, 7, nullptr), KT_OK);
}

TEST_F(SerialLink, ReplyReadStopsAtTheBufferSize)
{
    kt::test::FdServer printer(pty.master(), [](const Bytes &) { return bytes("0123456789"); });
    char reply[8] = "-------";
    EXPECT_EQ(sendx("x", port(), 9600, 0, 1, 50, 4, reply), KT_OK);
    EXPECT_EQ(std::string(reply, 7), "0123---");
}

TEST_F(SerialLink, CallerHandleIsUsedAndLeftOpen)
{
    kt::test::FdServer printer(pty.master());
    EXPECT_EQ(sendx("hello", "COM99", 9600, pty.slave(), 5, 0, 0, nullptr), KT_OK);
    EXPECT_EQ(receivedAfter(printer, 5), bytes("hello"));
    EXPECT_NE(::fcntl(pty.slave(), F_GETFD), -1);
}

TEST_F(SerialLink, PortInUseFailsToOpen)
{
    const int holder = ::open(port(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(sendx("x", port(), 9600, 0, 1, 0, 0, nullptr), KT_ERR_OPEN);
    ::close(holder);
    EXPECT_EQ(sendx("x", port(), 9600, 0, 1, 0, 0, nullptr), KT_OK);
}

TEST_F(SerialLink, AnyPositiveBaudOpensAndOthersFail)
{
    kt::test::FdServer printer(pty.master());
    EXPECT_EQ(sendx("x", port(), 12345, 0, 1, 0, 0, nullptr), KT_OK)
        << "a rate without a speed constant";
    for (int32_t bad : {0, -9600})
        EXPECT_EQ(sendx("x", port(), bad, 0, 1, 0, 0, nullptr), KT_ERR_OPEN) << bad;
}

TEST_F(SerialLink, OpenFailuresGiveOne)
{
    const std::string tooLong(4000, 'C');
    for (const char *bad : {" usb", "/dev/kt-no-such-port", tooLong.c_str()})
        EXPECT_EQ(sendx("x", bad, 9600, 0, 1, 0, 0, nullptr), KT_ERR_OPEN) << bad;
}

TEST_F(SerialLink, FailedWriteStopsTheSend)
{
    kt::test::LogCapture log;
    const int readOnly = ::open("/dev/null", O_RDONLY);
    const std::string data(1300, 'x');
    EXPECT_EQ(sendx(data.data(), "LPT1", 9600, readOnly, 1300, 10, 0, nullptr), KT_ERR_IO);
    EXPECT_EQ(log.chunkSizes(), std::vector<long>{512});
    ::close(readOnly);
}

TEST_F(SerialLink, WriteToAPrinterThatTakesNothingGivesUp)
{
    // Nobody reads the master: the pseudo-terminal fills and the write
    // must give up after its bound instead of blocking.
    const std::string data(256 * 1024, 'x');
    const auto start = kt::test::Clock::now();
    EXPECT_EQ(sendx(data.data(), port(), 9600, 0, static_cast<int32_t>(data.size()), 0, 0, nullptr),
              KT_ERR_IO);
    EXPECT_LT(kt::test::Clock::now() - start, 10s);
}

TEST_F(SerialLink, SerialOpenIsLogged)
{
    kt::test::LogCapture log;
    kt::test::FdServer printer(pty.master());
    EXPECT_EQ(sendx("x", port(), 9600, 0, 1, 0, 0, nullptr), KT_OK);
    const std::string t = log.text();
    for (const char *line :
         {" in openCOM at ", " setto=1 \n", " PurgeComm()=1, tm=", " gcs=1 \n", " scs=1 \n",
          " GetCommModemState()=", "CTS/DSR test passed", " in settimeout at ",
          " GetCommTimeouts()=1,1,1,1,2000,0 \n", " out settimeout at "})
        EXPECT_NE(t.find(line), std::string::npos) << line;
}

// ---- rwKT ----

namespace {

struct IndexCase {
    int32_t index;
    const char *text; // data for write indices
    std::string_view sent;
};

} // namespace

TEST_F(SerialLink, RwktSendsTheCommandOfEachIndex)
{
    using namespace std::string_view_literals;
    const IndexCase cases[] = {
        {1, "", "\x1d\x67\x34\x01"sv},  {3, "", "\x1d\x49\x42"sv},
        {4, "", "\x1d\x49\x43"sv},      {8, "", "\x1d\x49\x41"sv},
        {9, "", "\x1d\x67\x34\x08"sv},  {11, "", "\x1d\x67\x34\x10"sv},
        {15, "", "\x1d\x67\x34\x14"sv}, {22, "", "\x1d\x67\x34\x1b"sv},
        {23, "", "\x1d\x67\x38\x01"sv}, {101, "", "\x10\x04\x01"sv},
    };
    kt::test::FdServer printer(pty.master());
    for (const IndexCase &c : cases) {
        printer.clear();
        char buffer[16] = {};
        EXPECT_EQ(rwKT(c.index, buffer, port(), 9600, 0), KT_OK) << c.index;
        EXPECT_EQ(receivedAfter(printer, c.sent.size()), bytes(c.sent)) << c.index;
    }
}

TEST_F(SerialLink, RwktWritesTheTextAfterTheCommand)
{
    using namespace std::string_view_literals;
    const IndexCase cases[] = {
        {59, "12",
         "\x1d\x67\x38\x08"
         "12"sv},
        {55, "7",
         "\x1d\x67\x38\x05"
         "7"sv},
        {60, "", "\x1d\x67\x38\x09"sv},
        {73, "1",
         "\x1d\x67\x38\x01"
         "1"sv},
    };
    kt::test::FdServer printer(pty.master(), [](const Bytes &) { return bytes("_reply"); });
    for (const IndexCase &c : cases) {
        printer.clear();
        char buffer[64] = {};
        std::strcpy(buffer, c.text);
        // Write mode talks at 9100 baud, which a serial line cannot be set
        // to: the printer is reached through a caller's handle here.
        EXPECT_EQ(rwKT(c.index, buffer, nullptr, KT_RWKT_SERVICE_VALUE, pty.slave()), KT_OK)
            << c.index;
        EXPECT_EQ(receivedAfter(printer, c.sent.size()), bytes(c.sent)) << c.index;
        EXPECT_STREQ(buffer, c.text) << "a write reads no reply";
    }
}

TEST_F(SerialLink, RwktReadsTheReplyIntoTheBuffer)
{
    kt::test::FdServer printer(pty.master(), [](const Bytes &in) {
        return in == bytes("\x1d\x49\x43") ? bytes("_KT-9100X") : bytes("\x12");
    });
    char buffer[17] = {};
    EXPECT_EQ(rwKT(4, buffer, port(), 9600, 0), KT_OK);
    EXPECT_STREQ(buffer, "_KT-9100X");

    std::memset(buffer, '-', 16);
    EXPECT_EQ(rwKT(101, buffer, port(), 9600, 0), KT_OK);
    EXPECT_EQ(std::string(buffer, 3), "\x12--") << "a short reply leaves the rest";

    std::memset(buffer, '-', 16);
    EXPECT_EQ(rwKT(23, buffer, port(), 9600, 0), KT_OK);
    EXPECT_EQ(std::string(buffer, 16), std::string(16, '-')) << "index 23 reads nothing";
}

TEST_F(SerialLink, RwktReplyNeverPassesSixteenBytes)
{
    kt::test::FdServer printer(pty.master(), [](const Bytes &) { return Bytes(40, 'r'); });
    char buffer[32];
    std::memset(buffer, '-', sizeof buffer);
    EXPECT_EQ(rwKT(1, buffer, port(), 9600, 0), KT_OK);
    EXPECT_EQ(std::string(buffer, 32), std::string(16, 'r') + std::string(16, '-'));
}

TEST_F(SerialLink, RwktWriteModeOpensANamedSerialPortAt9100Baud)
{
    kt::test::FdServer printer(pty.master());
    EXPECT_EQ(rwKT(59, std::string("1").data(), port(), KT_RWKT_SERVICE_VALUE, 0), KT_OK);
    EXPECT_EQ(receivedAfter(printer, 5),
              bytes("\x1d\x67\x38\x08"
                    "1"));
}

TEST_F(SerialLink, RwktArgumentResults)
{
    kt::test::FdServer printer(pty.master());
    const int32_t service = KT_RWKT_SERVICE_VALUE;
    char buffer[64] = {};
    const struct {
        int32_t index;
        char *buffer;
        const char *port;
        int32_t baud, hdv, result;
    } cases[] = {
        {1, nullptr, port(), 9600, 0, KT_ERR_ARGS},
        {59, nullptr, port(), service, 0, KT_ERR_ARGS},
        {0, buffer, port(), 9600, 0, KT_ERR_ARGS},
        {-5, buffer, port(), service, 0, KT_ERR_ARGS},
        {24, buffer, port(), 9600, 0, KT_ERR_ARGS},
        {50, buffer, port(), 9600, 0, KT_ERR_ARGS},
        {59, buffer, port(), 9600, 0, KT_ERR_ARGS},
        {1, buffer, nullptr, 9600, 0, KT_ERR_ARGS},
        {1, buffer, nullptr, 9600, -1, KT_ERR_ARGS},
        {101, buffer, port(), service, 0, KT_ERR_SERVICE},
        {23, buffer, port(), service, 0, KT_ERR_SERVICE},
        {74, buffer, port(), service, 0, KT_ERR_SERVICE},
        {50, buffer, port(), service, 0, KT_ERR_SERVICE},
        {51, buffer, port(), service, 0, KT_ERR_NOCMD},
        {54, buffer, port(), service, 0, KT_ERR_NOCMD},
        {58, buffer, port(), service, 0, KT_ERR_NOCMD},
        {1, buffer, "/dev/kt-no-such-port", 9600, 0, KT_ERR_OPEN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(rwKT(c.index, c.buffer, c.port, c.baud, c.hdv), c.result)
            << c.index << " baud " << c.baud;
    EXPECT_TRUE(printer.received().empty()) << "no failed call may send";
}

TEST_F(SerialLink, RwktTextLongerThanTheCommandBufferIsRefused)
{
    kt::test::FdServer printer(pty.master());
    char fits[64];
    std::memset(fits, '9', 59);
    fits[59] = '\0';
    EXPECT_EQ(rwKT(59, fits, nullptr, KT_RWKT_SERVICE_VALUE, pty.slave()), KT_OK);
    EXPECT_EQ(receivedAfter(printer, 63).size(), 63u);

    printer.clear();
    std::string tooLong(60, '9');
    EXPECT_EQ(rwKT(59, tooLong.data(), nullptr, KT_RWKT_SERVICE_VALUE, pty.slave()), KT_ERR_ARGS);
    std::string huge(100000, '9');
    EXPECT_EQ(rwKT(59, huge.data(), nullptr, KT_RWKT_SERVICE_VALUE, pty.slave()), KT_ERR_ARGS);
    EXPECT_TRUE(printer.received().empty());
}
