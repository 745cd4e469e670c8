#include "settings.h"

namespace kt::settings {
namespace {
std::uint8_t threshold = 143;
}

std::uint8_t colourThreshold() { return threshold; }
void setColourThreshold(std::uint8_t value) { threshold = value; }

} // namespace kt::settings
