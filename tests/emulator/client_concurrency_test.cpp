// Clients are served at once: a client that stalls holds up no one, and the
// drop fault ends a conversation, never the port it came on.
#include <atomic>
#include <fcntl.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::hex;
// The check misses calls of an operator brought in by a using-declaration.
using test::operator+; // NOLINT(misc-unused-using-decls)

// Generous for a loaded two-core machine; an answer takes about a millisecond.
constexpr int kAnswerBoundMs = 5000;
// How long an answer that must not come is waited for.
constexpr int kSilenceMs = 300;

const Bytes kModel = hex("1D 49 43");
const Bytes kModelAnswer = hex("'_KT-4000' 00");
const Bytes kMaker = hex("1D 49 42");

void sendAll(int fd, const Bytes &b)
{
    ASSERT_EQ(::write(fd, b.data(), b.size()), static_cast<ssize_t>(b.size()));
}

TEST(EmulatorClients, StallingClientsHoldUpNoOne)
{
    EmulatorOptions o;
    o.timing.commandTimeout = 60s; // the half-sent command stays half-sent
    Emulator emu(o);
    const std::uint16_t port = emu.listenTcp();
    const int idle = test::connectTcp(port);
    const int halfWay = test::connectTcp(port);
    ASSERT_GE(idle, 0);
    ASSERT_GE(halfWay, 0);
    sendAll(halfWay, hex("1D 67"));

    constexpr int kClients = 50;
    std::atomic<int> answered{0};
    std::atomic<long long> slowestMs{0};
    std::vector<std::thread> clients;
    clients.reserve(kClients);
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back([&] {
            const auto start = std::chrono::steady_clock::now();
            const int fd = test::connectTcp(port, kAnswerBoundMs);
            if (fd < 0)
                return;
            if (::write(fd, kModel.data(), kModel.size()) == static_cast<ssize_t>(kModel.size())
                && test::readFor(fd, kModelAnswer.size(), kAnswerBoundMs) == kModelAnswer)
                ++answered;
            ::close(fd);
            const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count();
            for (long long seen = slowestMs;
                 ms > seen && !slowestMs.compare_exchange_weak(seen, ms);) { }
        });
    }
    for (auto &t : clients)
        t.join();
    EXPECT_EQ(answered, kClients);
    EXPECT_LT(slowestMs, kAnswerBoundMs);

    // The stalled clients are still served when they go on.
    sendAll(halfWay, hex("34 27 00"));
    EXPECT_EQ(test::readFor(halfWay, 3, kAnswerBoundMs), hex("'_2' 00"));
    sendAll(idle, kModel);
    EXPECT_EQ(test::readFor(idle, kModelAnswer.size(), kAnswerBoundMs), kModelAnswer);
    ::close(idle);
    ::close(halfWay);
}

TEST(EmulatorClients, AnIdleClientIsDisconnectedAfterTheIdleTimeout)
{
    EmulatorOptions o;
    o.timing.idleTimeout = 200ms;
    Emulator emu(o);
    const int fd = test::connectTcp(emu.listenTcp());
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(test::waitForClose(fd, kAnswerBoundMs));
    ::close(fd);
}

// A way to talk to the printer over one of its transports.
struct Line {
    virtual ~Line() = default;
    // The descriptor of the current conversation, opened anew if the last
    // one was closed.
    virtual int fd() = 0;
    virtual bool closesOnDrop() const = 0;
    // The printer closed the conversation: the next one needs a new one.
    virtual void hangUp() { }
};

struct TcpLine : Line {
    explicit TcpLine(Emulator &emu) : port(emu.listenTcp()) { }
    ~TcpLine() override { hangUp(); }
    int fd() override
    {
        if (client < 0)
            client = test::connectTcp(port);
        return client;
    }
    void hangUp() override
    {
        if (client >= 0)
            ::close(client);
        client = -1;
    }
    bool closesOnDrop() const override { return true; }
    std::uint16_t port;
    int client = -1;
};

struct PtyLine : Line {
    explicit PtyLine(Emulator &emu)
        : client(::open(emu.openPty().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        termios t{};
        ::tcgetattr(client, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(client, TCSANOW, &t);
    }
    ~PtyLine() override { ::close(client); }
    int fd() override { return client; }
    bool closesOnDrop() const override { return false; }
    int client;
};

// A served descriptor, as the device side of a USB node is.
struct DescriptorLine : Line {
    explicit DescriptorLine(Emulator &emu)
    {
        int sv[2];
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv);
        emu.serveFd(sv[0], true);
        client = sv[1];
    }
    ~DescriptorLine() override { ::close(client); }
    int fd() override { return client; }
    bool closesOnDrop() const override { return false; }
    int client = -1;
};

struct DropCase {
    const char *transport;
    std::unique_ptr<Line> (*open)(Emulator &);
};

class DropAfter : public ::testing::TestWithParam<DropCase> { };

TEST_P(DropAfter, EndsTheConversationAndThePortGoesOnServing)
{
    EmulatorOptions o;
    o.faults.dropAfter = 1;
    Emulator emu(o);
    auto line = GetParam().open(emu);
    // Two commands at once: the first is answered, the second is not.
    sendAll(line->fd(), kModel + kMaker);
    EXPECT_EQ(test::readFor(line->fd(), 64, kSilenceMs), kModelAnswer);
    const auto closedByThePrinter = [&line] {
        EXPECT_TRUE(test::waitForClose(line->fd(), kAnswerBoundMs));
        line->hangUp();
    };
    if (line->closesOnDrop())
        closedByThePrinter();
    std::this_thread::sleep_for(200ms); // the line goes quiet: the conversation is over

    // A later command starts a new conversation and is answered; the one
    // after it, sent once the answer came, is the one dropped.
    for (int conversation = 0; conversation < 2; ++conversation) {
        SCOPED_TRACE(conversation);
        sendAll(line->fd(), kModel);
        EXPECT_EQ(test::readFor(line->fd(), 64, kSilenceMs + kSilenceMs), kModelAnswer);
        if (line->closesOnDrop()) {
            closedByThePrinter();
            continue;
        }
        sendAll(line->fd(), kMaker);
        EXPECT_EQ(test::readFor(line->fd(), 64, kSilenceMs), Bytes{})
            << "the command after the first is dropped";
        std::this_thread::sleep_for(200ms);
    }
}

INSTANTIATE_TEST_SUITE_P(Transports, DropAfter,
                         ::testing::Values(DropCase{"tcp",
                                                    [](Emulator &e) -> std::unique_ptr<Line> {
                                                        return std::make_unique<TcpLine>(e);
                                                    }},
                                           DropCase{"pty",
                                                    [](Emulator &e) -> std::unique_ptr<Line> {
                                                        return std::make_unique<PtyLine>(e);
                                                    }},
                                           DropCase{"descriptor",
                                                    [](Emulator &e) -> std::unique_ptr<Line> {
                                                        return std::make_unique<DescriptorLine>(e);
                                                    }}),
                         [](const ::testing::TestParamInfo<DropCase> &c) {
                             return std::string(c.param.transport);
                         });

} // namespace
} // namespace kt::emu
