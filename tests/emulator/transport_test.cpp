// The transports: TCP, the pseudo-terminal serial line, and the
// kt-emulator program with its ready lines and exit.
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "core/parameters.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
using test::operator+; // NOLINT(misc-unused-using-decls)

constexpr int kReplyMs = 10000; // bound on any answer; the usual one takes a millisecond

void sendAll(int fd, const Bytes &b)
{
    ASSERT_EQ(::write(fd, b.data(), b.size()), static_cast<ssize_t>(b.size()));
}

TEST(EmulatorTcp, ServesClientsOneAfterAnother)
{
    Emulator emu(EmulatorOptions{});
    const std::uint16_t port = emu.listenTcp();
    ASSERT_NE(port, 0);
    for (int client = 0; client < 2; ++client) {
        const int fd = test::connectTcp(port);
        ASSERT_GE(fd, 0);
        sendAll(fd, hex("1D 49 43"));
        EXPECT_EQ(test::readFor(fd, 9, kReplyMs), hex("'_KT-4000' 00"));
        ::close(fd);
    }
}

// The library's parameter write on TCP: connect, send, close.
TEST(EmulatorTcp, AnUnterminatedWriteEndsWithTheConnection)
{
    EmulatorOptions o;
    o.timing.dataGap = std::chrono::milliseconds(60000); // only the close can end it
    Emulator emu(o);
    const std::uint16_t port = emu.listenTcp();
    for (const Bytes &b : {hex("1D 67 75 6E 6C 00"), hex("1D 67 38 05 '42'")}) {
        const int fd = test::connectTcp(port);
        sendAll(fd, b);
        ::shutdown(fd, SHUT_WR);
        EXPECT_TRUE(test::waitForClose(fd, kReplyMs)) << "the printer closes after the client";
        ::close(fd);
    }
    ASSERT_TRUE(emu.waitForTranscript(2, std::chrono::milliseconds(kReplyMs)));
    EXPECT_EQ(emu.parameter(5), "42");
}

TEST(EmulatorTcp, DropAfterClosesTheClient)
{
    EmulatorOptions o;
    o.faults.dropAfter = 1;
    Emulator emu(o);
    const int fd = test::connectTcp(emu.listenTcp());
    sendAll(fd, hex("1D 49 42 1D 49 43"));
    EXPECT_EQ(test::readFor(fd, 14, kReplyMs), hex("'_TALVORIN POS' 00"));
    EXPECT_TRUE(test::waitForClose(fd, kReplyMs));
    ::close(fd);
}

TEST(EmulatorTcp, ABusyAddressIsAClearError)
{
    Emulator first(EmulatorOptions{});
    const std::uint16_t port = first.listenTcp();
    Emulator second(EmulatorOptions{});
    EXPECT_THROW(second.listenTcp("127.0.0.1", port), EmulatorError);
    EXPECT_THROW(second.listenTcp("localhost", 0), EmulatorError);
}

TEST(EmulatorPty, LinkServesAsASerialPortAcrossReopening)
{
    test::TempDir dir;
    const auto link = test::in(dir, "ttyPrinter");
    Emulator emu(EmulatorOptions{});
    EXPECT_EQ(emu.openPty(link), link.string());
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    for (int round = 0; round < 2; ++round) {
        const int fd = test::openSerial(link.string());
        ASSERT_GE(fd, 0);
        // Byte by byte, as the utility sends on a serial port.
        for (std::uint8_t b : hex("1D 67 34 27 00"))
            sendAll(fd, {b});
        EXPECT_EQ(test::readFor(fd, 3, kReplyMs), hex("'_2' 00"));
        ::close(fd);
    }
    emu.stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)))
        << "the link goes with the emulator";
}

TEST(EmulatorPty, ARegularFileIsNotReplacedByTheLink)
{
    test::TempDir dir;
    test::writeFile(test::in(dir, "keep"), "data");
    Emulator emu(EmulatorOptions{});
    EXPECT_THROW(emu.openPty(test::in(dir, "keep")), EmulatorError);
    EXPECT_EQ(test::readFile(test::in(dir, "keep")), "data");
}

