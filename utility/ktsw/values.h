// Values typed on the command line.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "outcome.h"

namespace kt::ktsw {

// A byte as decimal ("146") or hexadecimal ("0x92"): 0 to 255.
std::optional<int> parseByte(std::string_view text);

// One option click: "BIT=ON" or "BIT=OFF" with BIT 1 to 8.
struct BitChoice {
    int bit = 1;
    bool on = true;
};
std::optional<BitChoice> parseBitChoice(std::string_view text);

// Every choice, or a usage failure naming the first malformed one.
Result<std::vector<BitChoice>> parseBitChoices(const std::vector<std::string> &texts,
                                               std::string_view option);

// The byte after the choices: ON clears the bit, OFF sets it (a 1 bit shows
// its OFF option).
int applyChoices(int value, const std::vector<BitChoice> &choices);

} // namespace kt::ktsw
