// The emulator's files replaced whole or not at all (files/atomic_file.h),
// written through a stdio stream as the PNG encoder wants.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>

#include "status.h"

namespace kt::emu {

// `write` fills the open temporary file and returns false on failure; on
// any failure the old file stays as it was.
Status writeFileAtomically(const std::filesystem::path &path,
                           const std::function<bool(FILE *)> &write);

} // namespace kt::emu
