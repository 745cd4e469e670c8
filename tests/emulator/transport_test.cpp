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

int openSerial(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        termios t{};
        ::tcgetattr(fd, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

TEST(EmulatorPty, LinkServesAsASerialPortAcrossReopening)
{
    test::TempDir dir;
    const auto link = test::in(dir, "ttyPrinter");
    Emulator emu(EmulatorOptions{});
    EXPECT_EQ(emu.openPty(link), link.string());
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    for (int round = 0; round < 2; ++round) {
        const int fd = openSerial(link.string());
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
    void start(std::vector<std::string> args)
    {
        int out[2];
        ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
        pid_ = ::fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            ::dup2(out[1], 1);
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

} // namespace
} // namespace kt::emu
