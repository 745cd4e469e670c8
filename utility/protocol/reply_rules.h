// When a reply of the printer is accepted, and what it means. The value of
// a reply is its text without the "_" header and the NULs at its ends
// (replyValue in text_rules.h).
#pragma once

#include <optional>
#include <string_view>

namespace kt::protocol {

// The word every printer of the maker has in its maker name.
inline constexpr std::string_view kMakerWord = "TALVORIN";

// A soft switch byte: the decimal number at the start of the value, 0 to
// 255, rounded to a whole number with halves to even. A value that does
// not begin with a number carries no byte.
std::optional<int> switchValue(std::string_view value);

// The maker test: the maker word anywhere in the value, in any case.
bool isMakerReply(std::string_view value);

// The new 8x16 font is ON for any non-empty value; its content is not
// examined.
bool new8x16On(std::string_view value);

// The Thai font pass shown for a value: "3 Pass" for 249, "1 Pass" for
// 255 (its first three characters decide); nullopt for anything else.
std::optional<std::string_view> thaiPassCaption(std::string_view value);

// The model name query is sent once more when its value begins with ";1".
bool modelReplyAsksAgain(std::string_view value);

} // namespace kt::protocol
