// Replaces a file whole or not at all, so that an interrupted write never
// leaves half a document under the name asked for.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kt::backup {

// Writes all of `bytes` to the descriptor; false on failure (errno set).
bool writeAll(int fd, std::string_view bytes);

using Writer = std::function<bool(int fd, std::string_view bytes)>;

// Writes `content` through `write` into a new temporary file beside `path`
// (mkstemp, so no one can foresee or plant it), flushes it to the disk,
// renames it over `path` and flushes the directory. On any failure the
// temporary file is removed and a file already under the name stays as it
// was. Gives nullopt on success, else the cause naming the path.
[[nodiscard]] std::optional<std::string> writeAtomically(const std::filesystem::path &path,
                                                         std::string_view content,
                                                         const Writer &write = writeAll);

} // namespace kt::backup
