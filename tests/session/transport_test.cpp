// The exchange over real transports: serial and parallel on a
// pseudo-terminal, TCP on loopback. A test that can, puts the printer's
// reply in place before the exchange reads, so nothing depends on timing.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "fd_server.h"
#include "pty_pair.h"
#include "real_rig.h"
#include "tcp_peer.h"

namespace kt::test {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::bytes;

const session::Command kQuery{0x1D, 0x49, 0x43};

void printerSays(const test::PtyPair &pty, std::string_view text)
{
    ASSERT_EQ(::write(pty.master(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

class SerialOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.choose(pty.slavePath());
        ASSERT_TRUE(rig.session.ports().openPort(pty.slavePath(), true));
        ASSERT_TRUE(rig.messages.shown.empty()) << "a pty has no modem lines: taken as ready";
    }
    // The reply has reached the serial control's buffer.
    void arrived(std::string_view text)
    {
        printerSays(pty, text);
        ASSERT_TRUE(RealRig::eventually(
            [&] { return rig.session.serial().inBufferCount() >= static_cast<int>(text.size()); }));
    }

    test::PtyPair pty;
    test::FdServer printer{pty.master()};
    FakeClock clock;
    RealRig rig{clock};
};

TEST_F(SerialOnPty, SendsTheExactBytesAndReturnsTheReplyWithoutItsHeader)
{
    arrived("_KT-4000");
    EXPECT_EQ(rig.exchange(kQuery), "KT-4000");
    ASSERT_TRUE(printer.waitForBytes(3, 2s));
    EXPECT_EQ(printer.received(), Bytes(kQuery.begin(), kQuery.end()));
}

TEST_F(SerialOnPty, WhatArrivesLateStartsTheNextReply)
{
    arrived("X_12");
    EXPECT_EQ(rig.exchange(kQuery), "X12");
    arrived("3_45"); // "3" is late for the first query, "_45" answers the second
    EXPECT_EQ(rig.exchange(kQuery), "345");
    EXPECT_EQ(rig.exchange(kQuery), "") << "silence";
}

TEST_F(SerialOnPty, AppliesTheLineSettingsOfTheOptionsAndClosesOnRequest)
{
    rig.view.at("com_BR_115200").checked = false;
    rig.view.at("com_PK_NONE").checked = false;
    rig.view.at("com_BR_19200").checked = true;
    rig.view.at("com_PK_EVEN").checked = true;
    ASSERT_TRUE(rig.session.ports().openPort(pty.slavePath(), true));
    EXPECT_EQ(rig.session.ports().serialSettings(), "19200,E,8,1");
    termios line{};
    ASSERT_EQ(::tcgetattr(pty.slave(), &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B19200));
    // (A pseudo-terminal keeps no parity, so only the speed shows here.)

    EXPECT_TRUE(rig.session.ports().openPort(pty.slavePath(), false));
    EXPECT_FALSE(rig.session.serial().portOpen());
}

TEST(SerialOpenFailure, APortThatDoesNotExistCannotBeOpened)
{
    struct Row {
        std::string port, message;
    };
    const Row rows[] = {
        {"COM99", "The COM99 can not OPEN !!\r\r"},
        {"/dev/kt-no-such-port", "The /dev/kt-no-such-port can not OPEN !!\r\r"},
    };
    for (const Row &r : rows) {
        FakeClock clock;
        RealRig rig(clock);
        rig.choose(r.port);
        EXPECT_FALSE(rig.session.ports().openPort(r.port, true));
        ASSERT_EQ(rig.messages.shown.size(), 1u) << r.port;
        EXPECT_EQ(rig.messages.shown[0].text.substr(0, r.message.size()), r.message);
        EXPECT_FALSE(rig.session.serial().portOpen());
    }
}

TEST(ParallelOnPty, WritesTheCommandReadsTheReplyAndIsLeftOpenForWriting)
{
    test::PtyPair pty;
    test::FdServer printer(pty.master());
    FakeClock clock;
    RealRig rig(clock, pty.slavePath());
    rig.choose("LPT1");
    rig.session.ports().openPort("LPT1", true);
    printerSays(pty, "_1.05");
    EXPECT_EQ(rig.exchange(kQuery), "1.05");
    ASSERT_TRUE(printer.waitForBytes(3, 2s));
    EXPECT_EQ(printer.received(), Bytes(kQuery.begin(), kQuery.end()));
    EXPECT_EQ(clock.sleeps, std::vector<int>{60});
    EXPECT_TRUE(rig.session.parallel().isOpen());
    EXPECT_TRUE(rig.messages.shown.empty());

    EXPECT_EQ(rig.exchange({0x1B, 0x40}, "W"), "");
    ASSERT_TRUE(printer.waitForBytes(5, 2s));
    EXPECT_EQ(rig.exchange(kQuery), "") << "a silent printer: the read gives up";
}

class TcpOnLoopback : public ::testing::Test {
protected:
    // A printer that answers once the whole query has come in.
    static test::Responder answering(std::string reply)
    {
        auto got = std::make_shared<Bytes>();
        return [got, reply = std::move(reply)](const Bytes &chunk) {
            got->insert(got->end(), chunk.begin(), chunk.end());
            if (got->size() < 3)
                return Bytes{};
            got->clear();
            return bytes(reply);
        };
    }

    void connectTo(const test::TcpPeer &peer)
    {
        rig.choose("TCP/IP");
        rig.view.at("tcpIP").text = "127.0.0.1";
        rig.view.at("tcpListenPort").text = std::to_string(peer.port());
        ASSERT_TRUE(rig.session.ports().openPort("TCP/IP", true));
        ASSERT_TRUE(RealRig::eventually(
            [&] { return rig.session.socket().state() == session::kSocketConnected; }));
    }

    session::QtClock clock;
    RealRig rig{clock};
};

TEST_F(TcpOnLoopback, SendsTheExactBytesAndKeepsWhatCameBeforeTheHeader)
{
    test::TcpPeer peer(answering("X_12_3"));
    connectTo(peer);
    EXPECT_EQ(rig.exchange(kQuery), "X12_3");
    EXPECT_EQ(peer.received(), Bytes(kQuery.begin(), kQuery.end()));
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_TRUE(rig.session.ports().timer1Enabled());

    rig.session.ports().cmdSTATUS_Click();
    EXPECT_EQ(rig.view.at("txtSTATUS").text, "Connected");
    EXPECT_EQ(rig.view.at("txtSTATUS").colour, (session::Rgb{0, 0, 192}));
}

TEST_F(TcpOnLoopback, ClosingEndsTheConnectionAndStopsTheTimer)
{
    test::TcpPeer peer;
    connectTo(peer);
    EXPECT_TRUE(rig.session.ports().openPort("TCP/IP", false));
    EXPECT_EQ(rig.session.socket().state(), session::kSocketClosed);
    EXPECT_FALSE(rig.session.ports().timer1Enabled());
    EXPECT_EQ(rig.view.at("txtSTATUS").text, "Disconnect");
    EXPECT_TRUE(RealRig::eventually([&] { return peer.closed() == 1; }));
}

TEST_F(TcpOnLoopback, CommandBytesGoOutWithoutWaitingForAcknowledgements)
{
    // The exchange sends one byte at a time; with Nagle's algorithm each
    // byte after the first would wait for the acknowledgement of the last.
    test::TcpPeer peer;
    connectTo(peer);
    int noDelay = 0;
    socklen_t size = sizeof noDelay;
    ASSERT_EQ(::getsockopt(rig.session.socket().socketHandle(), IPPROTO_TCP, TCP_NODELAY, &noDelay,
                           &size),
              0);
    EXPECT_NE(noDelay, 0);
}

TEST(TcpReopen, AnOpenWhileTheLastStillLooksUpItsHostTakesTheNewAddress)
{
    test::TcpPeer first, second;
    FakeClock clock; // no event runs between the two opens
    RealRig rig(clock);
    rig.choose("TCP/IP");
    rig.view.at("tcpIP").text = "localhost";
    rig.view.at("tcpListenPort").text = std::to_string(first.port());
    ASSERT_TRUE(rig.session.ports().openPort("TCP/IP", true));
    ASSERT_EQ(rig.session.socket().state(), 4) << "the host name is being looked up";

    rig.view.at("tcpIP").text = "127.0.0.1";
    rig.view.at("tcpListenPort").text = std::to_string(second.port());
    ASSERT_TRUE(rig.session.ports().openPort("TCP/IP", true));
    ASSERT_TRUE(RealRig::eventually(
        [&] { return rig.session.socket().state() == session::kSocketConnected; }));
    EXPECT_TRUE(RealRig::eventually([&] { return second.accepted() == 1; }));
    EXPECT_EQ(first.accepted(), 0);
}

TEST_F(TcpOnLoopback, NothingIsSentWithoutAConnection)
{
    rig.choose("TCP/IP");
    EXPECT_EQ(rig.exchange(kQuery), "");
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text,
              "Could not send data now, please check lan printer status... 0");
}

} // namespace
} // namespace kt::test
