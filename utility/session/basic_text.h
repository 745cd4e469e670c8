// Small text rules of the utility's classic dialect: how numbers become
// message text and how leading digits are read from a port name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kt::session {

// A number as message text: a leading blank for values that are not
// negative ("Error no" + numberText(2) gives "Error no 2" with two blanks).
std::string numberText(long value);

// The numeric value of the leading digits of text (blanks before them are
// skipped); 0 when there are none. "12" gives 12, "1x" gives 1. Only
// digits count: no sign, no fraction.
long leadingDigits(std::string_view text);

// The whole text as a whole number in [minimum, maximum] (blanks around it
// allowed); nothing for anything else.
std::optional<long> wholeNumber(std::string_view text, long minimum, long maximum);

} // namespace kt::session
