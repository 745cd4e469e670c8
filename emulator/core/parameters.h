// The printer parameters that GS g 4 n reads and GS g 8 n writes: their
// numbers, names, value kinds and how the service utility frames a write.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "status.h"

namespace kt::emu {

enum class ValueKind {
    Byte,    // decimal 0..255 (switches, code page, character set, density, Thai pass)
    Counter, // unsigned decimal, up to 10 digits (hours powered, cut counts, lines)
    Text,    // printable text up to maxLength bytes
};

struct ParameterInfo {
    int number;            // the n of GS g 4 n / GS g 8 n
    std::string_view key;  // name in the state file and in --set KEY=VALUE
    std::string_view name; // name in the transcript ("soft switch 1")
    ValueKind kind;
    std::size_t maxLength; // longest value accepted
    // Bytes of data the service utility sends after GS g 8 n, the value
    // padded with NULs (0 = no fixed framing: the value ends at a NUL, a
    // control byte or a pause).
    std::size_t paddedLength;
};

// Every parameter the printer knows, in ascending number.
std::span<const ParameterInfo> parameterTable();

const ParameterInfo *findParameter(int number);
const ParameterInfo *findParameter(std::string_view key);

// Fails, saying why, when the value does not suit the parameter.
Status checkValue(const ParameterInfo &p, std::string_view value);

// Parameter numbers of the named items.
namespace param {
constexpr int InstallationDate = 9;
constexpr int HoursPowered = 16;
constexpr int CutCount = 21;
constexpr int FailedCuts = 22;
constexpr int LinesPrinted = 27;
constexpr int CodePage = 33;
constexpr int InterChars = 34;
constexpr int LanguageModel = 36;
constexpr int New8x16Font = 37;
constexpr int SoftSwitch1 = 39; // 40, 41, 42 for switches 2 to 4
constexpr int ThaiFontPass = 43;
constexpr int PrintDensity = 48;
} // namespace param

} // namespace kt::emu
