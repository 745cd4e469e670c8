// Names of commands and identity items as the transcript shows them.
#pragma once

#include <string>

#include "commands.h"

namespace kt::emu {

// "GS g 4 n=39 (read soft switch 1)", "ESC i (full cut)", ...
std::string commandName(const Command &command);

// The item GS I k reads ("model name"), or nullptr for an unknown k.
const char *identityItemName(int k);

} // namespace kt::emu
