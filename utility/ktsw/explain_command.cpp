// `ktsw explain`: the display procedure of one switch on the design-time
// page, then option clicks, as the window would run them; prints the page
// and the byte it stands for. Needs no printer.
#include <bitset>
#include <cstdio>
#include <ostream>

#include <CLI/CLI.hpp>

#include "catalogue/model_names.h"
#include "catalogue/switch_page.h"
#include "command.h"
#include "output.h"
#include "values.h"

namespace kt::ktsw {
namespace {

using catalogue::BitRow;
using catalogue::SwitchPage;

struct ExplainOptions {
    std::string model;
    int switchNo = 1;
    std::string value;
    std::vector<std::string> selects;
    bool json = false;
    bool anyModel = false;
};

const std::optional<bool> &selectedBold(const BitRow &bit)
{
    return bit.on ? bit.onBold : bit.offBold;
}

Json byteForms(int byte)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", byte);
    return {{"decimal", byte},
            {"hex", hex},
            {"binary", std::bitset<8>(static_cast<unsigned>(byte)).to_string()}};
}

Json pageJson(const ExplainOptions &o, int value, const SwitchPage &page)
{
    Json bits = Json::array();
    for (std::size_t k = 0; k < page.bits.size(); ++k) {
        const BitRow &bit = page.bits[k];
        const auto &bold = selectedBold(bit);
        bits.push_back({{"bit", k + 1},
                        {"state", bit.on ? "ON" : "OFF"},
                        {"written", bit.written},
                        {"caption", bit.written ? Json(displayText(bit.caption)) : Json()},
                        {"bold", bold ? Json(*bold) : Json()}});
    }
    return {{"model", displayText(o.model)},
            {"switch", o.switchNo},
            {"value", value},
            {"bits", bits},
            {"byte", byteForms(catalogue::encode(page))}};
}

void printText(std::ostream &out, const Json &result, const SwitchPage &page)
{
    out << "model " << Json(result["model"]).dump() << ", soft switch "
        << result["switch"].get<int>() << ", value " << result["value"].get<int>() << '\n';
    for (std::size_t k = 0; k < page.bits.size(); ++k) {
        const BitRow &bit = page.bits[k];
        const auto &bold = selectedBold(bit);
        out << "bit " << k + 1 << ": " << (bit.on ? "ON " : "OFF") << "  "
            << (bold ? (*bold ? "bold  " : "normal") : "unset ") << "  "
            << Json(displayText(bit.caption)).dump() << (bit.written ? "" : " (design-time)")
            << '\n';
    }
    const Json &byte = result["byte"];
    out << "byte: " << byte["decimal"].get<int>() << " = " << byte["hex"].get<std::string>()
        << " = " << byte["binary"].get<std::string>() << '\n';
}

int runExplain(const Streams &streams, const ExplainOptions &o)
{
    const Output output{streams.out, streams.err, "explain", o.json};
    if (!o.anyModel && !catalogue::isKnownModel(o.model))
        return output.fail({kExitUsage,
                            "unknown model '" + displayText(o.model)
                                + "' (ktsw models lists them; --any-model takes it as it is)"});
    const auto value = parseByte(o.value);
    if (!value)
        return output.fail(
            {kExitUsage,
             "value '" + o.value + "' is not a number from 0 to 255 (decimal or 0x..)"});
    auto choices = parseBitChoices(o.selects, "--select");
    if (!choices.ok())
        return output.fail(choices.failure());

    SwitchPage page = catalogue::designTimePage(o.switchNo);
    catalogue::show(page, *value, o.model);
    for (const BitChoice &c : choices.value())
        catalogue::click(page, c.bit - 1, c.on, o.model);
    const Json result = pageJson(o, *value, page);
    if (!o.json)
        printText(output.out, result, page);
    return output.print(result);
}

} // namespace

void addExplainCommand(CLI::App &app, Run &run)
{
    auto o = std::make_shared<ExplainOptions>();
    CLI::App *command = app.add_subcommand(
        "explain", "show what each bit of a soft switch byte means on a model");
    command->add_option("--model,-m", o->model, "model name (ktsw models)")->required();
    command->add_option("--switch,-s", o->switchNo, "soft switch 1 to 4")
        ->required()
        ->check(CLI::Range(1, 4));
    command->add_option("--value", o->value, "the byte read, 0 to 255, decimal or 0x..")->required();
    command->add_option("--select", o->selects,
                        "click BIT=ON or BIT=OFF, BIT 1 to 8 (repeatable, in order)");
    command->add_flag("--json", o->json, "print one JSON object");
    command->add_flag("--any-model", o->anyModel, "take a model name the catalogue does not list");
    command->footer(
        "Shows the switch as the window does after reading the byte, then clicks each --select\n"
        "in order; prints every bit's option, whether it is bold and its meaning, and the byte\n"
        "the options stand for. JSON: model, switch, value, bits [{bit, state, written, caption,\n"
        "bold}], byte {decimal, hex, binary}. Needs no printer.");
    runWhenChosen(*command, run, o, runExplain);
}

void addModelsCommand(CLI::App &app, Run &run)
{
    auto json = std::make_shared<bool>(false);
    CLI::App *command = app.add_subcommand("models", "list the models the catalogue knows");
    command->add_flag("--json", *json, "print one JSON array");
    command->callback([&run, json] {
        run = [json](const Streams &s) {
            Json names = Json::array();
            for (std::string_view name : catalogue::modelNames()) {
                names.push_back(name);
                if (!*json)
                    s.out << name << '\n';
            }
            return Output{s.out, s.err, "models", *json}.print(names);
        };
    });
}

} // namespace kt::ktsw
