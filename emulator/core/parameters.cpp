#include "parameters.h"

#include <algorithm>
#include <array>

namespace kt::emu {
namespace {

constexpr std::size_t kTextMax = 32;

// Parameters without a documented meaning (the library's rwKT reaches them
// by index) are plain texts under their number.
constexpr std::array<ParameterInfo, 29> kTable{{
    {1, "param_1", "parameter 1", ValueKind::Text, kTextMax, 0},
    {2, "param_2", "parameter 2", ValueKind::Text, kTextMax, 0},
    {5, "param_5", "parameter 5", ValueKind::Text, kTextMax, 0},
    {6, "param_6", "parameter 6", ValueKind::Text, kTextMax, 0},
    {7, "param_7", "parameter 7", ValueKind::Text, kTextMax, 0},
    {8, "param_8", "parameter 8", ValueKind::Text, kTextMax, 0},
    {9, "installation_date", "installation date", ValueKind::Text, kTextMax, 0},
    {16, "hours_powered", "hours powered", ValueKind::Counter, 10, 0},
    {17, "param_17", "parameter 17", ValueKind::Text, kTextMax, 0},
    {18, "param_18", "parameter 18", ValueKind::Text, kTextMax, 0},
    {19, "param_19", "parameter 19", ValueKind::Text, kTextMax, 0},
    {20, "param_20", "parameter 20", ValueKind::Text, kTextMax, 0},
    {21, "cut_count", "cut paper count", ValueKind::Counter, 10, 0},
    {22, "failed_cuts", "failed paper cuts", ValueKind::Counter, 10, 0},
    {23, "param_23", "parameter 23", ValueKind::Text, kTextMax, 0},
    {24, "param_24", "parameter 24", ValueKind::Text, kTextMax, 0},
    {25, "param_25", "parameter 25", ValueKind::Text, kTextMax, 0},
    {26, "param_26", "parameter 26", ValueKind::Text, kTextMax, 0},
    {27, "lines_printed", "lines printed", ValueKind::Counter, 10, 0},
    {33, "code_page", "code page number", ValueKind::Byte, 3, 4},
    {34, "intl_charset", "international character set", ValueKind::Byte, 3, 3},
    {36, "language_model", "language model", ValueKind::Text, 20, 21},
    {37, "new_8x16_font", "new 8x16 font", ValueKind::Text, 3, 4},
    {39, "soft_switch_1", "soft switch 1", ValueKind::Byte, 3, 4},
    {40, "soft_switch_2", "soft switch 2", ValueKind::Byte, 3, 4},
    {41, "soft_switch_3", "soft switch 3", ValueKind::Byte, 3, 4},
    {42, "soft_switch_4", "soft switch 4", ValueKind::Byte, 3, 4},
    {43, "thai_font_pass", "Thai font pass", ValueKind::Byte, 3, 8},
    {48, "print_density", "print density", ValueKind::Byte, 3, 3},
}};

std::span<const ParameterInfo> table() { return kTable; }

bool allDigits(std::string_view v)
{
    return !v.empty()
        && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::span<const ParameterInfo> parameterTable() { return table(); }

const ParameterInfo *findParameter(int number)
{
    for (const auto &p : table())
        if (p.number == number)
            return &p;
    return nullptr;
}

const ParameterInfo *findParameter(std::string_view key)
{
    for (const auto &p : table())
        if (p.key == key)
            return &p;
    return nullptr;
}

Status checkValue(const ParameterInfo &p, std::string_view value)
{
    if (value.size() > p.maxLength)
        return Status::failure("longer than " + std::to_string(p.maxLength) + " bytes");
    switch (p.kind) {
    case ValueKind::Byte:
        if (!allDigits(value))
            return Status::failure("not a decimal number");
        if (std::stoi(std::string(value)) > 255)
            return Status::failure("above 255");
        return Status::success();
    case ValueKind::Counter:
        if (!allDigits(value))
            return Status::failure("not a decimal number");
        return Status::success();
    case ValueKind::Text:
        for (unsigned char c : value)
            if (c < 0x20)
                return Status::failure("holds a control byte");
        return Status::success();
    }
    return Status::failure("unknown kind");
}

} // namespace kt::emu
