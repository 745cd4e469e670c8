// A command as the parser cuts it out of the byte stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kt::emu {

// One NV image in the column order of FS q: 8 * nx dot columns from left to
// right, each ny bytes from top to bottom, bit 7 the topmost dot.
struct NvImage {
    std::uint16_t nx = 0;           // width in units of 8 dots
    std::uint16_t ny = 0;           // height in units of 8 dots
    std::vector<std::uint8_t> data; // nx * ny * 8 bytes

    bool operator==(const NvImage &) const = default;
};

enum class CommandKind {
    Filler,          // NUL bytes between commands (padding, read fillers)
    Text,            // printable bytes
    LineFeed,        // LF: print the line
    CarriageReturn,  // CR: no effect of its own
    ReadParameter,   // GS g 4 n
    WriteParameter,  // GS g 8 n value
    Unlock,          // GS g u n l
    Lock,            // GS g l c k
    ReadIdentity,    // GS I k
    RealTimeStatus,  // DLE EOT n
    SelectPrintMode, // ESC ! n
    SelectCodePage,  // ESC t n
    Initialize,      // ESC @
    Cut,             // ESC i, ESC m, GS V
    FeedLines,       // ESC d n
    FeedDots,        // ESC J n
    Style,           // a print setting: `arg` the Setting, `number` its value
    TabStops,        // ESC D n1 ... nk NUL: `data` the positions
    Barcode,         // GS k: `number` the system m, `value` the data
    Symbol,          // GS ( k: `number` cn, `arg` fn, `data` what follows fn
    RasterImage,     // GS v 0: `number` m, `arg` bytes a row, `arg2` rows
    BitImage,        // ESC *: `number` m, `arg` dot columns, `data` the columns
    DrawerPulse,     // ESC p m t1 t2, DLE DC4 1 m t: `number` pin, `arg` on, `arg2` off
    AutoStatusBack,  // GS a n
    TransmitStatus,  // GS r n
    Ignored,         // known, framed, no effect on this printer's paper
    SelfTest,        // GS ( A
    DefineNvImages,  // FS q
    PrintNvImage,    // FS p n m
    Unknown,         // not a command of this printer: skipped
    Truncated,       // the stream ended inside a command: skipped
    Rejected,        // framed, but its content is invalid: skipped
};

struct Command {
    CommandKind kind = CommandKind::Unknown;
    // Stream bytes the command takes. A rejected command may be longer than
    // what has arrived so far; the rest is discarded as it comes.
    std::size_t length = 0;
    int number = 0;    // parameter n, identity k, status n, print mode, image number, feed count
    int arg = 0;       // FS p mode, GS ( A test kind, cut: 0 full / 1 partial
    int arg2 = 0;      // a third parameter (raster rows, pulse off time)
    int feed = 0;      // cut: dots fed before cutting
    std::string value; // parameter value, text bytes
    std::string name;  // mnemonic of a table command ("ESC a"), or of an unknown one
    std::vector<std::uint8_t> data; // image and symbol bytes
    std::string problem;            // why a command was rejected, unknown or truncated
    std::vector<NvImage> images;    // FS q
    // A rejected FS q whose framing goes on: images still to come after
    // `length` bytes, each a 4-byte header and its data.
    int imagesLeft = 0;
};

} // namespace kt::emu
