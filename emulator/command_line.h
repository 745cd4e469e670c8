// The options of the kt-emulator program.
#pragma once

#include "core/emulator.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kt::emu {

struct ProgramOptions {
    EmulatorOptions emulator;
    std::vector<std::string> tcp;                // HOST:PORT each
    std::vector<std::filesystem::path> pty;      // link paths
    std::vector<int> fds;                        // inherited descriptors to serve
    bool listModels = false;
    bool help = false;
};

// Fills `out` from the arguments; returns an error text, empty on success.
// Without any transport option the printer listens on 127.0.0.1:9100.
std::string parseCommandLine(const std::vector<std::string> &args, ProgramOptions &out);

std::string usageText();

} // namespace kt::emu
