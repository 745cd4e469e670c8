// Conditions of the printer that a tester sets (paper near its end, paper
// out, cover open, offline, error) and the real-time status bytes that
// report them to a client asking DLE EOT n.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "status.h"

namespace kt::emu {

enum class Condition : std::uint8_t { PaperNearEnd, PaperEnd, CoverOpen, Offline, Error };

struct ConditionInfo {
    Condition condition;
    std::string_view name;    // on the command line and the control socket: "cover-open"
    std::string_view meaning; // for help texts
};

// Every condition, in a stable order.
std::span<const ConditionInfo> conditionTable();
std::optional<Condition> findCondition(std::string_view name);

class Conditions {
public:
    bool has(Condition c) const { return bits_ & bit(c); }
    void set(Condition c, bool on)
    {
        bits_ = static_cast<std::uint8_t>(on ? bits_ | bit(c) : bits_ & ~bit(c));
    }
    bool any() const { return bits_ != 0; }
    // With the cover open or the paper out, print data is taken and parsed
    // but nothing reaches the paper.
    bool stopsPrinting() const { return has(Condition::CoverOpen) || has(Condition::PaperEnd); }
    bool operator==(const Conditions &) const = default;

private:
    static std::uint8_t bit(Condition c)
    {
        return static_cast<std::uint8_t>(1u << static_cast<int>(c));
    }
    std::uint8_t bits_ = 0;
};

// "cover-open,paper-near-end" (or "none", or empty) into conditions; fails
// naming an unknown one.
Result<Conditions> parseConditions(std::string_view list);
// The names of the conditions set, comma-separated, or "none".
std::string describeConditions(const Conditions &conditions);

// The byte DLE EOT n answers (n = 1..4), bit 0 the least significant. Bits
// 1 and 4 are always set. n = 1: bit 3 offline, which a printer whose cover
// is open, whose paper has ended or that is in error is too. n = 2: bit 2
// cover open, bit 5 printing stopped by the paper end, bit 6 error. n = 4:
// bits 2 and 3 paper near its end, bits 5 and 6 paper end.
std::uint8_t realTimeStatus(const Conditions &conditions, int n);

// The four bytes of the automatic status back message (GS a n). First byte
// 0xx1xx00: bit 3 offline, bit 5 cover open. Second: bit 6 error. Third:
// bits 0 and 1 paper near its end, bits 2 and 3 paper end. Fourth: 0Fh.
using AutoStatus = std::array<std::uint8_t, 4>;
AutoStatus autoStatus(const Conditions &conditions);

// Whether the change from `before` to `after` is one that GS a `mask`
// asks to be told about: bit 0 the drawer, bit 1 online/offline and the
// cover, bit 2 errors, bit 3 the paper roll sensors.
bool autoStatusDue(const AutoStatus &before, const AutoStatus &after, int mask);

// GS r n: n 1 (or "1") the paper sensors, bits 0 and 1 paper near its
// end, bits 2 and 3 paper end; n 2 (or "2") the drawer, bit 0 its
// connector (always low: no drawer is attached). Nothing for another n.
std::optional<std::uint8_t> transmitStatus(const Conditions &conditions, int n);

} // namespace kt::emu
