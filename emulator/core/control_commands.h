// The line commands of the control socket, run against one printer or
// against the printers of a fleet:
//
//   status                       the conditions set: "ok cover-open,paper-end"
//                                (a fleet: "ok 1=none 2=cover-open ...")
//   status CONDITION on|off      sets or clears one condition: "ok ..."
//   printer N COMMAND            COMMAND for printer N (1 = the first) only
//   help                         the commands and conditions
//
// Anything else is answered "error: " and the cause.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kt::emu {

class Emulator;

std::string runControlCommand(std::string_view line, std::span<Emulator *const> printers);

// The protocol in a few lines, for --help and the README.
std::string controlHelpText();

} // namespace kt::emu
