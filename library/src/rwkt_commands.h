// The commands rwKT sends for each index.
#pragma once

#include <cstdint>
#include <string_view>

namespace kt::rwkt {

constexpr int32_t kStatusIndex = 101;
constexpr int kRows = 23;
constexpr int kWriteOffset = 50; // write indices are row + 50

// Read row 1..23; empty outside.
std::string_view readCommand(int row);
// Write row 1..23; empty for the rows without a write command and outside.
std::string_view writeCommand(int row);
// DLE EOT 1, the real-time status request.
std::string_view statusCommand();

} // namespace kt::rwkt
