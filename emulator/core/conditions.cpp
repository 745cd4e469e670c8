#include "conditions.h"

#include <array>

namespace kt::emu {
namespace {

constexpr std::array<ConditionInfo, 5> kConditions{{
    {Condition::PaperNearEnd, "paper-near-end", "the roll is nearly used up"},
    {Condition::PaperEnd, "paper-end", "the paper has ended: nothing is printed"},
    {Condition::CoverOpen, "cover-open", "the cover is open: nothing is printed"},
    {Condition::Offline, "offline", "the printer is offline"},
    {Condition::Error, "error", "the printer is in error"},
}};

constexpr std::uint8_t kFixedBits = 0x12;
constexpr std::uint8_t kPaperNearEndBits = 0x03, kPaperEndBits = 0x0C;

std::uint8_t paperSensorBits(const Conditions &c)
{
    return static_cast<std::uint8_t>((c.has(Condition::PaperNearEnd) ? kPaperNearEndBits : 0)
                                     | (c.has(Condition::PaperEnd) ? kPaperEndBits : 0));
}

struct StatusBits {
    int n;
    Condition condition;
    std::uint8_t bits;
};

constexpr StatusBits kStatusBits[] = {
    {1, Condition::Offline, 0x08},      {2, Condition::CoverOpen, 0x04},
    {2, Condition::PaperEnd, 0x20},     {2, Condition::Error, 0x40},
    {4, Condition::PaperNearEnd, 0x0C}, {4, Condition::PaperEnd, 0x60},
};

} // namespace

std::span<const ConditionInfo> conditionTable() { return kConditions; }

std::optional<Condition> findCondition(std::string_view name)
{
    for (const auto &c : kConditions)
        if (c.name == name)
            return c.condition;
    return std::nullopt;
}

Result<Conditions> parseConditions(std::string_view list)
{
    Conditions out;
    if (list.empty() || list == "none")
        return out;
    for (bool more = true; more;) {
        const auto comma = list.find(',');
        more = comma != std::string_view::npos;
        const std::string_view name = list.substr(0, comma);
        const auto c = findCondition(name);
        if (!c) {
            std::string known;
            for (const auto &k : kConditions)
                known += (known.empty() ? "" : ", ") + std::string(k.name);
            return Status::failure("unknown status condition \"" + std::string(name)
                                   + "\" (conditions: " + known + ")");
        }
        out.set(*c, true);
        if (more)
            list.remove_prefix(comma + 1); // a trailing comma leaves an empty, unknown name
    }
    return out;
}

std::string describeConditions(const Conditions &conditions)
{
    std::string out;
    for (const auto &c : kConditions)
        if (conditions.has(c.condition))
            out += (out.empty() ? "" : ",") + std::string(c.name);
    return out.empty() ? "none" : out;
}

namespace {

// A printer whose cover is open, whose paper has ended or that is in
// error is offline too.
Conditions withOffline(Conditions c)
{
    if (c.has(Condition::CoverOpen) || c.has(Condition::PaperEnd) || c.has(Condition::Error))
        c.set(Condition::Offline, true);
    return c;
}

} // namespace

std::uint8_t realTimeStatus(const Conditions &conditions, int n)
{
    const Conditions c = withOffline(conditions);
    std::uint8_t status = kFixedBits;
    for (const auto &s : kStatusBits)
        if (s.n == n && c.has(s.condition))
            status |= s.bits;
    return status;
}

AutoStatus autoStatus(const Conditions &conditions)
{
    const Conditions c = withOffline(conditions);
    AutoStatus out{0x10, 0x00, paperSensorBits(c), 0x0F};
    if (c.has(Condition::Offline))
        out[0] |= 0x08;
    if (c.has(Condition::CoverOpen))
        out[0] |= 0x20;
    if (c.has(Condition::Error))
        out[1] |= 0x40;
    return out;
}

bool autoStatusDue(const AutoStatus &before, const AutoStatus &after, int mask)
{
    constexpr struct {
        int maskBit;
        std::size_t byte;
        std::uint8_t bits;
    } kGroups[] = {{0x01, 0, 0x04}, {0x02, 0, 0x68}, {0x04, 1, 0x6C}, {0x08, 2, 0x0F}};
    for (const auto &g : kGroups)
        if ((mask & g.maskBit) && ((before[g.byte] ^ after[g.byte]) & g.bits))
            return true;
    return false;
}

std::optional<std::uint8_t> transmitStatus(const Conditions &conditions, int n)
{
    if (n == 1 || n == '1')
        return paperSensorBits(conditions);
    if (n == 2 || n == '2')
        return std::uint8_t{0};
    return std::nullopt;
}

} // namespace kt::emu
