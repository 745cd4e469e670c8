// Where HELP finds its file, and its text for the utility's own read-only
// window when no viewer can be started.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kt::session {

inline constexpr const char *kHelpFileName = "KT_SW_Help.txt";

// The help file of the current directory first, as the window has always
// opened it (the plain name is returned then), else the first of
// directories that holds it (an absolute path). Relative directories are
// skipped: they would be another spelling of the current one.
std::optional<std::string> findHelpFile(const std::vector<std::string> &directories);

// The file's text, or nothing when it cannot be read or is larger than a
// help text can be (a bound, so that a wrong file cannot fill memory).
std::optional<std::string> readHelpText(const std::string &path);

} // namespace kt::session
