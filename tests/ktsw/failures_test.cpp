// Every failure of a printer command has its exit code, one line on
// standard error and, with --json, an error object.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "ktsw_process.h"
#include "pty_pair.h"
#include "reserved_port.h"
#include "tcp_peer.h"

namespace kt::test {
namespace {

struct Expectation {
    int status;
    std::string message; // part of the stderr line
};

void expectFailure(const std::string &what, const std::vector<std::string> &args,
                   const Expectation &expected, bool asNobody = false)
{
    std::vector<std::string> withJson = args;
    withJson.push_back("--json");
    const Outcome run = ktsw(withJson, asNobody);
    EXPECT_EQ(run.status, expected.status) << what << ": " << run.err;
    EXPECT_NE(run.err.find(expected.message), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << what << ": " << run.err;
    const nlohmann::json error = run.json()["error"];
    EXPECT_EQ(error["code"], expected.status) << what;
    EXPECT_TRUE(error["message"].is_string()) << what;
}

std::unique_ptr<emu::Emulator> faultyPrinter(const emu::FaultOptions &faults,
                                             const std::string &maker = "")
{
    emu::EmulatorOptions o;
    o.model = "KT-4000";
    o.faults = faults;
    if (!maker.empty())
        o.overrides = {{"maker", maker}};
    return std::make_unique<emu::Emulator>(o);
}

TEST(KtswFailures, MisbehavingPrinters)
{
    emu::FaultOptions silent, garbage, drop;
    silent.silent = true;
    garbage.garbage = true;
    drop.dropAfter = 2; // answers the maker, then hangs up after the model query
    struct Case {
        const char *what;
        emu::FaultOptions faults;
        std::string maker;
        Expectation expected;
    };
    const Case cases[] = {
        {"silent", silent, "", {4, "no answer to the maker query"}},
        {"wrong maker", {}, "ACME PRINTERS", {6, "not a printer of the maker"}},
        // An answer that would retitle the terminal is shown, not obeyed.
        {"escape sequence", {}, "\x1B]0;OWNED\x07", {6, "answered '\\x1B]0;OWNED\\x07'"}},
        {"garbage", garbage, "", {6, "not a printer of the maker"}},
        {"dropped", drop, "", {4, "closed the connection"}},
    };
    for (const Case &c : cases) {
        const auto printer = faultyPrinter(c.faults, c.maker);
        const std::string port = local(printer->listenTcp());
        for (const char *command : {"info", "read"})
            expectFailure(std::string(c.what) + " " + command,
                          {command, "--port", port, "--timeout", "300"}, c.expected);
    }
}

TEST(KtswFailures, PortsThatCannotBeReached)
{
    kt::test::ReservedPort refused;
    kt::test::TcpPeer mute; // accepts and never answers
    const struct {
        const char *what;
        std::vector<std::string> args;
        Expectation expected;
    } cases[] = {
        {"refused", {"info", "--port", local(refused.port)}, {3, "connection refused"}},
        {"mute peer",
         {"info", "--port", local(mute.port()), "--timeout", "200"},
         {4, "no answer to the maker query"}},
        {"mute peer status",
         {"status", "--port", local(mute.port()), "--timeout", "200"},
         {4, "no answer to the status request"}},
        {"no such device", {"info", "--port", "/dev/kt-no-such-port"}, {3, "no such device"}},
        {"bad TCP port", {"info", "--port", "127.0.0.1:0"}, {2, "1 to 65535"}},
        {"bad product id", {"info", "--port", "usb:12345"}, {2, "hex digits"}},
        {"write-only", {"read", "--port", "LPT1"}, {2, "write-only"}},
        {"bad timeout", {"info", "--port", "x", "--timeout", "0"}, {2, "--timeout"}},
    };
    for (const auto &c : cases)
        expectFailure(c.what, c.args, c.expected);
}

TEST(KtswFailures, PermissionDeniedNamesTheGroup)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to become the user nobody";
    kt::test::PtyPair pty;
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0600), 0);
    expectFailure("serial", {"info", "--port", pty.slavePath()},
                  {3, "permission denied: add your user to the group dialout"}, true);
}

} // namespace
} // namespace kt::test
