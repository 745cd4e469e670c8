// The print commands of the self test and the fonts test.
#pragma once

#include <vector>

#include "protocol/commands.h"

namespace kt::protocol {

// GS ( A: the printer prints its own self-test page.
Command selfTestCommand();

// The fonts test in sending order: FONT:08X16 heading, the printable line
// (21 to 7F), the upper line (80 to FF), the FONT:12X24 heading, the two
// lines again, then reset, line feed and cut.
std::vector<Command> fontsTestCommands();

} // namespace kt::protocol
