#include "protocol/text_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kt::protocol {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimWhere(std::string_view text, bool front, bool back, bool nulToo)
{
    auto pad = [nulToo](char c) { return c == ' ' || (nulToo && c == '\0'); };
    while (front && !text.empty() && pad(text.front()))
        text.remove_prefix(1);
    while (back && !text.empty() && pad(text.back()))
        text.remove_suffix(1);
    return text;
}

// Length of the run of digits starting at pos.
std::size_t digitRun(std::string_view text, std::size_t pos)
{
    std::size_t n = 0;
    while (pos + n < text.size() && isDigit(text[pos + n]))
        ++n;
    return n;
}

} // namespace

std::string_view leftChars(std::string_view text, std::size_t n)
{
    return text.substr(0, std::min(n, text.size()));
}

std::string_view rightChars(std::string_view text, std::size_t n)
{
    return n >= text.size() ? text : text.substr(text.size() - n);
}

std::string_view midChars(std::string_view text, std::size_t start, std::size_t length)
{
    if (start == 0 || start > text.size())
        return {};
    return text.substr(start - 1, length);
}

std::string_view trimBlanks(std::string_view text) { return trimWhere(text, true, true, false); }
std::string_view trimTrailingBlanks(std::string_view text)
{
    return trimWhere(text, false, true, false);
}
std::string_view replyValue(std::string_view reply)
{
    const std::size_t first = reply.find_first_not_of('\0');
    if (first == std::string_view::npos)
        return {};
    return reply.substr(first, reply.find_last_not_of('\0') + 1 - first);
}

std::string_view trimPadding(std::string_view text) { return trimWhere(text, true, true, true); }

std::string upperCase(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::optional<double> leadingNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()
           && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' || text[pos] == '\n'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // The extent of the number is found here so that from_chars never sees
    // words such as "inf" or "nan", which are not numbers in a reply.
    const std::size_t start = pos;
    std::size_t end = pos + digitRun(text, pos);
    std::size_t mantissaDigits = end - start;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fraction = digitRun(text, end + 1);
        mantissaDigits += fraction;
        if (mantissaDigits > 0)
            end += 1 + fraction;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exp = end + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-'))
            ++exp;
        const std::size_t expDigits = digitRun(text, exp);
        if (expDigits > 0)
            end = exp + expDigits;
    }
    double value = 0;
    const char *first = text.data() + start;
    const auto [ptr, ec] = std::from_chars(first, text.data() + end, value);
    // A number too large or too small for a double is no usable value.
    if (ptr == first || ec != std::errc{})
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace kt::protocol
