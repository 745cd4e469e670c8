// What the printer keeps across a re-power: parameter values and NV images.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "commands.h"
#include "model_profile.h"

namespace kt::emu {

struct PrinterState {
    std::map<int, std::string> parameters; // by parameter number
    std::vector<NvImage> images;           // NV image 1 is images[0]

    bool operator==(const PrinterState &) const = default;
};

// The state of a printer fresh from the factory.
PrinterState defaultState(const ModelProfile &profile);

// Adds one to a counter parameter; a counter that is not a number (an
// override may set any text) is left as it is.
void incrementCounter(PrinterState &state, int number);

} // namespace kt::emu
