// Replaces a file whole or not at all, for every program of the project
// (backups, the emulator's state files and paper images): the content goes
// to a temporary file beside it, is flushed to the disk and renamed over
// the old file, so that an interrupted write never leaves half a file under
// the name asked for.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kt::files {

// Writes all of `bytes` to the descriptor; false on failure (errno set).
bool writeAll(int fd, std::string_view bytes);

// `fill` writes the open temporary file's descriptor and returns false on
// failure (errno set). The temporary file is "NAME.tmp-PID-XXXXXX", made
// exclusively (no one can foresee it, and a link planted there is never
// followed) and readable by all like the files it replaces. On any failure
// it is removed and a file already under the name stays as it was. Gives
// nullopt on success, else the cause naming the path.
[[nodiscard]] std::optional<std::string> replaceFile(const std::filesystem::path &path,
                                                     const std::function<bool(int fd)> &fill);

// Removes the temporary files of `path` left behind by processes that are
// gone (killed while writing); those of live processes are left alone.
// Gives how many were removed.
int removeStaleTemporaries(const std::filesystem::path &path);

} // namespace kt::files
