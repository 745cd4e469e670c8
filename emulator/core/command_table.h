// The commands of a fixed length: a prefix byte (ESC, GS, FS, DLE), a code
// byte and up to eight parameter bytes. The parser frames them from this
// table alone, so that a command the printer does not act on is still
// skipped whole and its parameters never print as text.
#pragma once

#include <cstdint>
#include <string>

#include "commands.h"

namespace kt::emu {

namespace ctl {
constexpr std::uint8_t NUL = 0x00, EOT = 0x04, ENQ = 0x05, HT = 0x09, LF = 0x0A, CR = 0x0D,
                       DLE = 0x10, DC4 = 0x14, ESC = 0x1B, FS = 0x1C, GS = 0x1D;
}

struct TableCommand {
    std::uint8_t prefix;
    std::uint8_t code;
    std::uint8_t params; // parameter bytes after the code
    CommandKind kind;
    int arg;           // the Setting of a Style command, the kind of a cut
    const char *label; // what it does: "select justification"
};

// The entry for prefix and code, or nullptr.
const TableCommand *findTableCommand(std::uint8_t prefix, std::uint8_t code);

// "ESC a", "ESC SP", "DLE ENQ", "GS (": how the transcript writes a prefix
// and a code byte.
std::string mnemonic(std::uint8_t prefix, std::uint8_t code);

} // namespace kt::emu
