// The streaming command parser: cuts the next command off the front of the
// bytes received so far. Pure and bounded, so it can be fuzzed on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "commands.h"

namespace kt::emu {

// How final the buffered bytes are.
enum class Flush {
    None,        // more bytes may follow at once
    DataGap,     // a pause: an unterminated write value ends here
    EndOfStream, // nothing more will come: a partial command is truncated
};

struct ParserLimits {
    std::size_t nvCapacity = 256 * 1024;     // FS q data that may be buffered and stored
    std::size_t maxText = 256;               // bytes of one text command
    std::size_t maxValue = 64;               // bytes of one parameter value
    std::size_t maxRaster = 4 * 1024 * 1024; // bytes of one raster image
};

// What the parser made of the bytes at hand.
struct ParseStep {
    ParseStep(Command c) : command(std::move(c)) { }
    ParseStep(std::nullopt_t, std::size_t bytesWanted) : wanted(bytesWanted) { }

    std::optional<Command> command; // nothing: more bytes are needed to tell
    // Without a command: how many bytes the command takes at least, counted
    // from the start of `in`; cutting again before they are there is useless.
    std::size_t wanted = 0;
};

// The command at the start of `in`, or how many bytes it needs. A returned
// command has length >= 1.
ParseStep parseNext(std::span<const std::uint8_t> in, Flush flush, const ParserLimits &limits);

// The command alone, or nothing when more bytes are needed (or `in` is empty).
std::optional<Command> parseCommand(std::span<const std::uint8_t> in, Flush flush,
                                    const ParserLimits &limits);

} // namespace kt::emu
