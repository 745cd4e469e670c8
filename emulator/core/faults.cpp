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

} // namespace kt::emu
