#include "session/basic_text.h"

#include <cctype>
#include <charconv>

namespace kt::session {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string numberText(long value)
{
    std::string digits = std::to_string(value);
    return value < 0 ? digits : " " + digits;
}

long leadingDigits(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        if (value > 100000000L) // far beyond any port number; stop growing
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<long> wholeNumber(std::string_view text, long minimum, long maximum)
{
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    if (value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

} // namespace kt::session
