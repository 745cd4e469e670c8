// The library's exports against the emulator over TCP and over a
// pseudo-terminal serial line.
#include <random>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "library_scenarios.h"

namespace kt::emu {
namespace {

using test::LibraryPort;

// rwKT writes always go to TCP port 9100: the emulator takes port 9100 on
// an address of the loopback range of its own, so that tests running side
// by side (and a running emulator on 127.0.0.1) do not meet.
LibraryPort listenOnPort9100(Emulator &emu)
{
    std::mt19937 rng(static_cast<unsigned>(::getpid()));
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::string host = "127." + std::to_string(rng() % 250 + 1) + "."
            + std::to_string(rng() % 250 + 1) + "." + std::to_string(rng() % 250 + 2);
        try {
            emu.listenTcp(host, 9100);
            return {host, 9100};
        } catch (const EmulatorError &) { }
    }
    throw EmulatorError("no loopback address with a free port 9100");
}

LibraryPort openSerial(Emulator &emu) { return {emu.openPty(), 9600}; }

struct Transport {
    const char *name;
    LibraryPort (*open)(Emulator &);
};

class LibraryOver : public ::testing::TestWithParam<Transport> {
protected:
    LibraryOver() : port_(GetParam().open(emu_)) { }
    Emulator emu_{[] {
        EmulatorOptions o;
        o.model = "KT-9100X";
        return o;
    }()};
    LibraryPort port_;
};

TEST_P(LibraryOver, SendxQuery) { test::expectSendxQuery(emu_, port_); }
TEST_P(LibraryOver, RwktReads) { test::expectRwktReads(emu_, port_); }
TEST_P(LibraryOver, RwktWriteAndReadBack) { test::expectRwktWriteAndReadBack(emu_, port_); }
TEST_P(LibraryOver, LogoDefinedAndPrintedDotForDot) { test::expectLogoOnPaper(emu_, port_); }

INSTANTIATE_TEST_SUITE_P(Transports, LibraryOver,
                         ::testing::Values(Transport{"tcp", listenOnPort9100},
                                           Transport{"pty", openSerial}),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
} // namespace kt::emu
