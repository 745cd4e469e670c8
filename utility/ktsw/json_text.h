// Text as a JSON string literal, quotes included.
#pragma once

#include <string>
#include <string_view>

namespace kt::ktsw {

// Escapes quote, backslash and control characters (CR and LF as \r and \n,
// the others without a short form as \u00XX). Valid UTF-8 passes through;
// a byte that is not part of valid UTF-8 is written as \u00XX (read as
// Latin-1), so the result is always valid JSON.
std::string jsonString(std::string_view text);

} // namespace kt::ktsw
