#include "output.h"

#include <ostream>

namespace kt::ktsw {
namespace {

// Length of the valid UTF-8 sequence at the start of s, or 0.
std::size_t utf8Length(std::string_view s)
{
    const auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

} // namespace

std::string displayText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : utf8Length(text.substr(i));
        if (length > 0) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
        ++i;
    }
    return out;
}

Json numberOrText(std::string_view text)
{
    if (text.empty() || text.size() > 18
        || text.find_first_not_of("0123456789") != std::string_view::npos)
        return displayText(text);
    return std::stoll(std::string(text));
}

int Output::print(const Json &object, int code) const
{
    if (json)
        out << object.dump(2) << '\n';
    out.flush();
    return out ? code : 1;
}

int Output::fail(const Failure &failure, const Json &details) const
{
    err << "ktsw " << command << ": " << failure.message << '\n';
    if (json) {
        Json error = {{"error", {{"code", failure.code}, {"message", failure.message}}}};
        for (const auto &[key, value] : details.items())
            error["error"][key] = value;
        out << error.dump(2) << '\n';
        out.flush();
    }
    return failure.code;
}

} // namespace kt::ktsw
