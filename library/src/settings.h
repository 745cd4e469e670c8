// Process-wide settings of the library that more than one export reads.
#pragma once

#include <cstdint>

namespace kt::settings {

// Colour threshold of the bitmap conversion: a colour or grey value below it
// prints as a black dot. 143 when the library is loaded; setColor changes it.
std::uint8_t colourThreshold();
void setColourThreshold(std::uint8_t value);

} // namespace kt::settings
