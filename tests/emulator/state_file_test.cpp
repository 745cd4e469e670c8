// Settings survive a restart; the state file is never left half-written
// and a bad one is refused without being touched.
#include "core/state_file.h"

#include <csignal>
#include <functional>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "core/emulator.h"
#include "core/parameters.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
// The check misses calls of an operator brought in by a using-declaration.
using test::operator+; // NOLINT(misc-unused-using-decls)

const Bytes kUnlock = hex("1D 67 75 6E 6C 00");
const Bytes kLock = hex("1D 67 6C 63 6B 00");
const Bytes kOneImage = hex("1C 71 01 01 00 01 00 81 42 24 18 18 24 42 81");

EmulatorOptions withState(const std::filesystem::path &file)
{
    EmulatorOptions o;
    o.model = "KT-7000";
    o.stateFile = file;
    return o;
}

TEST(EmulatorStateFile, WrittenSettingsAndImagesSurviveARestart)
{
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    {
        Emulator emu(withState(file));
        auto c = emu.connect();
        c->send(kUnlock + hex("1D 67 38 28 37 37 00 00 1D 67 38 24 'LATIN 2' 00") + kLock
                + kOneImage);
        c->send(hex("'line' 0A 1B 69"));
    }
    Emulator again(withState(file));
    EXPECT_EQ(again.parameter(param::SoftSwitch1 + 1), "77");
    EXPECT_EQ(again.parameter(param::LanguageModel), "LATIN 2");
    EXPECT_EQ(again.parameter(param::CutCount), "5403") << "counters are saved at stop";
    ASSERT_EQ(again.state().images.size(), 1u);
    EXPECT_EQ(again.state().images[0].data, hex("81 42 24 18 18 24 42 81"));
}

TEST(EmulatorStateFile, OverridesWinAndResetStartsFromDefaults)
{
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    {
        Emulator emu(withState(file));
        emu.connect()->send(kUnlock + hex("1D 67 38 27 39 00 00 00 1D 67 38 28 38 00 00 00")
                            + kLock);
    }
    auto o = withState(file);
    o.overrides = {{"soft_switch_1", "100"}};
    EXPECT_EQ(Emulator(o).parameter(param::SoftSwitch1), "100");
    EXPECT_EQ(Emulator(o).parameter(param::SoftSwitch1 + 1), "8");
    auto reset = withState(file);
    reset.resetState = true;
    EXPECT_EQ(Emulator(reset).parameter(param::SoftSwitch1 + 1), "0");
}

struct Corrupt {
    const char *what;
    std::string content;
};

TEST(EmulatorStateFile, ABadFileIsRefusedAndLeftAsItIs)
{
    const std::string good = formatState("KT-7000", defaultState(*findProfile("KT-7000")));
    const std::string body = good.substr(0, good.rfind("end\n"));
    for (const auto &c :
         std::vector<Corrupt>{{"not a state file", "\x89PNG\r\n"},
                              {"cut short", good.substr(0, good.size() / 2)},
                              {"without its end line", body},
                              {"of another model", "format=1\nmodel=KT-4000\nend\n"},
                              {"a switch above 255", body + "soft_switch_1=300\nend\n"},
                              {"an unknown key", body + "colour=red\nend\n"},
                              {"image of the wrong size", body + "image=1 1 00ff\nend\n"},
                              {"a bad escape", body + "language_model=A\\x4\nend\n"},
                              {"text after the end", good + "soft_switch_1=1\n"}}) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const auto file = test::in(dir, "printer.state");
        test::writeFile(file, c.content);
        EXPECT_THROW(Emulator{withState(file)}, EmulatorError);
        EXPECT_EQ(test::readFile(file), c.content);
    }
}

TEST(EmulatorStateFile, MissingFileStartsFromDefaultsAndADirectoryIsRefused)
{
    test::TempDir dir;
    EXPECT_EQ(Emulator(withState(test::in(dir, "new.state"))).parameter(param::SoftSwitch1), "2");
    EXPECT_THROW(Emulator{withState(std::filesystem::path(dir.path()))}, EmulatorError);
}

