// `ktsw read`: soft switch bytes with every bit's state and meaning.
#include <ostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "printer_session.h"
#include "switch_pages.h"

namespace kt::ktsw {
namespace {

struct ReadOptions {
    LinkOptions link;
    std::vector<int> switches;
};

void printSwitch(std::ostream &out, int switchNo, const Json &described)
{
    out << "Soft_Switch " << switchNo << " = " << described["value"].get<int>() << '\n';
    for (const Json &bit : described["bits"])
        out << "  " << bit["bit"].get<int>() << ": " << (bit["on"].get<bool>() ? "ON " : "OFF")
            << "  " << (bit["meaning"].is_null() ? "=" : bit["meaning"].get<std::string>()) << '\n';
}

// The bytes to show: the ones asked for, or the communication test's.
Result<std::vector<SwitchByte>> readWanted(PrinterLink &link, const std::string &model,
                                           const std::vector<int> &wanted)
{
    if (wanted.empty())
        return readTestSwitches(link, model);
    std::vector<SwitchByte> read;
    for (int switchNo : wanted) {
        auto page = hasPage(link, switchNo, model);
        if (!page.ok())
            return page.failure();
        if (!page.value())
            return Failure{kExitUsage,
                           "model " + displayText(model) + " has no page for soft switch "
                               + std::to_string(switchNo)};
        auto value = readSwitch(link, switchNo);
        if (!value.ok())
            return value.failure();
        if (!value.value())
            return noAnswer(link, "soft switch " + std::to_string(switchNo));
        read.push_back({switchNo, value.value()});
    }
    return read;
}

int runRead(const Streams &streams, const ReadOptions &options)
{
    return withPrinter(
        streams, "read", options.link,
        [&](PrinterLink &link, const Identity &id, const Output &output) {
            auto read = readWanted(link, id.model, options.switches);
            if (!read.ok())
                return output.fail(read.failure());
            Json switches = Json::object();
            for (const SwitchByte &s : read.value())
                switches[std::to_string(s.switchNo)]
                    = s.value ? describeSwitch(s.switchNo, *s.value, id.model) : Json();
            if (!output.json) {
                output.out << "Model Name: " << displayText(id.model) << '\n';
                for (const SwitchByte &s : read.value()) {
                    if (s.value)
                        printSwitch(output.out, s.switchNo, switches[std::to_string(s.switchNo)]);
                    else
                        output.out << "Soft_Switch " << s.switchNo << ": no answer\n";
                }
            }
            return output.print({{"model", displayText(id.model)}, {"switches", switches}});
        });
}

} // namespace

void addReadCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<ReadOptions>();
    CLI::App *command = app.add_subcommand("read", "read soft switches and explain every bit");
    addLinkOptions(*command, options->link);
    command->add_option("--switch,-s", options->switches, "soft switch 1 to 4 (repeatable)")
        ->check(CLI::Range(1, 4));
    command->footer(
        "Without --switch: the switches the communication test reads for the model. A switch\n"
        "the model has no page for is refused with exit 2. JSON: model, switches {\"N\": {value,\n"
        "bits: [{bit, on, meaning} x 8]}}; on is true when the bit's ON option is selected (a 0\n"
        "bit), meaning is null where the window shows only \"=\"; a switch that was asked and\n"
        "not answered is null.");
    runWhenChosen(*command, run, options, runRead);
}

} // namespace kt::ktsw