// The program, started as tests of other parts start it.
class EmulatorProgram : public ::testing::Test {
protected:
    // `withErrors`: the program's standard error comes on the same pipe.
    void start(std::vector<std::string> args, bool withErrors = false)
    {
        int out[2];
        ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
        pid_ = ::fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            if (withErrors)
                ::dup2(out[1], 2);
            std::vector<char *> argv{const_cast<char *>(KT_EMULATOR_PATH)};
            for (auto &a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(KT_EMULATOR_PATH, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        stdout_ = out[0];
    }
    // The next line of the program's output, waiting at most kReplyMs.
    std::string line()
    {
        std::string s;
        for (;;) {
            const auto b = test::readFor(stdout_, 1, kReplyMs);
            if (b.empty() || b[0] == '\n')
                return s;
            s += static_cast<char>(b[0]);
        }
    }
    int stop(int signal)
    {
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The exit code once the program ends by itself within `ms`; -1 if not.
    int exitWithin(int ms)
    {
        for (int waited = 0; waited < ms; waited += 10) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10000);
        }
        return -1;
    }
    void TearDown() override
    {
        if (pid_ > 0)
            stop(SIGKILL);
        if (stdout_ >= 0)
            ::close(stdout_);
    }
    pid_t pid_ = -1;
    int stdout_ = -1;
};

TEST_F(EmulatorProgram, PrintsReadyLinesAnswersAndSavesAtSigterm)
{
    test::TempDir dir;
    start({"--model", "MV550", "--tcp", "127.0.0.1:0", "--pty", test::in(dir, "tty").string(),
           "--state", test::in(dir, "state").string(), "--paper",
           test::in(dir, "paper.png").string(), "--transcript", test::in(dir, "log").string()});
    const std::string tcp = line();
    const std::string prefix = "kt-emulator: MV550 ready on tcp 127.0.0.1:";
    ASSERT_EQ(tcp.rfind(prefix, 0), 0u) << tcp;
    EXPECT_EQ(line(), "kt-emulator: MV550 ready on pty " + test::in(dir, "tty").string());
    const int fd
        = test::connectTcp(static_cast<std::uint16_t>(std::stoi(tcp.substr(prefix.size()))));
    ASSERT_GE(fd, 0);
    sendAll(fd, hex("1D 67 75 6E 6C 00 1D 67 38 2A 39 00 00 00 1D 67 6C 63 6B 00 1D 67 34 2A 00"));
    EXPECT_EQ(test::readFor(fd, 3, kReplyMs), hex("'_9' 00"));
    ::close(fd);
    EXPECT_EQ(stop(SIGTERM), 0);
    EXPECT_NE(test::readFile(test::in(dir, "state")).find("soft_switch_4=9\n"), std::string::npos);
    EXPECT_EQ(test::readFile(test::in(dir, "paper.png")).substr(1, 3), "PNG");
    EXPECT_NE(test::readFile(test::in(dir, "log")).find("(write soft switch 4) \"9\" | applied"),
              std::string::npos);
}

TEST_F(EmulatorProgram, RefusesACorruptStateFile)
{
    test::TempDir dir;
    test::writeFile(test::in(dir, "state"), "garbage\n");
    start({"--tcp", "127.0.0.1:0", "--state", test::in(dir, "state").string()});
    EXPECT_EQ(line(), "");
    EXPECT_EQ(exitWithin(kReplyMs), 2);
    EXPECT_EQ(test::readFile(test::in(dir, "state")), "garbage\n");
}

// A FIFO given as the state file ends the start at once instead of waiting
// for a writer with the stop signals blocked.
TEST_F(EmulatorProgram, RefusesAFifoAsStateFileAtOnce)
{
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(test::in(dir, "state").c_str(), 0600), 0);
    start({"--tcp", "127.0.0.1:0", "--state", test::in(dir, "state").string()});
    EXPECT_EQ(exitWithin(kReplyMs), 2);
}

// The tcp port of a ready line "kt-emulator: MODEL ready on tcp HOST:PORT".
std::uint16_t readyPort(const std::string &line)
{
    const auto colon = line.rfind(':');
    return colon == std::string::npos
        ? 0
        : static_cast<std::uint16_t>(std::stoi(line.substr(colon + 1)));
}

// The status byte DLE EOT n, asked until it is `want` (a signal takes
// effect a little later) or the bound passes.
Bytes statusUntil(std::uint16_t port, std::uint8_t n, const Bytes &want)
{
    Bytes got;
    for (int attempt = 0; attempt < 100 && got != want; ++attempt) {
        if (attempt)
            ::usleep(20000);
        const int fd = test::connectTcp(port);
        got = test::ask(fd, hex("10 04") + Bytes{n}, 1, kReplyMs);
        ::close(fd);
    }
    return got;
}

