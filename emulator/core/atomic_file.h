// Replaces a file whole or not at all: the content goes to a temporary file
// beside it, is flushed to the disk, and is renamed over the old file.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>

#include "status.h"

namespace kt::emu {

// `write` fills the open temporary file and returns false on failure. The
// temporary file gets a name no one can foresee ("NAME.tmp-PID-XXXXXX",
// created exclusively, so a link planted there is never followed). On any
// failure it is removed and the old file stays as it was.
Status writeFileAtomically(const std::filesystem::path &path,
                           const std::function<bool(FILE *)> &write);

// Removes the temporary files of `path` left behind by processes that are
// gone (killed while writing); those of live processes are left alone.
// Gives how many were removed.
int removeStaleTemporaries(const std::filesystem::path &path);

} // namespace kt::emu
