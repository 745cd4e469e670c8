// What the library does with a printer, run against the emulator over any
// transport: the same scenarios for TCP, the pseudo-terminal and USB.
#pragma once

#include <cstdint>
#include <string>

#include "core/emulator.h"

namespace kt::test {

// Where the library finds the emulator: the port text and the baud value
// that the exports take.
struct LibraryPort {
    std::string text;
    std::int32_t baud;
};

// sendx with a reply read in the same call answers GS I C.
void expectSendxQuery(emu::Emulator &emu, const LibraryPort &port);
// rwKT reads the model name by index and the status by index 101.
void expectRwktReads(emu::Emulator &emu, const LibraryPort &port);
// Unlock by sendx, rwKT's write of parameter 8, lock, and read it back.
void expectRwktWriteAndReadBack(emu::Emulator &emu, const LibraryPort &port);
// A logo defined by DefBitmap and printed by PrnBitmap is on the paper dot
// for dot, upright.
void expectLogoOnPaper(emu::Emulator &emu, const LibraryPort &port);

} // namespace kt::test
