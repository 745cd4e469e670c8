// sendx and rwKT on TCP against a loopback peer, and the bounded connect.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "log_capture.h"
#include "port_tcp.h"
#include "reserved_port.h"
#include "tcp_peer.h"

using namespace std::chrono_literals;
using kt::test::Bytes;
using kt::test::bytes;

namespace {

constexpr const char *kLoopback = "127.0.0.1";
const kt::port::Address kLoopbackAddress{127, 0, 0, 1};

} // namespace

TEST(TcpLink, ChunksOf512AndPacedByTheMarkQuery)
{
    kt::test::LogCapture log;
    kt::test::TcpPeer printer;
    const std::string data(1300, 'd');
    const auto start = kt::test::Clock::now();
    EXPECT_EQ(sendx(data.data(), kLoopback, printer.port(), 0, 1300, 0, 0, nullptr), KT_OK);
    const auto elapsed = kt::test::Clock::now() - start;
    ASSERT_TRUE(printer.waitForBytes(1300, 2s));
    EXPECT_EQ(printer.received(), bytes(data));
    EXPECT_EQ(log.chunkSizes(), (std::vector<long>{512, 512, 276}));
    // The third chunk cannot leave before two 20 ms pauses.
    EXPECT_GE(printer.reads().back().at - start, 40ms);
    // One mark query before each later chunk, none before the first.
    EXPECT_EQ(log.numbers(R"( k=(\d+), skrv=)"), (std::vector<long>{0, 1, 1}));
    // Closing waits 1 ms per 7 bytes sent: 1300 / 7 = 185 ms.
    EXPECT_GE(elapsed, 40ms + 185ms);
}

TEST(TcpLink, ReadsOneReply)
{
    kt::test::TcpPeer printer([](const Bytes &) { return bytes("_146"); });
    char reply[32] = {};
    EXPECT_EQ(sendx("\x1d\x67\x34\x27", kLoopback, printer.port(), 0, 4, 5, sizeof reply, reply),
              KT_OK);
    EXPECT_STREQ(reply, "_146");
    EXPECT_EQ(printer.accepted(), 1);
}

TEST(TcpLink, SilentPeerGivesNoReplyWithinTheBound)
{
    kt::test::TcpPeer printer;
    char reply[8] = "unread";
    const auto start = kt::test::Clock::now();
    EXPECT_EQ(sendx("x", kLoopback, printer.port(), 0, 1, 5, sizeof reply, reply), KT_OK);
    EXPECT_LT(kt::test::Clock::now() - start, 5s);
    EXPECT_STREQ(reply, "unread");
}

TEST(TcpLink, ConnectionIsClosedAfterEveryCall)
{
    kt::test::TcpPeer printer;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(sendx("ab", kLoopback, printer.port(), 0, 2, 0, 0, nullptr), KT_OK);
    ASSERT_TRUE(printer.waitForBytes(6, 2s));
    EXPECT_EQ(printer.accepted(), 3);
    for (int i = 0; i < 200 && printer.closed() < 3; ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(printer.closed(), 3);
}

TEST(TcpLink, OpenFailuresGiveOneAtOnce)
{
    kt::test::TcpPeer printer;
    const auto start = kt::test::Clock::now();
    for (const char *bad : {"127.0.0.256", " 127.0.0.1", "127.0.0", "127.0.0.1.5", "127.0.0.1x"})
        EXPECT_EQ(sendx("x", bad, printer.port(), 0, 1, 0, 0, nullptr), KT_ERR_OPEN) << bad;
    for (int32_t badPort : {0, -1, 65536, 70000 + printer.port()})
        EXPECT_EQ(sendx("x", kLoopback, badPort, 0, 1, 0, 0, nullptr), KT_ERR_OPEN) << badPort;
    EXPECT_LT(kt::test::Clock::now() - start, 1s);
    EXPECT_EQ(printer.accepted(), 0);
}

TEST(TcpConnect, RefusedConnectGivesUpWithinItsBudget)
{
    kt::test::ReservedPort closedPort;
    const auto start = kt::test::Clock::now();
    EXPECT_EQ(kt::port::connectTCP(kLoopbackAddress, closedPort.port, 300), -1);
    EXPECT_LT(kt::test::Clock::now() - start, 2s);
}

TEST(TcpConnect, UnansweredConnectGivesUpWithinItsBudget)
{
    // A listener whose queue is full drops further connection requests, so
    // the connect gets no answer at all.
    kt::test::ReservedPort full;
    ASSERT_EQ(::listen(full.fd, 0), 0);
    std::vector<int> queued;
    for (int i = 0; i < 4; ++i) {
        const int fd = kt::port::connectTCP(kLoopbackAddress, full.port, 200);
        if (fd < 0)
            break;
        queued.push_back(fd);
    }
    const auto start = kt::test::Clock::now();
    const int fd = kt::port::connectTCP(kLoopbackAddress, full.port, 300);
    EXPECT_LT(kt::test::Clock::now() - start, 2s);
    if (fd >= 0)
        ::close(fd);
    for (int q : queued)
        ::close(q);
    EXPECT_LT(queued.size(), 4u) << "the queue never filled";
}

TEST(TcpConnect, RetriesWithAFreshSocketUntilThePrinterListens)
{
    kt::test::ReservedPort later;
    std::thread opener([&] {
        std::this_thread::sleep_for(100ms);
        ::listen(later.fd, 1);
    });
    const int fd = kt::port::connectTCP(kLoopbackAddress, later.port, 3000);
    opener.join();
    EXPECT_GE(fd, 0);
    if (fd >= 0)
        ::close(fd);
}

TEST(TcpLink, RwktWaitsAndReadsTheReply)
{
    kt::test::TcpPeer printer(
        [](const Bytes &in) { return in == bytes("\x10\x04\x01") ? bytes("\x16") : Bytes{}; });
    char buffer[16] = {};
    const auto start = kt::test::Clock::now();
    EXPECT_EQ(rwKT(101, buffer, kLoopback, printer.port(), 0), KT_OK);
    EXPECT_GE(kt::test::Clock::now() - start, 400ms);
    EXPECT_EQ(buffer[0], '\x16');
    EXPECT_EQ(printer.received(), bytes("\x10\x04\x01"));
}
