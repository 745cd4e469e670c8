// Settings survive a restart; the state file is never left half-written
// and a bad one is refused without being touched.
#include "core/atomic_file.h"
#include "core/emulator.h"
#include "core/parameters.h"
#include "core/state_file.h"
#include "emulator_test_util.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
using test::operator+;

const Bytes kUnlock = hex("1D 67 75 6E 6C 00");
const Bytes kLock = hex("1D 67 6C 63 6B 00");
const Bytes kOneImage = hex("1C 71 01 01 00 01 00 81 42 24 18 18 24 42 81");

EmulatorOptions withState(const std::filesystem::path &file) {
    EmulatorOptions o;
    o.model = "KT-7000";
    o.stateFile = file;
    return o;
}

TEST(EmulatorStateFile, WrittenSettingsAndImagesSurviveARestart) {
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    {
        Emulator emu(withState(file));
        auto c = emu.connect();
        c->send(kUnlock + hex("1D 67 38 28 37 37 00 00 1D 67 38 24 'LATIN 2' 00") + kLock + kOneImage);
        c->send(hex("'line' 0A 1B 69"));
    }
    Emulator again(withState(file));
    EXPECT_EQ(again.parameter(param::SoftSwitch1 + 1), "77");
    EXPECT_EQ(again.parameter(param::LanguageModel), "LATIN 2");
    EXPECT_EQ(again.parameter(param::CutCount), "5403") << "counters are saved at stop";
    ASSERT_EQ(again.state().images.size(), 1u);
    EXPECT_EQ(again.state().images[0].data, hex("81 42 24 18 18 24 42 81"));
}

TEST(EmulatorStateFile, OverridesWinAndResetStartsFromDefaults) {
    test::TempDir dir;
    const auto file = test::in(dir, "printer.state");
    {
        Emulator emu(withState(file));
        emu.connect()->send(kUnlock + hex("1D 67 38 27 39 00 00 00 1D 67 38 28 38 00 00 00") + kLock);
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

TEST(EmulatorStateFile, ABadFileIsRefusedAndLeftAsItIs) {
    const std::string good = formatState("KT-7000", defaultState(*findProfile("KT-7000")));
    const std::string body = good.substr(0, good.rfind("end\n"));
    for (const auto &c : std::vector<Corrupt>{
             {"not a state file", "\x89PNG\r\n"},
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

TEST(EmulatorStateFile, MissingFileStartsFromDefaultsAndADirectoryIsRefused) {
    test::TempDir dir;
    EXPECT_EQ(Emulator(withState(test::in(dir, "new.state"))).parameter(param::SoftSwitch1), "2");
    EXPECT_THROW(Emulator{withState(std::filesystem::path(dir.path()))}, EmulatorError);
}

// Files of the process can grow to `bytes` only, while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
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
TEST(EmulatorStateFile, AWriteThatCannotBeSavedIsNotApplied) {
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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file is left";
}

// A process killed at any moment of a save leaves either the old or the
// new state, never a mixture.
TEST(EmulatorStateFile, AKilledSaveLeavesOneWholeState) {
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
            for (int i = 0;; ++i) (void)saveState(file, "KT-7000", i % 2 ? a : b);
        }
        ::usleep(static_cast<useconds_t>(1000 + round * 700));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto loaded = loadState(file, "KT-7000", profile);
        ASSERT_TRUE(loaded.ok()) << loaded.error();
        EXPECT_TRUE(*loaded == a || *loaded == b) << "round " << round;
    }
}

} // namespace
} // namespace kt::emu
