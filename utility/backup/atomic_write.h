// Backup documents replaced whole or not at all (files/atomic_file.h), with
// a writer that tests can make fail half-way.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/atomic_file.h"

namespace kt::backup {

// Writes all of `bytes` to the descriptor; false on failure (errno set).
bool writeAll(int fd, std::string_view bytes);

using Writer = std::function<bool(int fd, std::string_view bytes)>;

// Writes `content` through `write` with files::replaceFile: nullopt on
// success, else the cause naming the path; the old file stays on failure.
[[nodiscard]] std::optional<std::string> writeAtomically(const std::filesystem::path &path,
                                                         std::string_view content,
                                                         const Writer &write = writeAll);

} // namespace kt::backup
