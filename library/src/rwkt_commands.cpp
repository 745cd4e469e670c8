#include "rwkt_commands.h"

#include <array>

namespace kt::rwkt {
namespace {

using namespace std::string_view_literals;

// GS g 4 n reads parameter n, GS I k an identity item, GS g 8 n writes.
constexpr std::array<std::string_view, kRows + 1> kRead{
    ""sv,
    "\x1d\x67\x34\x01"sv,
    "\x1d\x67\x34\x02"sv,
    "\x1d\x49\x42"sv,
    "\x1d\x49\x43"sv,
    "\x1d\x67\x34\x05"sv,
    "\x1d\x67\x34\x06"sv,
    "\x1d\x67\x34\x07"sv,
    "\x1d\x49\x41"sv,
    "\x1d\x67\x34\x08"sv,
    "\x1d\x67\x34\x09"sv,
    "\x1d\x67\x34\x10"sv,
    "\x1d\x67\x34\x11"sv,
    "\x1d\x67\x34\x12"sv,
    "\x1d\x67\x34\x13"sv,
    "\x1d\x67\x34\x14"sv,
    "\x1d\x67\x34\x15"sv,
    "\x1d\x67\x34\x16"sv,
    "\x1d\x67\x34\x17"sv,
    "\x1d\x67\x34\x18"sv,
    "\x1d\x67\x34\x19"sv,
    "\x1d\x67\x34\x1a"sv,
    "\x1d\x67\x34\x1b"sv,
    "\x1d\x67\x38\x01"sv,
};

constexpr std::array<std::string_view, kRows + 1> kWrite{
    ""sv,
    ""sv,
    ""sv,
    ""sv,
    ""sv,
    "\x1d\x67\x38\x05"sv,
    "\x1d\x67\x38\x06"sv,
    "\x1d\x67\x38\x07"sv,
    ""sv,
    "\x1d\x67\x38\x08"sv,
    "\x1d\x67\x38\x09"sv,
    "\x1d\x67\x38\x10"sv,
    "\x1d\x67\x38\x11"sv,
    "\x1d\x67\x38\x12"sv,
    "\x1d\x67\x38\x13"sv,
    "\x1d\x67\x38\x14"sv,
    "\x1d\x67\x38\x15"sv,
    "\x1d\x67\x38\x16"sv,
    "\x1d\x67\x38\x17"sv,
    "\x1d\x67\x38\x18"sv,
    "\x1d\x67\x38\x19"sv,
    "\x1d\x67\x38\x1a"sv,
    "\x1d\x67\x38\x1b"sv,
    "\x1d\x67\x38\x01"sv,
};

std::string_view row(const std::array<std::string_view, kRows + 1> &table, int r)
{
    return (r >= 1 && r <= kRows) ? table[static_cast<std::size_t>(r)] : std::string_view{};
}

} // namespace

std::string_view readCommand(int r) { return row(kRead, r); }
std::string_view writeCommand(int r) { return row(kWrite, r); }
std::string_view statusCommand() { return "\x10\x04\x01"sv; }

} // namespace kt::rwkt
