#include "faults.h"

namespace kt::emu {

ShapedReply applyFaults(const FaultOptions &f, std::vector<std::uint8_t> reply, std::uint32_t &seed)
{
    ShapedReply out;
    if (reply.empty())
        return out;
    if (f.silent) {
        out.note = "silent: not answered";
        return out;
    }
    std::string note;
    if (f.garbage) {
        // Bytes from 01 to FF but never the header byte, so no client can
        // mistake them for a reply.
        for (auto &b : reply) {
            do {
                seed = seed * 1103515245u + 12345u;
                b = static_cast<std::uint8_t>(seed >> 16);
            } while (b == 0 || b == '_');
        }
        note = "garbage";
    } else if (f.noHeader && reply.front() == '_') {
        reply.erase(reply.begin());
        note = "no header";
    }
    if (f.lateMs > 0) {
        out.delayMs = f.lateMs;
        note
            += (note.empty() ? "" : ", ") + std::string("late ") + std::to_string(f.lateMs) + " ms";
    }
    out.bytes = std::move(reply);
    out.note = std::move(note);
    return out;
}

std::string describeFaults(const FaultOptions &f)
{
    std::string out;
    auto add = [&](const std::string &s) { out += (out.empty() ? "" : ", ") + s; };
    if (f.silent)
        add("silent");
    if (f.lateMs > 0)
        add("late " + std::to_string(f.lateMs) + " ms");
    if (f.noHeader)
        add("no header");
    if (f.garbage)
        add("garbage");
    if (f.dropAfter > 0)
        add("drop after " + std::to_string(f.dropAfter) + " commands");
    if (f.forgetWrites)
        add("forget writes");
    return out.empty() ? "none" : out;
}

namespace {

struct FlagFault {
    std::string_view name;
    bool FaultOptions::*field;
};
struct CountFault {
    std::string_view prefix; // the name up to its number
    int FaultOptions::*field;
};

constexpr FlagFault kFlagFaults[] = {
    {"silent", &FaultOptions::silent},
    {"no-header", &FaultOptions::noHeader},
    {"garbage", &FaultOptions::garbage},
    {"forget-writes", &FaultOptions::forgetWrites},
};
constexpr CountFault kCountFaults[] = {
    {"late-", &FaultOptions::lateMs},
    {"drop-after-", &FaultOptions::dropAfter},
};

} // namespace

Status addFault(FaultOptions &faults, std::string_view name)
{
    for (const auto &f : kFlagFaults)
        if (name == f.name) {
            faults.*f.field = true;
            return Status::success();
        }
    for (const auto &f : kCountFaults) {
        if (name.substr(0, f.prefix.size()) != f.prefix)
            continue;
        const std::string_view digits = name.substr(f.prefix.size());
        if (digits.empty() || digits.size() > 7
            || digits.find_first_not_of("0123456789") != std::string_view::npos)
            break;
        faults.*f.field = std::stoi(std::string(digits));
        return Status::success();
    }
    return Status::failure("unknown fault \"" + std::string(name) + "\" (faults: " + faultNames()
                           + ")");
}

std::string faultNames()
{
    std::string out;
    for (const auto &f : kFlagFaults)
        out += std::string(f.name) + ", ";
    return out + "late-MS, drop-after-N";
}

} // namespace kt::emu
