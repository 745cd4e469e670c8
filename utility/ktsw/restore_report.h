// What restore says about each setting, as text and as JSON.
#pragma once

#include <string>

#include "output.h"
#include "restore.h"
#include "settings_backup.h"

namespace kt::ktsw {

// The backup file, or a usage failure (exit 2) naming why it is refused.
Result<backup::Backup> readBackup(const std::string &path);

// [{setting, name, result, wanted, before, now}]
Json restoreItemsJson(const RestoreResult &result);

// Prints the result (the settings on stdout, a failure on stderr and in the
// JSON error object) and gives the exit code. A dry run prints the frame
// that would have been sent.
int reportRestore(const Output &output, const RestoreResult &result, bool dryRun);

} // namespace kt::ktsw
