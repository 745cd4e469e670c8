// The process-wide list of registered bitmap file names. The position of a
// name (1 for the first) is the number the printer stores its image under.
// Unguarded, like the rest of the library's state: calls must not overlap.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kt::bitmap::registry {

inline constexpr std::size_t kMaxNames = 255;
inline constexpr std::size_t kMaxNameLength = 511;

enum class Added { Ok, Full, NameTooLong };

// Adds a zero-terminated name; the list is unchanged unless the result is
// Ok. The name is measured no further than one character past the limit.
Added add(const char *name);

void clear();
const std::vector<std::string> &names();

} // namespace kt::bitmap::registry
