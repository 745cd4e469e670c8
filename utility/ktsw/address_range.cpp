#include "address_range.h"

#include <arpa/inet.h>
#include <charconv>

namespace kt::ktsw {
namespace {

std::optional<std::uint32_t> parseAddress(std::string_view text)
{
    in_addr a{};
    if (::inet_pton(AF_INET, std::string(text).c_str(), &a) != 1)
        return std::nullopt;
    return ntohl(a.s_addr);
}

std::optional<unsigned> parseNumber(std::string_view text, unsigned max)
{
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

std::optional<AddressRange> parseBlock(std::string_view text, std::size_t slash, std::string &error)
{
    const auto base = parseAddress(text.substr(0, slash));
    const auto prefix = parseNumber(text.substr(slash + 1), 32);
    if (!base || !prefix) {
        error = "'" + std::string(text) + "' is not an IPv4 block such as 192.168.1.0/24";
        return std::nullopt;
    }
    const std::uint32_t mask = *prefix == 0 ? 0 : ~std::uint32_t{0} << (32 - *prefix);
    AddressRange r{*base & mask, (*base & mask) | ~mask};
    if (*prefix <= 30) {
        ++r.first;
        --r.last;
    }
    return r;
}

std::optional<AddressRange> parseSpan(std::string_view text, std::size_t dash, std::string &error)
{
    const auto first = parseAddress(text.substr(0, dash));
    std::string_view end = text.substr(dash + 1);
    std::optional<std::uint32_t> last;
    if (first && end.find('.') == std::string_view::npos) {
        // "192.168.1.10-40": the last part of the address changes.
        if (const auto part = parseNumber(end, 255))
            last = (*first & 0xFFFFFF00u) | *part;
    } else {
        last = parseAddress(end);
    }
    if (!first || !last) {
        error = "'" + std::string(text) + "' is not an IPv4 range such as 10.0.0.10-10.0.0.40";
        return std::nullopt;
    }
    if (*last < *first) {
        error = "the range '" + std::string(text) + "' ends before it starts";
        return std::nullopt;
    }
    return AddressRange{*first, *last};
}

} // namespace

std::optional<AddressRange> parseAddressRange(std::string_view text, std::string &error)
{
    if (const auto slash = text.find('/'); slash != std::string_view::npos)
        return parseBlock(text, slash, error);
    if (const auto dash = text.find('-'); dash != std::string_view::npos)
        return parseSpan(text, dash, error);
    if (const auto one = parseAddress(text))
        return AddressRange{*one, *one};
    error = "'" + std::string(text) + "' is no IPv4 address, block (A.B.C.D/N) or range (A-B)";
    return std::nullopt;
}

std::string addressText(std::uint32_t address)
{
    in_addr a{htonl(address)};
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

} // namespace kt::ktsw
