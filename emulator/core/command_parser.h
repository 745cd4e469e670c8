// The streaming command parser: cuts the next command off the front of the
// bytes received so far. Pure and bounded, so it can be fuzzed on its own.
#pragma once

#include "commands.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kt::emu {

// How final the buffered bytes are.
enum class Flush {
    None,        // more bytes may follow at once
    DataGap,     // a pause: an unterminated write value ends here
    EndOfStream, // nothing more will come: a partial command is truncated
};

struct ParserLimits {
    std::size_t nvCapacity = 256 * 1024; // FS q data that may be buffered and stored
    std::size_t maxText = 256;           // bytes of one text command
    std::size_t maxValue = 64;           // bytes of one parameter value
};

// The command at the start of `in` (which must not be empty), or nothing
// when more bytes are needed to tell. A returned command has length >= 1.
std::optional<Command> parseCommand(std::span<const std::uint8_t> in, Flush flush,
                                    const ParserLimits &limits);

} // namespace kt::emu
