// Bounded reads and writes on a descriptor that a stop request can cut short.
#pragma once

#include "stop_signal.h"

#include <cstdint>
#include <vector>

namespace kt::emu {

// Raw mode for a terminal (a pseudo-terminal standing in for a serial
// line): no echo, no line editing, no translation. False if it is none.
bool makeRaw(int fd);
bool setNonBlocking(int fd);

// Writes every byte, waiting for room at most boundMs in all. False when
// the peer is gone, the bound passed or the stop came.
bool writeAll(int fd, const std::vector<std::uint8_t> &bytes, int boundMs, const StopSignal &stop);

} // namespace kt::emu
