// `ktsw info`: the printer's identity, counters and language settings.
#include <ostream>

#include <CLI/CLI.hpp>

#include "catalogue/models.h"
#include "command.h"
#include "printer_session.h"
#include "protocol/reply_rules.h"

namespace kt::ktsw {
namespace {

using protocol::Query;

// How a reply becomes its JSON value.
enum class Shape { Text, Number, OnOff };

struct Item {
    const char *key;
    const char *label;
    Query query;
    Shape shape;
    bool (*asked)(std::string_view model); // nullptr: on every model
};

// In the order the window reads them.
constexpr Item kPrinterItems[] = {
    {"firmware", "Firmware Revision", Query::Printer2, Shape::Text, nullptr},
    {"serial_number", "Serial Number", Query::Printer5Serial, Shape::Text, nullptr},
    {"hours_powered", "Hours Powered", Query::Printer3, Shape::Number, nullptr},
    {"lines_printed", "Lines Printed", Query::Printer3a, Shape::Number, nullptr},
    {"cut_count", "Cut Paper Count", Query::Printer4Cut, Shape::Number, nullptr},
    {"failed_cuts", "Failed Paper Cuts", Query::Printer4Failed, Shape::Number, nullptr},
    {"installation_date", "Installation Date", Query::Printer5Date, Shape::Text, nullptr},
};

constexpr Item kLanguageItems[] = {
    {"model", "Language Model", Query::Language1, Shape::Text, nullptr},
    {"font_rom", "Font ROM", Query::Language2, Shape::Text, nullptr},
    {"code_page", "Code Page", Query::Language3, Shape::Number, nullptr},
    {"charset", "International Character Set", Query::Language4, Shape::Number, nullptr},
    {"density", "Print Density", Query::Language5, Shape::Number, catalogue::queriesDensity},
    {"font_8x16", "New 8x16 Font", Query::Language6, Shape::OnOff, nullptr},
    {"thai_pass", "Thai 1Pass/3Pass", Query::Language7, Shape::Number, catalogue::hasThaiFontPass},
};

Json valueOf(const std::optional<std::string> &reply, Shape shape)
{
    if (!reply)
        return nullptr;
    switch (shape) {
    case Shape::Number: return numberOrText(*reply);
    case Shape::OnOff: return protocol::new8x16On(*reply);
    case Shape::Text: break;
    }
    return displayText(*reply);
}

std::string shownText(const Json &value)
{
    if (value.is_null())
        return "(no answer)";
    if (value.is_boolean())
        return value.get<bool>() ? "ON" : "OFF";
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// Reads the items the model has into `into`; the others are null.
Result<Done> readItems(PrinterLink &link, std::string_view model, std::span<const Item> items,
                       Json &into)
{
    for (const Item &item : items) {
        into[item.key] = nullptr;
        if (item.asked && !item.asked(model))
            continue;
        auto reply = link.query(protocol::queryEntry(item.query).bytes);
        if (!reply.ok())
            return reply.failure();
        into[item.key] = valueOf(reply.value(), item.shape);
    }
    return Done{};
}

void printText(std::ostream &out, const Json &info)
{
    out << "Maker: " << info["maker"].get<std::string>() << '\n'
        << "Model Name: " << info["model"].get<std::string>() << '\n';
    for (const Item &item : kPrinterItems)
        out << item.label << ": " << shownText(info[item.key]) << '\n';
    for (const Item &item : kLanguageItems)
        if (!info["language"][item.key].is_null() || !item.asked)
            out << item.label << ": " << shownText(info["language"][item.key]) << '\n';
}

int runInfo(const Streams &streams, const LinkOptions &options)
{
    return withPrinter(
        streams, "info", options, [&](PrinterLink &link, const Identity &id, const Output &output) {
            Json info = {{"maker", displayText(id.maker)}, {"model", displayText(id.model)}};
            Json language = Json::object();
            auto read = readItems(link, id.model, kPrinterItems, info);
            if (read.ok())
                read = readItems(link, id.model, kLanguageItems, language);
            if (!read.ok())
                return output.fail(read.failure());
            info["language"] = language;
            if (!output.json)
                printText(output.out, info);
            return output.print(info);
        });
}

} // namespace

void addInfoCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<LinkOptions>();
    CLI::App *command = app.add_subcommand(
        "info", "maker, model, firmware, serial number, counters and language settings");
    addLinkOptions(*command, *options);
    command->footer(
        "JSON: maker, model, firmware, serial_number, hours_powered, lines_printed, cut_count,\n"
        "failed_cuts, installation_date, language {model, font_rom, code_page, charset, density,\n"
        "font_8x16, thai_pass}. Counters and the language numbers are numbers when the printer\n"
        "sent a decimal number; font_8x16 is true for any non-empty answer; an item the printer\n"
        "did not answer, or that the model does not have, is null.");
    runWhenChosen(*command, run, options, runInfo);
}

} // namespace kt::ktsw
