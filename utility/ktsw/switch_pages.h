// The soft switches of a model as the window shows them: which switches
// have a page, reading a switch byte, and every bit's state and meaning.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "output.h"
#include "printer_link.h"

namespace kt::ktsw {

// When the window shows the page of a switch for a model.
enum class PageRule { Never, Always, IfSw4Bit8On, IfSw2Bit1On };
PageRule pageRule(int switchNo, std::string_view model);

// Whether bit `bit` (1 to 8) of a switch byte shows its ON option (a 0 bit).
inline bool bitOn(int value, int bit) { return (value >> (bit - 1) & 1) == 0; }

// Reads a switch byte; nullopt when the printer gave no byte (no answer, or
// no number from 0 to 255).
Result<std::optional<int>> readSwitch(PrinterLink &link, int switchNo);

// Whether the model has a page for the switch now: a conditional page is
// decided by reading the switch that controls it.
Result<bool> hasPage(PrinterLink &link, int switchNo, std::string_view model);

// The switches the communication test reads for the model, with its
// conditions checked against the bytes read; the bytes are kept in `read`.
struct SwitchByte {
    int switchNo;
    std::optional<int> value; // nullopt: the printer gave no byte
};
Result<std::vector<SwitchByte>> readTestSwitches(PrinterLink &link, std::string_view model);

// {"value": V, "bits": [{"bit", "on", "meaning"} x 8]}: the page after the
// window's display procedure; meaning null where the label keeps its
// design-time caption.
Json describeSwitch(int switchNo, int value, std::string_view model);

// The meaning captions of the eight bits (empty where none is written).
std::vector<std::string> meanings(int switchNo, int value, std::string_view model);

} // namespace kt::ktsw
