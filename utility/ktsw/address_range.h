// The IPv4 addresses scan visits: a CIDR block ("192.168.1.0/24"), a range
// ("192.168.1.10-192.168.1.40" or "192.168.1.10-40") or one address.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kt::ktsw {

// Larger ranges need --force: a /16 is already 65536 addresses.
inline constexpr std::uint64_t kLargestPlainRange = 65536;

struct AddressRange {
    std::uint32_t first = 0; // host order
    std::uint32_t last = 0;  // inclusive
    std::uint64_t count() const { return std::uint64_t{last} - first + 1; }
    std::uint32_t at(std::uint64_t i) const { return first + static_cast<std::uint32_t>(i); }
};

// The range of the text, or nullopt with the reason in `error`. A CIDR
// block of /30 or wider leaves out its network and broadcast addresses,
// where no printer can be.
std::optional<AddressRange> parseAddressRange(std::string_view text, std::string &error);

// "192.168.1.20"
std::string addressText(std::uint32_t address);

} // namespace kt::ktsw