TEST_F(EmulatorProgram, StartsWithItsStatusAndSignalsOpenTheCoverAndTakeThePaper)
{
    start({"--tcp", "127.0.0.1:0", "--status", "paper-near-end"});
    const std::uint16_t port = readyPort(line());
    ASSERT_NE(port, 0);
    EXPECT_EQ(statusUntil(port, 4, hex("1E")), hex("1E"));
    ::kill(pid_, SIGUSR1);
    EXPECT_EQ(statusUntil(port, 2, hex("16")), hex("16")) << "cover open";
    ::kill(pid_, SIGUSR2);
    EXPECT_EQ(statusUntil(port, 4, hex("7E")), hex("7E")) << "paper out";
    ::kill(pid_, SIGUSR1);
    ::kill(pid_, SIGUSR2);
    EXPECT_EQ(statusUntil(port, 2, hex("12")), hex("12")) << "cover closed, paper back";
    EXPECT_EQ(stop(SIGTERM), 0);
}

TEST_F(EmulatorProgram, AFleetPrintsAReadyLinePerPrinterThenTheCount)
{
    start({"--fleet", "3", "--tcp", "127.0.0.1:0", "--models", "KT-4000,MV550", "--fleet-faults",
           "silent:1"});
    const std::vector<std::string> starts{
        "kt-emulator: printer 1 KT-4000 serial KT4K2103000001 faults silent ready on tcp "
        "127.0.0.1:",
        "kt-emulator: printer 2 MV550 serial MV552201000002 ready on tcp 127.0.0.1:",
        "kt-emulator: printer 3 KT-4000 serial KT4K2103000003 ready on tcp 127.0.0.1:"};
    std::vector<std::uint16_t> ports;
    for (const auto &want : starts) {
        const std::string got = line();
        EXPECT_EQ(got.rfind(want, 0), 0u) << got;
        ports.push_back(readyPort(got));
    }
    EXPECT_EQ(line(), "kt-emulator: ready: 3 printers");
    const int fd = test::connectTcp(ports[1]);
    EXPECT_EQ(test::ask(fd, hex("1D 49 43"), 7, kReplyMs), hex("'_MV550' 00"));
    ::close(fd);
    EXPECT_EQ(stop(SIGTERM), 0);
}

// The USB mode end to end: the library inside the testbed finds the
// printer by its ids and talks to it.
TEST_F(EmulatorProgram, UsbModeRunsAClientInsideItsTestbed)
{
    // With a paper file the serving thread starts before the program holds
    // its signals: the client's end must still reach the program.
    test::TempDir dir;
    start({"--usb", "--model", "KT-9100X", "--status", "cover-open", "--paper",
           test::in(dir, "roll.png").string(), "--", KT_USB_CLIENT_PROBE});
    EXPECT_EQ(line(), "kt-emulator: KT-9100X ready on usb /dev/usb/lp0 (5e1b:0384)");
    EXPECT_EQ(line(), "model KT-9100X");
    EXPECT_EQ(line(), "status 1a");
    EXPECT_EQ(exitWithin(kReplyMs), 0);
}

TEST_F(EmulatorProgram, UsbModePassesTheClientsExitCodeOrTellsHowToRunOne)
{
    start({"--usb", "--", "sh", "-c", "exit 7"});
    EXPECT_EQ(line(), "kt-emulator: KT-4000 ready on usb /dev/usb/lp0 (5e1b:3330)");
    EXPECT_EQ(exitWithin(kReplyMs), 7);
    ::close(stdout_);

    start({"--usb", "--model", "MV550"});
    EXPECT_EQ(line(), "kt-emulator: MV550 ready on usb /dev/usb/lp0 (5e1b:0380)");
    const std::string hint = line();
    EXPECT_EQ(
        hint.rfind("kt-emulator: run a client inside the testbed with: env UMOCKDEV_DIR=/", 0), 0u)
        << hint;
    EXPECT_NE(hint.find(" LD_PRELOAD=libumockdev-preload.so.0"), std::string::npos) << hint;
    EXPECT_EQ(stop(SIGTERM), 0);
    const auto from = hint.find("UMOCKDEV_DIR=") + std::string("UMOCKDEV_DIR=").size();
    const std::string dir = hint.substr(from, hint.find(' ', from) - from);
    EXPECT_FALSE(std::filesystem::exists(dir)) << "the testbed goes with the program: " << dir;
}

