// `ktsw status`: the real-time status requests DLE EOT 1 to 4.
#include <ostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "printer_session.h"
#include "status_decode.h"

namespace kt::ktsw {
namespace {

Json flag(const std::optional<bool> &value) { return value ? Json(*value) : Json(); }

const char *said(const std::optional<bool> &value, const char *yes, const char *no)
{
    return !value ? "no answer" : *value ? yes : no;
}

void printText(std::ostream &out, const PrinterStatus &s)
{
    out << "Online: " << said(s.online, "yes", "no (offline)") << '\n'
        << "Cover: " << said(s.coverOpen, "open", "closed") << '\n'
        << "Paper: "
        << (s.paperEnd.value_or(false)           ? "end"
                : s.paperNearEnd.value_or(false) ? "near end"
                : s.paperEnd                     ? "present"
                                                 : "no answer")
        << '\n'
        << "Error: " << said(s.error, "yes", "none") << '\n';
}

// The conditions that keep the printer from printing, each after a blank.
std::string notReadyBecause(const PrinterStatus &s)
{
    std::string why;
    const auto add = [&why](const std::optional<bool> &condition, const char *text) {
        if (condition.value_or(false))
            why += std::string(why.empty() ? " " : ", ") + text;
    };
    add(s.online.has_value() ? std::optional<bool>(!*s.online) : std::nullopt, "offline");
    add(s.coverOpen, "cover open");
    add(s.paperEnd, "paper end");
    add(s.error, "error");
    return why;
}

int runStatus(const Streams &streams, const LinkOptions &options)
{
    const Output output = outputFor(streams, "status", options);
    auto link = openForReplies(options, "status");
    if (!link.ok())
        return output.fail(link.failure());
    StatusBytes bytes;
    Json raw = Json::array();
    for (std::uint8_t n = 1; n <= 4; ++n) {
        auto byte = link.value()->statusByte({0x10, 0x04, n});
        if (!byte.ok())
            return output.fail(byte.failure());
        bytes[n - 1] = byte.value();
        raw.push_back(byte.value() ? Json(*byte.value()) : Json());
    }
    if (!bytes[0])
        return output.fail(noAnswer(*link.value(), "the status request"));
    const PrinterStatus s = decodeStatus(bytes);
    const Json status = {{"online", flag(s.online)},
                         {"cover_open", flag(s.coverOpen)},
                         {"paper_near_end", flag(s.paperNearEnd)},
                         {"paper_end", flag(s.paperEnd)},
                         {"error", flag(s.error)},
                         {"raw", raw}};
    if (!output.json)
        printText(output.out, s);
    const bool ready = s.ready();
    if (!ready)
        output.err << "ktsw status: the printer is not ready:" << notReadyBecause(s) << '\n';
    return output.print(status, ready ? kExitOk : kExitPrinterError);
}

} // namespace

void addStatusCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<LinkOptions>();
    CLI::App *command
        = app.add_subcommand("status", "real-time status: online, cover, paper, error");
    addLinkOptions(*command, *options);
    command->footer(
        "Sends DLE EOT 1 to 4. JSON: online, cover_open, paper_near_end, paper_end, error\n"
        "(true/false, null where the printer did not answer that request) and raw (the four\n"
        "bytes). Exit 0 when online without cover open, paper end or error (paper near end\n"
        "only warns), 7 otherwise, 4 when the printer does not answer DLE EOT 1.");
    runWhenChosen(*command, run, options, runStatus);
}

} // namespace kt::ktsw
