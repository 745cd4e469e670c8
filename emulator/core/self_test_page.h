// The text of the self-test page (GS ( A): identity, counters, language
// settings, switch bytes and stored images.
#pragma once

#include <string>
#include <vector>

#include "model_profile.h"
#include "printer_state.h"

namespace kt::emu {

struct SelfTestPage {
    std::string title;              // printed large
    std::vector<std::string> lines; // printed in the 8x16 font
};

SelfTestPage selfTestPage(const ModelProfile &profile, const PrinterState &state);

} // namespace kt::emu