// The order: the backup's model and settings, then --model and --set.
TEST_F(EmulatorProgram, StartsFromABackupWithModelAndSetWinningOverIt)
{
    test::TempDir dir;
    const auto file = test::in(dir, "backup.json");
    test::writeFile(file, R"({"format": 1, "created": "2024-05-01T10:20:30Z",
        "printer": {"maker": "TALVORIN POS", "model": "KT-7000", "firmware": "V9.99",
                    "serial_number": "SN-FROM-BACKUP"},
        "settings": {"switch_1": 17, "switch_2": 34, "code_page": 17,
                     "code_page_name": "CYRILLIC", "font_8x16": true, "density": 2}})");
    struct Case {
        std::vector<std::string> extra;
        std::string model, switch2;
    };
    for (const auto &c : std::vector<Case>{{{}, "KT-7000", "34"},
                                           {{"--set", "soft_switch_2=99"}, "KT-7000", "99"},
                                           {{"--model", "MV550"}, "MV550", "34"}}) {
        std::vector<std::string> args{"--tcp", "127.0.0.1:0", "--from-backup", file.string()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        start(args);
        const int fd = test::connectTcp(readyPort(line()));
        struct Query {
            const char *bytes;
            std::string value;
        };
        for (const auto &q : std::vector<Query>{{"1D 49 43", c.model},
                                                {"1D 49 41", "V9.99"},
                                                {"1D 49 44", "SN-FROM-BACKUP"},
                                                {"1D 67 34 27 00", "17"},
                                                {"1D 67 34 28 00", c.switch2},
                                                {"1D 67 34 21", "17"},
                                                {"1D 67 34 24", "CYRILLIC"},
                                                {"1D 67 34 25 00", "ON"},
                                                {"1D 67 34 30 00", "2"}})
            EXPECT_EQ(test::ask(fd, hex(q.bytes), q.value.size() + 2, kReplyMs),
                      hex("'_" + q.value + "' 00"))
                << q.bytes;
        ::close(fd);
        EXPECT_EQ(stop(SIGTERM), 0);
        ::close(stdout_);
        stdout_ = -1;
    }
}

TEST_F(EmulatorProgram, ARefusedBackupExitsWithTwoNamingTheReason)
{
    test::TempDir dir;
    const auto file = test::in(dir, "backup.json");
    for (const auto &[content, reason] : std::vector<std::pair<std::string, std::string>>{
             {R"({"format": 2})", "newer than the format 1"},
             {R"({"format": 1, "created": "2024-05-01T10:20:30Z", "printer": {"model": "KT-7000"},
                  "settings": {"switch_1": 300}})",
              "settings.switch_1 is 300"},
             {R"({"format": 1, "created": "2024-05-01T10:20:30Z", "printer": {"model": "XY"},
                  "settings": {}})",
              "the backup's model \"XY\" is no catalogue model"},
             {R"({"format": 1, "created": "2024-05-01T10)", "is truncated"},
         }) {
        test::writeFile(file, content);
        start({"--tcp", "127.0.0.1:0", "--from-backup", file.string()}, true);
        EXPECT_NE(line().find(reason), std::string::npos) << reason;
        EXPECT_EQ(exitWithin(kReplyMs), 2);
        ::close(stdout_);
        stdout_ = -1;
    }
}

TEST_F(EmulatorProgram, BadArgumentsExitWithTwoNamingTheCause)
{
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"--status", "door-open"},
             {"--tcp", "127.0.0.1"},
             {"--late", "soon"},
             {"--set", "=1"},
             {"--set", "no_such_key=1"},
             {"--model", "KT-0000"},
             {"--bogus"},
             {"--fleet", "0"},
             {"--fleet", "2", "--pty", "/tmp/x"},
             {"--fleet", "2", "--fleet-faults", "silent:3"},
             {"--fleet", "2", "--models", "KT-4000,KT-0000"},
             {"--fleet-addresses", "127.0.0.9-127.0.0.2"},
             {"--models", "KT-4000"},
             {"--usb", "--model", "KT-1700"},
             {"--fleet", "2", "--usb"},
             {"--", "true"},
         }) {
        SCOPED_TRACE(args.front() + (args.size() > 1 ? " " + args[1] : ""));
        start(args);
        EXPECT_EQ(exitWithin(kReplyMs), 2);
        ::close(stdout_);
        stdout_ = -1;
    }
}

TEST_F(EmulatorProgram, VersionAndHelp)
{
    start({"--version"});
    EXPECT_EQ(line(), "kt-emulator 1.4.0.7");
    EXPECT_EQ(exitWithin(kReplyMs), 0);
    ::close(stdout_);
    start({"--help"});
    const std::string help = test::text(test::readFor(stdout_, 1 << 20, kReplyMs));
    for (const char *needed :
         {"--status", "--control", "soft_switch_1", "0..255", "cover-open", "SIGUSR1"})
        EXPECT_NE(help.find(needed), std::string::npos) << needed;
    EXPECT_EQ(exitWithin(kReplyMs), 0);
}

} // namespace
} // namespace kt::emu
