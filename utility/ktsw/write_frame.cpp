#include "write_frame.h"

#include <chrono>
#include <cstdio>
#include <ostream>
#include <thread>

namespace kt::ktsw {

std::string hexBytes(const Command &command)
{
    std::string out;
    char byte[4];
    for (std::uint8_t b : command) {
        std::snprintf(byte, sizeof byte, "%02X", b);
        out += (out.empty() ? "" : " ") + std::string(byte);
    }
    return out;
}

std::vector<std::string> frameHex(const std::vector<PlannedWrite> &writes)
{
    std::vector<std::string> lines{hexBytes(protocol::unlockCommand())};
    for (const PlannedWrite &w : writes)
        lines.push_back(hexBytes(w.command));
    lines.push_back(hexBytes(protocol::lockCommand()));
    return lines;
}

int printDryRun(const Output &output, Json result, const std::vector<PlannedWrite> &writes)
{
    const std::vector<std::string> lines
        = writes.empty() ? std::vector<std::string>{} : frameHex(writes);
    result["dry_run"] = true;
    result["commands"] = lines;
    if (!output.json) {
        for (const std::string &line : lines)
            output.out << line << '\n';
        if (lines.empty())
            output.out << "unchanged: nothing would be written\n";
    }
    return output.print(result);
}

Result<Done> sendFrame(PrinterLink &link, const std::vector<PlannedWrite> &writes,
                       std::vector<std::string> &sent)
{
    if (auto unlocked = link.send(protocol::unlockCommand()); !unlocked.ok())
        return unlocked;
    for (const PlannedWrite &w : writes) {
        if (w.pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(w.pauseMs));
        if (auto written = link.send(w.command); !written.ok())
            return written;
        sent.push_back(w.setting);
    }
    return link.send(protocol::lockCommand());
}

int failFrame(const Output &output, const Failure &failure, const std::vector<PlannedWrite> &writes,
              const std::vector<std::string> &sent)
{
    std::vector<std::string> notSent;
    for (std::size_t i = sent.size(); i < writes.size(); ++i)
        notSent.push_back(writes[i].setting);
    std::string message = failure.message;
    const auto join = [](const std::vector<std::string> &names) {
        std::string s;
        for (const std::string &n : names)
            s += (s.empty() ? "" : ", ") + n;
        return s.empty() ? std::string("none") : s;
    };
    message += "; sent: " + join(sent) + "; not sent: " + join(notSent);
    return output.fail({failure.code, message}, {{"sent", sent}, {"not_sent", notSent}});
}

} // namespace kt::ktsw
