// Feeds arbitrary bytes to the printer emulator: first to the parser alone
// (every cut must make progress within the buffer or declare a longer
// skip), then through a whole command stream in random-sized pieces with
// pauses, so that the printer's execution, paper and transcript see them.
#include "core/command_parser.h"
#include "core/emulator.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void parseAlone(std::span<const std::uint8_t> data) {
    kt::emu::ParserLimits limits;
    limits.nvCapacity = 4096;
    std::size_t at = 0;
    while (at < data.size()) {
        const auto cmd = parseCommand(data.subspan(at), kt::emu::Flush::EndOfStream, limits);
        if (!cmd || cmd->length == 0) std::abort();
        if (cmd->length > data.size() - at && cmd->kind != kt::emu::CommandKind::Rejected &&
            cmd->kind != kt::emu::CommandKind::Unknown)
            std::abort();
        at += std::min(cmd->length, data.size() - at);
    }
}

kt::emu::Emulator &printer() {
    static kt::emu::Emulator *emu = [] {
        kt::emu::EmulatorOptions o;
        o.overrides = {{"nv_capacity", "4096"}};
        o.maxPaperRows = 2000;
        return new kt::emu::Emulator(o);
    }();
    return *emu;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    parseAlone(bytes);
    // The first byte chooses the piece sizes, so that commands are split at
    // every possible place.
    const std::size_t piece = size ? 1 + data[0] % 16 : 1;
    auto c = printer().connect();
    for (std::size_t at = 0; at < size; at += piece) {
        c->send(bytes.subspan(at, std::min(piece, size - at)));
        if (data[at] == 0xFF) c->pause();
    }
    c->close();
    return 0;
}
