// A ktsw sub-command: its arguments (after the command name) and the
// streams it writes. Each returns the process exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kt::ktsw {

// Exit status for arguments that cannot be used.
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

int runExplain(const Arguments &args, std::ostream &out, std::ostream &err);
// The command and its arguments as one usage line, without "ktsw ".
inline constexpr std::string_view kExplainSynopsis
    = "explain --model NAME --switch N --value V [--select BIT=ON|OFF]... [--json]";

} // namespace kt::ktsw
