#include "status_decode.h"

namespace kt::ktsw {
namespace {

// Whether any of the bits of mask is set in the answer, if there is one.
std::optional<bool> anyBit(const std::optional<std::uint8_t> &byte, std::uint8_t mask)
{
    if (!byte)
        return std::nullopt;
    return (*byte & mask) != 0;
}

constexpr std::uint8_t bit(int n) { return static_cast<std::uint8_t>(1u << n); }

} // namespace

PrinterStatus decodeStatus(const StatusBytes &bytes)
{
    PrinterStatus s;
    if (const auto offline = anyBit(bytes[0], bit(3)))
        s.online = !*offline;
    s.coverOpen = anyBit(bytes[1], bit(2));
    s.feedButton = anyBit(bytes[1], bit(3));
    s.stoppedByPaper = anyBit(bytes[1], bit(5));
    s.error = anyBit(bytes[1], bit(6));
    s.paperNearEnd = anyBit(bytes[3], bit(2) | bit(3));
    s.paperEnd = anyBit(bytes[3], bit(5) | bit(6));
    return s;
}

bool PrinterStatus::ready() const
{
    return online.value_or(false) && !coverOpen.value_or(false) && !paperEnd.value_or(false)
        && !error.value_or(false);
}

} // namespace kt::ktsw
