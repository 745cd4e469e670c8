// The real-time status bytes (DLE EOT 1 to 4) and what they say.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace kt::ktsw {

// The answers to DLE EOT 1 to 4, in that order; nullopt where none came.
using StatusBytes = std::array<std::optional<std::uint8_t>, 4>;

struct PrinterStatus {
    std::optional<bool> online;         // n = 1 bit 3 clear
    std::optional<bool> coverOpen;      // n = 2 bit 2
    std::optional<bool> paperNearEnd;   // n = 4 bits 2 and 3
    std::optional<bool> paperEnd;       // n = 4 bits 5 and 6
    std::optional<bool> error;          // n = 2 bit 6
    std::optional<bool> feedButton;     // n = 2 bit 3: paper being fed by the button
    std::optional<bool> stoppedByPaper; // n = 2 bit 5: printing stopped by paper end

    // Ready to print: online and neither cover open, paper end nor an
    // error, as far as the printer answered. Paper near end only warns.
    bool ready() const;
};

PrinterStatus decodeStatus(const StatusBytes &bytes);

} // namespace kt::ktsw
