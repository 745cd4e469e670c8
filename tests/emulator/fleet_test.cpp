// Fleets: many independent printers in one process, each with its own
// address, state, model, serial number and faults.
#include "core/fleet.h"

#include <set>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/parameters.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
using test::operator+;

constexpr int kReplyMs = 10000;

const Bytes kUnlock = hex("1D 67 75 6E 6C 00"), kLock = hex("1D 67 6C 63 6B 00");

// Writes soft switch 3 of the printer at the other end.
Bytes writeSwitch3(int value)
{
    return kUnlock + hex("1D 67 38 29 '" + std::to_string(value) + "' 00") + kLock;
}

std::string readReply(int fd)
{
    std::string out;
    for (;;) {
        const auto b = test::readFor(fd, 1, kReplyMs);
        if (b.empty())
            return out + "(no answer)";
        if (b[0] == 0)
            return out;
        out += static_cast<char>(b[0]);
    }
}

// 200 printers, each talked to by its own client while all the others are
// talked to as well: every printer answers with its own model and serial,
// and a setting written to one reaches no other.
TEST(EmulatorFleet, TwoHundredPrintersAnswerConcurrentClients)
{
    FleetOptions o;
    o.count = 200;
    o.models = {"KT-4000", "KT-9100X", "MV550"};
    Fleet fleet(o);
    ASSERT_EQ(fleet.size(), 200u);
    std::set<std::uint16_t> ports;
    std::set<std::string> serials;
    for (const auto &m : fleet.members()) {
        ports.insert(m.port);
        serials.insert(m.serial);
    }
    EXPECT_EQ(ports.size(), 200u);
    EXPECT_EQ(serials.size(), 200u);

    constexpr int kThreads = 8;
    std::vector<std::vector<std::string>> problems(kThreads);
    std::vector<std::thread> clients;
    for (int t = 0; t < kThreads; ++t)
        clients.emplace_back([&, t] {
            // Each thread opens all its connections first, so that every
            // printer has a client waiting at the same time.
            std::vector<std::pair<const FleetMember *, int>> open;
            for (std::size_t i = t; i < fleet.size(); i += kThreads) {
                const FleetMember &m = fleet.members()[i];
                open.emplace_back(&m, test::connectTcp(m.port));
            }
            for (auto &[m, fd] : open)
                test::sendAll(fd,
                              writeSwitch3(m->number) + hex("1D 49 43 1D 49 44 1D 67 34 29 00"));
            for (auto &[m, fd] : open) {
                std::string got = readReply(fd);
                for (int more = 0; more < 2; ++more)
                    got += "|" + readReply(fd);
                const std::string want
                    = "_" + m->model + "|_" + m->serial + "|_" + std::to_string(m->number);
                if (got != want)
                    problems[static_cast<std::size_t>(t)].push_back(got + " instead of " + want);
                ::close(fd);
            }
        });
    for (auto &c : clients)
        c.join();
    for (const auto &p : problems)
        EXPECT_TRUE(p.empty()) << p.size() << " printers answered wrongly, e.g. " << p.front();
    for (std::size_t i = 0; i < fleet.size(); ++i)
        ASSERT_EQ(fleet.printer(i).parameter(param::SoftSwitch1 + 2), std::to_string(i + 1));
}