// Files of the process can grow to `bytes` only, while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// A write that cannot be saved is not applied: the printer and the file
// keep the old value.
TEST(EmulatorStateFile, AWriteThatCannotBeSavedIsNotApplied)
{
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    Emulator emu(withState(file));
    auto c = emu.connect();
    c->send(kUnlock + hex("1D 67 38 27 31 00 00 00"));
    const std::string saved = test::readFile(file);
    {
        const FileSizeLimit noRoom(16); // the temporary file cannot be written
        c->send(hex("1D 67 38 27 39 00 00 00"));
        EXPECT_EQ(emu.parameter(param::SoftSwitch1), "1");
        EXPECT_EQ(emu.transcript().back().outcome.rfind("not applied", 0), 0u);
        EXPECT_EQ(test::readFile(file), saved);
        c->send(kOneImage);
        EXPECT_TRUE(emu.state().images.empty());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file is left";
}

// A process killed at any moment of a save leaves either the old or the
// new state, never a mixture.
TEST(EmulatorStateFile, AKilledSaveLeavesOneWholeState)
{
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    const auto profile = *findProfile("KT-7000");
    PrinterState a = defaultState(profile), b = defaultState(profile);
    a.parameters[param::SoftSwitch1] = "11";
    b.parameters[param::SoftSwitch1] = "22";
    // Large images make each save long enough to be interrupted.
    a.images.push_back(NvImage{64, 64, Bytes(64 * 64 * 8, 0xAA)});
    b.images.push_back(NvImage{64, 64, Bytes(64 * 64 * 8, 0x55)});
    ASSERT_EQ(saveState(file, "KT-7000", a).error(), "");
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                (void)saveState(file, "KT-7000", i % 2 ? a : b);
        }
        ::usleep(static_cast<useconds_t>(1000 + round * 700));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto loaded = loadState(file, "KT-7000", profile);
        ASSERT_TRUE(loaded.ok()) << loaded.error();
        EXPECT_TRUE(*loaded == a || *loaded == b) << "round " << round;
    }
}

// A link planted where an older emulator put its temporary file is never
// followed: the file it points to keeps its content.
TEST(EmulatorStateFile, APlantedLinkAtATemporaryNameIsNotFollowed)
{
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    const auto victim = test::in(dir, "victim");
    test::writeFile(victim, "precious");
    std::filesystem::create_symlink(victim, file.string() + ".tmp-" + std::to_string(::getpid()));
    Emulator emu(withState(file));
    emu.connect()->send(kUnlock + hex("1D 67 38 27 39 00 00 00"));
    EXPECT_EQ(test::readFile(victim), "precious");
    EXPECT_NE(test::readFile(file).find("soft_switch_1=9\n"), std::string::npos);
}

// The PID of a process that has ended.
pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(EmulatorStateFile, TemporariesOfAKilledEmulatorAreRemovedAtStart)
{
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    const std::string dead = std::to_string(endedProcess());
    const std::string alive = std::to_string(::getpid());
    for (const std::string &name :
         {"printer.state.tmp-" + dead, "printer.state.tmp-" + dead + "-a1B2c3",
          "printer.state.tmp-" + alive + "-a1B2c3", "other.tmp-" + dead,
          "printer.state.tmp-" + dead + "-toolongsuffix"})
        test::writeFile(test::in(dir, name), "left over");
    Emulator emu(withState(file));
    std::set<std::string> left;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        left.insert(entry.path().filename());
    EXPECT_EQ(left,
              (std::set<std::string>{"printer.state.tmp-" + alive + "-a1B2c3", "other.tmp-" + dead,
                                     "printer.state.tmp-" + dead + "-toolongsuffix"}));
}

// Runs `body` in a child process; its exit code, or -1 when it did not end
// within `ms` (it is killed then).
int exitCodeWithin(int ms, const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    for (int waited = 0; waited < ms; waited += 10) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        ::usleep(10000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return -1;
}

struct NotAStateFile {
    const char *what;
    std::function<std::filesystem::path(const test::TempDir &)> make;
    const char *cause;
};

// Start-up never waits on the state path: a FIFO, a device or a file too
// large for any state is refused at once, naming the cause.
TEST(EmulatorStateFile, OnlyARegularFileOfBoundedSizeIsRead)
{
    const std::vector<NotAStateFile> cases{
        {"a FIFO",
         [](const test::TempDir &dir) {
             auto fifo = test::in(dir, "fifo");
             ::mkfifo(fifo.c_str(), 0600);
             return fifo;
         },
         "is not a regular file"},
        {"an endless device",
         [](const test::TempDir &) { return std::filesystem::path("/dev/zero"); },
         "is not a regular file"},
        {"an oversized file",
         [](const test::TempDir &dir) {
             auto big = test::in(dir, "big.state");
             const std::size_t limit = maxStateFileBytes(*findProfile("KT-7000"));
             test::writeFile(big,
                             formatState("KT-7000", defaultState(*findProfile("KT-7000")))
                                 + std::string(limit, '#'));
             return big;
         },
         "larger than"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const auto path = c.make(dir);
        const int code = exitCodeWithin(5000, [&] {
            try {
                Emulator emu(withState(path));
            } catch (const EmulatorError &e) {
                return std::string(e.what()).find(c.cause) != std::string::npos ? 0 : 2;
            }
            return 1;
        });
        EXPECT_EQ(code, 0) << "-1: start-up hung; 1: the file was taken; 2: another cause was named";
    }
}

} // namespace
} // namespace kt::emu
