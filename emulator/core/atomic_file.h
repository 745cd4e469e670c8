// Replaces a file whole or not at all: the content goes to a temporary file
// beside it, is flushed to the disk, and is renamed over the old file.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace kt::emu {

// The temporary file used for `path` by this process.
std::filesystem::path temporaryPathFor(const std::filesystem::path &path);

// `write` fills the open temporary file and returns false on failure. On
// any failure the temporary file is removed, the old file stays as it was,
// and the error text is returned; empty on success.
std::string writeFileAtomically(const std::filesystem::path &path,
                                const std::function<bool(FILE *)> &write);

} // namespace kt::emu
