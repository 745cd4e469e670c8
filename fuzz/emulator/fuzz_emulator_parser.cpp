// Feeds arbitrary bytes to the printer emulator: first to the parser alone
// (every cut must make progress within the buffer or declare a longer
// skip), then through a command stream in random-sized pieces with pauses,
// so that the printer's execution, paper and transcript see them.
//
// Each input gets a printer of its own, built from a profile made once: no
// state is carried from one input to the next (so a run can be repeated and
// nothing grows that the leak check would have to scan), and nothing is set
// up that the bytes do not reach (no transports, no event loop).
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/bitmap_font.h"
#include "core/command_parser.h"
#include "core/command_stream.h"
#include "core/model_profile.h"
#include "core/printer.h"

namespace {

constexpr std::size_t kNvCapacity = 4096;
constexpr int kPaperRows
    = 64; // two text lines, part of an image and a cut; past it nothing is drawn

void parseAlone(std::span<const std::uint8_t> data)
{
    kt::emu::ParserLimits limits;
    limits.nvCapacity = kNvCapacity;
    std::size_t at = 0;
    while (at < data.size()) {
        const auto cmd = parseCommand(data.subspan(at), kt::emu::Flush::EndOfStream, limits);
        if (!cmd || cmd->length == 0)
            std::abort();
        if (cmd->length > data.size() - at && cmd->kind != kt::emu::CommandKind::Rejected
            && cmd->kind != kt::emu::CommandKind::Unknown)
            std::abort();
        at += std::min(cmd->length, data.size() - at);
    }
}

const kt::emu::PrinterSetup &setup()
{
    static const kt::emu::PrinterSetup s = [] {
        kt::emu::PrinterSetup out;
        out.catalogueModel = "KT-4000";
        out.profile = *kt::emu::findProfile("KT-4000");
        out.profile.nvCapacity = kNvCapacity;
        out.state = kt::emu::defaultState(out.profile);
        out.maxPaperRows = kPaperRows;
        // Text in every code page is drawn with the real font when it is
        // installed (loaded once for the whole run).
        out.fontFile = kt::emu::BitmapFont::kDefaultPath;
        return out;
    }();
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    parseAlone(bytes);
    kt::emu::Printer printer(setup());
    kt::emu::CommandStream stream(printer, 1);
    // The first byte chooses the piece sizes, so that commands are split at
    // every possible place.
    const std::size_t piece = size ? 1 + data[0] % 16 : 1;
    for (std::size_t at = 0; at < size; at += piece) {
        (void)stream.feed(bytes.subspan(at, std::min(piece, size - at)));
        if (data[at] == 0xFF)
            (void)stream.flush(kt::emu::Flush::DataGap);
    }
    (void)stream.flush(kt::emu::Flush::EndOfStream);
    return 0;
}
