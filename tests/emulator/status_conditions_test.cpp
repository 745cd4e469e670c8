// Status conditions: what DLE EOT 1 to 4 answer for each one over TCP and
// a pseudo-terminal, print data that is parsed but not printed while the
// cover is open or the paper is out, and the control socket that changes
// them while the printer runs.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "core/parameters.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
using test::operator+;

constexpr int kReplyMs = 10000;

struct StatusCase {
    const char *conditions;
    Bytes bytes; // the answers to DLE EOT 1, 2, 3 and 4
};

const std::vector<StatusCase> kStatusCases{
    {"none", hex("12 12 12 12")},
    {"paper-near-end", hex("12 12 12 1E")},
    {"paper-end", hex("1A 32 12 72")},
    {"cover-open", hex("1A 16 12 12")},
    {"offline", hex("1A 12 12 12")},
    {"error", hex("1A 52 12 12")},
    {"paper-near-end,paper-end,cover-open,offline,error", hex("1A 76 12 7E")},
};

Bytes statusBytes(int fd)
{
    Bytes out;
    for (std::uint8_t n = 1; n <= 4; ++n)
        out = out + test::ask(fd, hex("10 04") + Bytes{n}, 1, kReplyMs);
    return out;
}

EmulatorOptions withConditions(const char *list)
{
    EmulatorOptions o;
    o.conditions = *parseConditions(list);
    return o;
}

TEST(EmulatorStatus, EachConditionIsAnsweredOverTcp)
{
    for (const auto &c : kStatusCases) {
        SCOPED_TRACE(c.conditions);
        Emulator emu(withConditions(c.conditions));
        const int fd = test::connectTcp(emu.listenTcp());
        ASSERT_GE(fd, 0);
        EXPECT_EQ(statusBytes(fd), c.bytes);
        ::close(fd);
    }
}

TEST(EmulatorStatus, EachConditionIsAnsweredOverAPseudoTerminal)
{
    Emulator emu(EmulatorOptions{});
    const int fd = test::openSerial(emu.openPty());
    ASSERT_GE(fd, 0);
    // Set while running, one after another on the same line.
    for (const auto &c : kStatusCases) {
        SCOPED_TRACE(c.conditions);
        const Conditions wanted = *parseConditions(c.conditions);
        for (const auto &info : conditionTable())
            emu.setCondition(info.condition, wanted.has(info.condition));
        EXPECT_EQ(statusBytes(fd), c.bytes);
    }
    ::close(fd);
}

TEST(EmulatorStatus, ARollThatRanOutReportsPaperEnd)
{
    EmulatorOptions o;
    o.maxPaperRows = 40;
    Emulator emu(o);
    auto c = emu.connect();
    EXPECT_EQ(c->send(hex("10 04 04")), hex("12"));
    c->send(hex("'A' 0A 'B' 0A"));
    EXPECT_EQ(c->send(hex("10 04 04")), hex("72"));
    EXPECT_EQ(c->send(hex("10 04 01")), hex("1A"));
}

TEST(EmulatorStatus, ConditionListsAreCheckedByName)
{
    for (const char *bad :
         {"cover", "cover-open,", "cover-open,,error", "Cover-Open", "none,error"}) {
        SCOPED_TRACE(bad);
        const auto parsed = parseConditions(bad);
        ASSERT_FALSE(parsed);
        EXPECT_NE(parsed.error().find("unknown status condition"), std::string::npos);
    }
    EXPECT_EQ(describeConditions(*parseConditions("error,cover-open")), "cover-open,error");
    EXPECT_EQ(describeConditions(*parseConditions("")), "none");
}