TEST(EmulatorFleet, FaultsAreHandedOutInPrinterOrderOrByASeed)
{
    struct Case {
        const char *spec;
        std::optional<std::uint32_t> seed;
        std::vector<std::string> faults; // of printers 1, 2, ...
    };
    const std::vector<Case> cases{
        {"", std::nullopt, {"none", "none", "none", "none", "none"}},
        {"silent:2,drop-after-3:1",
         std::nullopt,
         {"silent", "silent", "drop after 3 commands", "none", "none"}},
        {"late-20:1,forget-writes:4",
         std::nullopt,
         {"late 20 ms", "forget writes", "forget writes", "forget writes", "forget writes"}},
        {"garbage:0,no-header:5", std::nullopt, std::vector<std::string>(5, "no header")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.spec);
        const auto assigned = assignFleetFaults(c.spec, 5, FaultOptions{}, c.seed);
        ASSERT_TRUE(assigned) << assigned.error();
        std::vector<std::string> got;
        for (const auto &f : *assigned)
            got.push_back(describeFaults(f));
        EXPECT_EQ(got, c.faults);
    }
    // A seed picks other printers, the same ones every time, as many as asked.
    auto pick = [](std::uint32_t seed) {
        std::vector<int> silent;
        const auto assigned = *assignFleetFaults("silent:10", 100, FaultOptions{}, seed);
        for (std::size_t i = 0; i < assigned.size(); ++i)
            if (assigned[i].silent)
                silent.push_back(static_cast<int>(i + 1));
        return silent;
    };
    EXPECT_EQ(pick(7), pick(7));
    EXPECT_EQ(pick(7).size(), 10u);
    EXPECT_NE(pick(7), pick(8));
    EXPECT_NE(pick(7), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // The base faults stay on every printer.
    FaultOptions late;
    late.lateMs = 5;
    EXPECT_EQ(describeFaults((*assignFleetFaults("silent:1", 2, late, std::nullopt))[1]),
              "late 5 ms");

    for (const char *bad : {"silent", "silent:", "silent:x", "silent:6", "silent:3,garbage:3",
                            "loud:1", "silent:1,"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(assignFleetFaults(bad, 5, FaultOptions{}, std::nullopt));
    }
}

TEST(EmulatorFleet, FaultyPrintersMisbehaveAndTheOthersDoNot)
{
    FleetOptions o;
    o.count = 3;
    o.faults = "silent:1,no-header:1";
    Fleet fleet(o);
    std::vector<Bytes> answers;
    for (const auto &m : fleet.members()) {
        const int fd = test::connectTcp(m.port);
        answers.push_back(test::ask(fd, hex("1D 49 43"), 9, 300));
        ::close(fd);
    }
    EXPECT_EQ(answers[0], Bytes{});
    EXPECT_EQ(answers[1], hex("'KT-4000' 00"));
    EXPECT_EQ(answers[2], hex("'_KT-4000' 00"));
}

TEST(EmulatorFleet, LoopbackAddressesServeOnePrinterEach)
{
    FleetOptions o;
    o.addresses = *parseAddressRange("127.0.0.2-127.0.0.4", 1000);
    o.count = 3;
    Fleet fleet(o);
    for (const auto &m : fleet.members()) {
        SCOPED_TRACE(m.host);
        EXPECT_EQ(m.host, "127.0.0." + std::to_string(m.number + 1));
        const int fd = test::connectTcp(m.port, kReplyMs, m.host);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(test::ask(fd, hex("1D 49 44"), m.serial.size() + 2, kReplyMs),
                  hex("'_" + m.serial + "' 00"));
        ::close(fd);
    }
}

TEST(EmulatorFleet, EachPrinterKeepsItsStateAndReceiptsApart)
{
    test::TempDir dir;
    const auto states = test::in(dir, "states");
    FleetOptions o;
    o.count = 3;
    o.stateDir = states;
    o.paperDir = test::in(dir, "paper");
    {
        Fleet fleet(o);
        auto c = fleet.printer(1).connect();
        c->send(writeSwitch3(77) + hex("'RECEIPT' 0A 1B 69"));
        ASSERT_EQ(fleet.finish().error(), "");
    }
    EXPECT_TRUE(std::filesystem::exists(test::in(dir, "paper") / "printer-0002/receipt-0001.png"));
    EXPECT_TRUE(std::filesystem::is_empty(test::in(dir, "paper") / "printer-0001"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(states), {}), 3);
    EXPECT_NE(test::readFile(states / "printer-0002.state").find("soft_switch_3=77\n"),
              std::string::npos);
    Fleet again(o);
    EXPECT_EQ(again.printer(0).parameter(41), "0");
    EXPECT_EQ(again.printer(1).parameter(41), "77");
    EXPECT_EQ(again.printer(2).parameter(41), "0");
}

TEST(EmulatorFleet, ControlSocketAddressesOnePrinterOrAll)
{
    test::TempDir dir;
    FleetOptions o;
    o.count = 3;
    Fleet fleet(o);
    fleet.listenControl(test::in(dir, "control"));
    test::ControlClient control(test::in(dir, "control"));
    auto ask = [&control](const std::string &line) { return control.ask(line); };
    EXPECT_EQ(ask("printer 2 status cover-open on"), "ok cover-open");
    EXPECT_EQ(ask("status"), "ok 1=none 2=cover-open 3=none");
    EXPECT_EQ(ask("status paper-end on"), "ok 1=paper-end 2=paper-end,cover-open 3=paper-end");
    EXPECT_EQ(ask("printer 4 status"), "error: no printer 4 (1 to 3)");
    EXPECT_EQ(fleet.printer(1).connect()->send(hex("10 04 02")), hex("36"));
    EXPECT_EQ(fleet.printer(2).connect()->send(hex("10 04 02")), hex("32"));
}

TEST(EmulatorFleet, SetUpProblemsNameTheCause)
{
    struct Case {
        const char *what;
        FleetOptions options;
        const char *error;
    };
    FleetOptions none, tooMany, badModel, lastPort, fewAddresses;
    none.count = 0;
    tooMany.count = 2;
    tooMany.faults = "silent:3";
    badModel.count = 2;
    badModel.models = {"KT-4000", "KT-0000"};
    lastPort.count = 2;
    lastPort.port = 65535;
    fewAddresses.count = 3;
    fewAddresses.addresses = {"127.0.0.2"};
    for (const auto &c : std::vector<Case>{
             {"no printers", none, "a fleet has 1 to 65535 printers"},
             {"faults", tooMany, "more printers than the 2 there are"},
             {"model", badModel, "printer 2: unknown model KT-0000"},
             {"ports", lastPort, "ports 65535 to 65536 do not all exist"},
             {"addresses", fewAddresses, "3 printers but 1 addresses"},
         }) {
        SCOPED_TRACE(c.what);
        try {
            Fleet fleet(c.options);
            ADD_FAILURE() << "no error";
        } catch (const EmulatorError &e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
    }
}

TEST(EmulatorFleet, AddressRangesAndSerialNumbers)
{
    EXPECT_EQ(*parseAddressRange("127.0.0.254-127.0.1.1", 10),
              (std::vector<std::string>{"127.0.0.254", "127.0.0.255", "127.0.1.0", "127.0.1.1"}));
    EXPECT_EQ(*parseAddressRange("127.0.0.9-127.0.0.9", 1), std::vector<std::string>{"127.0.0.9"});
    for (const char *bad : {"127.0.0.2", "127.0.0.2-", "127.0.0.2-127.0.0.x", "127.0.0.3-127.0.0.2",
                            "127.0.0.1-127.0.0.20", "a-b-c", "::1-::2"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseAddressRange(bad, 10));
    }
    EXPECT_EQ(fleetSerial("KT4K2103000417", 1), "KT4K2103000001");
    EXPECT_EQ(fleetSerial("KT4K2103000417", 1234567), "KT4K21031234567");
    EXPECT_EQ(fleetSerial("SN", 12), "SN000012");
}

} // namespace
} // namespace kt::emu
