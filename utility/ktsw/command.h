// A ktsw sub-command: its arguments (after the command name) and the
// streams it writes. Each returns the process exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kt::ktsw {

// Exit status for arguments that cannot be used.
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

int runExplain(const Arguments &args, std::ostream &out, std::ostream &err);

} // namespace kt::ktsw
