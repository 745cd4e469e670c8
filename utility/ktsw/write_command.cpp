// `ktsw write`: change one soft switch byte and check that the printer
// kept it.
#include <ostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "printer_session.h"
#include "protocol/encoders.h"
#include "switch_pages.h"
#include "values.h"
#include "write_frame.h"

namespace kt::ktsw {
namespace {

struct WriteOptions {
    LinkOptions link;
    int switchNo = 0;
    std::string value;
    std::vector<std::string> sets;
    bool dryRun = false;
};

// The bits whose option or meaning differs between the two bytes.
Json changedBits(int switchNo, int before, int after, const std::string &model)
{
    const auto was = meanings(switchNo, before, model);
    const auto now = meanings(switchNo, after, model);
    const auto meaning = [](const std::string &m) { return m.empty() ? Json() : Json(m); };
    Json changed = Json::array();
    for (int bit = 1; bit <= 8; ++bit) {
        const auto k = static_cast<std::size_t>(bit - 1);
        if (bitOn(before, bit) == bitOn(after, bit) && was[k] == now[k])
            continue;
        changed.push_back({{"bit", bit},
                           {"was_on", bitOn(before, bit)},
                           {"on", bitOn(after, bit)},
                           {"was_meaning", meaning(was[k])},
                           {"meaning", meaning(now[k])}});
    }
    return changed;
}

void printChange(std::ostream &out, int switchNo, const Json &result)
{
    out << "Soft_Switch " << switchNo << ": " << result["old"].get<int>() << " -> "
        << result["new"].get<int>() << '\n';
    for (const Json &c : result["changed"]) {
        const auto text
            = [](const Json &m) { return m.is_null() ? std::string("=") : m.get<std::string>(); };
        out << "  " << c["bit"].get<int>() << ": " << (c["was_on"].get<bool>() ? "ON" : "OFF")
            << " -> " << (c["on"].get<bool>() ? "ON" : "OFF") << "  " << text(c["was_meaning"])
            << " -> " << text(c["meaning"]) << '\n';
    }
}

int writeSwitch(PrinterLink &link, const Identity &id, const Output &output,
                const WriteOptions &options, const std::vector<BitChoice> &choices,
                std::optional<int> value)
{
    const int n = options.switchNo;
    auto page = hasPage(link, n, id.model);
    if (!page.ok())
        return output.fail(page.failure());
    if (!page.value())
        return output.fail({kExitUsage,
                            "model " + displayText(id.model) + " has no page for soft switch "
                                + std::to_string(n) + "; nothing written"});
    auto current = readSwitch(link, n);
    if (!current.ok())
        return output.fail(current.failure());
    if (!current.value())
        return output.fail(noAnswer(link, "soft switch " + std::to_string(n)));
    const int before = *current.value();
    const int after = value ? *value : applyChoices(before, choices);
    const std::vector<PlannedWrite> writes{
        {"soft switch " + std::to_string(n),
         protocol::writeCommand(protocol::switchSetting(n), protocol::encodeSwitchByte(after))}};
    Json result = {{"model", displayText(id.model)},
                   {"switch", n},
                   {"old", before},
                   {"new", after},
                   {"changed", changedBits(n, before, after, id.model)}};
    if (options.dryRun) {
        if (!output.json)
            printChange(output.out, n, result);
        return printDryRun(output, result, before == after ? std::vector<PlannedWrite>{} : writes);
    }
    result["written"] = before != after;
    if (before != after) {
        std::vector<std::string> sent;
        if (auto framed = sendFrame(link, writes, sent); !framed.ok())
            return failFrame(output, framed.failure(), writes, sent);
        auto back = readSwitch(link, n);
        if (!back.ok())
            return output.fail(back.failure());
        if (back.value() != after) {
            const std::string got = back.value() ? std::to_string(*back.value()) : "no answer";
            return output.fail({kExitNotKept,
                                "soft switch " + std::to_string(n) + " was written as "
                                    + std::to_string(after) + " but reads back " + got},
                               {{"written", {"soft switch " + std::to_string(n)}},
                                {"confirmed", Json::array()},
                                {"read_back", back.value() ? Json(*back.value()) : Json()}});
        }
    }
    if (!output.json) {
        printChange(output.out, n, result);
        if (before == after)
            output.out << "unchanged: nothing written\n";
    }
    return output.print(result);
}

int runWrite(const Streams &streams, const WriteOptions &options)
{
    const Output output = outputFor(streams, "write", options.link);
    std::optional<int> value;
    if (!options.value.empty()) {
        value = parseByte(options.value);
        if (!value)
            return output.fail(
                {kExitUsage,
                 "value '" + options.value + "' is not a number from 0 to 255 (decimal or 0x..)"});
    }
    auto choices = parseBitChoices(options.sets, "--set");
    if (!choices.ok())
        return output.fail(choices.failure());
    if (!value && choices.value().empty())
        return output.fail({kExitUsage, "give --value or at least one --set"});
    return withPrinter(streams, "write", options.link,
                       [&](PrinterLink &link, const Identity &id, const Output &out) {
                           return writeSwitch(link, id, out, options, choices.value(), value);
                       });
}

} // namespace

void addWriteCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<WriteOptions>();
    CLI::App *command = app.add_subcommand("write", "change a soft switch byte");
    addLinkOptions(*command, options->link);
    command->add_option("--switch,-s", options->switchNo, "soft switch 1 to 4")
        ->required()
        ->check(CLI::Range(1, 4));
    CLI::Option *value
        = command->add_option("--value", options->value, "the new byte, decimal or 0x..");
    CLI::Option *set
        = command->add_option("--set", options->sets, "BIT=ON or BIT=OFF, BIT 1 to 8 (repeatable)");
    value->excludes(set);
    command->add_flag("--dry-run", options->dryRun,
                      "print the bytes that would be sent; send no write");
    command->footer(
        "ON and OFF are the window's option buttons: ON is a 0 bit, OFF a 1 bit. Reads the byte,\n"
        "applies the change, writes it between unlock and lock and reads it back (exit 5 when\n"
        "the printer does not keep it). A switch the model has no page for is refused with exit\n"
        "2 and nothing written. JSON: model, switch, old, new, changed [{bit, was_on, on,\n"
        "was_meaning, meaning}], written (or dry_run and commands).");
    runWhenChosen(*command, run, options, runWrite);
}

} // namespace kt::ktsw
