// Text helpers for replies, captions and combo items. Every one of them is
// safe on texts shorter than asked for: a substring beyond the end of a text
// is the empty text, never an error.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kt::protocol {

// The first n characters (all of them when the text is shorter).
std::string_view leftChars(std::string_view text, std::size_t n);
// The last n characters (all of them when the text is shorter).
std::string_view rightChars(std::string_view text, std::size_t n);
// Up to length characters from position start, counted from 1.
std::string_view midChars(std::string_view text, std::size_t start, std::size_t length);

std::string_view trimBlanks(std::string_view text);
std::string_view trimTrailingBlanks(std::string_view text);
// Blanks and NUL bytes removed at both ends. The queries already drop the
// NULs around a reply (replyValue); the language comparisons trim NULs as
// well so that a caption holding one still matches its item.
std::string_view trimPadding(std::string_view text);

// The value of a printer's answer: its text without the NULs at its ends.
// The USB exchange drops the NUL that terminates an answer, serial,
// parallel and TCP keep it, and a serial answer may begin with the late
// terminator of the answer before it. Without this a model name read on a
// serial port would never match its exact name, and an empty answer would
// read as a value. A NUL inside the value stays.
std::string_view replyValue(std::string_view reply);

std::string upperCase(std::string_view text);

// The decimal number at the start of a text: leading blanks skipped, an
// optional sign, digits, an optional fraction and exponent; reading stops at
// the first character that cannot continue the number. nullopt when the
// text does not begin with a number.
std::optional<double> leadingNumber(std::string_view text);

} // namespace kt::protocol
