// The state file: the printer's parameters and NV images as key=value
// lines, so that written settings survive a restart of the emulator.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "model_profile.h"
#include "printer_state.h"
#include "status.h"

namespace kt::emu {

class StateFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file's text for a state of catalogue model `model`.
std::string formatState(const std::string &model, const PrinterState &state);

// Reads a state text over the profile's defaults. Throws StateFileError
// naming the line for anything malformed, for a state of another model and
// for a text that does not end with its end line (a torn copy).
PrinterState parseState(const std::string &text, const std::string &model,
                        const ModelProfile &profile);

// The most bytes a state file of this profile can take.
std::size_t maxStateFileBytes(const ModelProfile &profile);

// A missing file gives the profile's defaults. Anything but a regular file,
// a file larger than maxStateFileBytes, an unreadable or a corrupt file
// fails, naming the path and the cause; nothing is waited for.
Result<PrinterState> loadState(const std::filesystem::path &path, const std::string &model,
                               const ModelProfile &profile);

// Replaces the file whole or not at all.
Status saveState(const std::filesystem::path &path, const std::string &model,
                 const PrinterState &state);

} // namespace kt::emu
