// The options of the kt-emulator program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/emulator.h"
#include "core/fleet.h"

namespace kt::emu {

struct ProgramOptions {
    EmulatorOptions emulator;
    std::vector<std::string> tcp;                 // HOST:PORT each
    std::vector<std::filesystem::path> pty;       // link paths
    std::vector<int> fds;                         // inherited descriptors to serve
    std::optional<std::filesystem::path> control; // the control socket
    // A fleet instead of one printer: its options, made from --fleet and
    // the options around it (--tcp, --state, --paper, --transcript then
    // name a first address and directories).
    std::optional<FleetOptions> fleet;
    std::optional<std::filesystem::path> fromBackup; // applied into `emulator` already
    bool usb = false;                                // also a USB printer in a umockdev testbed
    std::vector<std::string> usbClient; // the command after "--", run inside the testbed
    bool listModels = false;
    bool help = false;
    bool version = false;
};

// The options the arguments give, or what is wrong with them. Without any
// transport option the printer (or the fleet, from there on) listens on
// 127.0.0.1:9100.
Result<ProgramOptions> parseCommandLine(const std::vector<std::string> &args);

// The whole help text: every option, every --set key with its meaning and
// range, the fault names.
std::string usageText();

} // namespace kt::emu
