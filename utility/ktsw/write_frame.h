// Parameter writes as the printer takes them: one unlock ... lock frame
// around every write of a command, and what was and was not sent when the
// frame broke off.
#pragma once

#include <string>
#include <vector>

#include "output.h"
#include "printer_link.h"

namespace kt::ktsw {

struct PlannedWrite {
    std::string setting; // "soft switch 2", "code page", ...
    Command command;
    int pauseMs = 0; // waited before this write
};

// The frame's commands as hexadecimal lines, unlock and lock included.
std::vector<std::string> frameHex(const std::vector<PlannedWrite> &writes);

std::string hexBytes(const Command &command);

// --dry-run: the frame's lines (none when nothing changes) as text, or in
// the result's "commands" with --json; nothing is sent.
int printDryRun(const Output &output, Json result, const std::vector<PlannedWrite> &writes);

// Sends unlock, the writes (each after its pause) and lock. `sent` gets the
// setting of every write that went out.
Result<Done> sendFrame(PrinterLink &link, const std::vector<PlannedWrite> &writes,
                       std::vector<std::string> &sent);

// The failure of a frame that broke off, with which settings went out and
// which did not.
int failFrame(const Output &output, const Failure &failure, const std::vector<PlannedWrite> &writes,
              const std::vector<std::string> &sent);

} // namespace kt::ktsw