// A receipt sent while printing is stopped is taken and parsed, so what
// follows it is understood, but nothing reaches the paper or the counters.
TEST(EmulatorStatus, CoverOpenOrPaperEndStopsPrintingButNotParsing)
{
    const Bytes receipt = hex("'TOTAL 12.50' 0A 1B 64 02 1D 28 41 02 00 00 02 1D 56 01");
    for (const char *stopping : {"cover-open", "paper-end", "cover-open,paper-end"}) {
        SCOPED_TRACE(stopping);
        Emulator emu(withConditions(stopping));
        auto c = emu.connect();
        EXPECT_EQ(c->send(receipt + hex("1D 49 43")), hex("'_KT-4000' 00"));
        EXPECT_EQ(emu.paper().height, 0);
        EXPECT_EQ(emu.parameter(param::CutCount), "5402");
        EXPECT_EQ(emu.parameter(param::LinesPrinted), "48211");
        for (const auto &info : conditionTable())
            emu.setCondition(info.condition, false);
        c->send(receipt);
        EXPECT_GT(emu.paper().height, 0) << "printing resumes once the condition is cleared";
        EXPECT_EQ(emu.paper().cutRows.size(), 2u) << "the self-test page cuts too";
    }
    // The other conditions let the printer print.
    for (const char *printing : {"paper-near-end", "offline", "error"}) {
        Emulator emu(withConditions(printing));
        emu.connect()->send(receipt);
        EXPECT_GT(emu.paper().height, 0) << printing;
    }
}

TEST(EmulatorControl, CommandsChangeAndReportTheConditions)
{
    test::TempDir dir;
    const auto path = test::in(dir, "control");
    Emulator emu(EmulatorOptions{});
    emu.listenControl(path);
    test::ControlClient control(path);
    ASSERT_TRUE(control.connected());
    struct Step {
        const char *line;
        std::string answer;
    };
    for (const auto &s : std::vector<Step>{
             {"status", "ok none"},
             {"status cover-open on", "ok cover-open"},
             {"status paper-near-end on", "ok paper-near-end,cover-open"},
             {"printer 1 status cover-open off", "ok paper-near-end"},
             {"  status   error   on  ", "ok paper-near-end,error"},
             {"status error", "error: status takes CONDITION on|off"},
             {"status door-open on",
              "error: unknown condition door-open (conditions: "
              "paper-near-end, paper-end, cover-open, offline, error)"},
             {"printer 2 status", "error: no printer 2 (1 to 1)"},
             {"printer 1 printer 1 status", "error: printer takes N and a command"},
             {"", "error: empty command (try help)"},
             {"reboot", "error: unknown command reboot (try help)"},
         }) {
        SCOPED_TRACE(s.line);
        EXPECT_EQ(control.ask(s.line), s.answer);
    }
    EXPECT_EQ(control.ask("help").rfind("ok commands: status;", 0), 0u);
    EXPECT_EQ(emu.connect()->send(hex("10 04 04")), hex("1E"));
    EXPECT_EQ(emu.connect()->send(hex("10 04 02")), hex("52"));
}

TEST(EmulatorControl, AnOverlongLineEndsOnlyThatConversation)
{
    test::TempDir dir;
    const auto path = test::in(dir, "control");
    Emulator emu(EmulatorOptions{});
    emu.listenControl(path);
    {
        test::ControlClient flood(path);
        EXPECT_EQ(flood.ask(std::string(5000, 'x')), "error: line longer than 1024 bytes");
    }
    test::ControlClient next(path);
    EXPECT_EQ(next.ask("status"), "ok none");
}

TEST(EmulatorControl, PathsInUseOrNotSocketsAreLeftAlone)
{
    test::TempDir dir;
    const auto file = test::in(dir, "file");
    test::writeFile(file, "keep");
    Emulator emu(EmulatorOptions{});
    EXPECT_THROW(emu.listenControl(file), EmulatorError);
    EXPECT_EQ(test::readFile(file), "keep");

    const auto path = test::in(dir, "control");
    emu.listenControl(path);
    Emulator other(EmulatorOptions{});
    EXPECT_THROW(other.listenControl(path), EmulatorError) << "someone listens there";
    EXPECT_THROW(other.listenControl(test::in(dir, std::string(200, 'n'))), EmulatorError);
    emu.stop();
    EXPECT_FALSE(std::filesystem::exists(path)) << "the socket goes with the emulator";

    // A socket left behind by an emulator that is gone is taken over.
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    ::close(stale);
    other.listenControl(path);
    EXPECT_EQ(test::ControlClient(path).ask("status"), "ok none");
}

} // namespace
} // namespace kt::emu
