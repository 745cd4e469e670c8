// `ktsw set`: the language settings, written in one unlock ... lock frame
// and read back.
#include <ostream>

#include <CLI/CLI.hpp>

#include "catalogue/models.h"
#include "command.h"
#include "language_values.h"
#include "printer_session.h"
#include "write_frame.h"

namespace kt::ktsw {
namespace {

struct SetOptions {
    LinkOptions link;
    LanguageChoice choice;
    std::string font8x16;
    bool dryRun = false;
};

bool isCodePagePart(const LanguageWrite &w)
{
    return w.read == protocol::Query::Language3 || w.read == protocol::Query::Language1;
}

// Refuses the settings the model does not have: the printer would neither
// keep nor report them.
std::optional<Failure> modelRefuses(const LanguageChoice &c, const std::string &model)
{
    const auto refuse = [&model](const char *what) {
        return Failure{kExitUsage,
                       "model " + displayText(model) + " has no " + what
                           + " setting; nothing written"};
    };
    if (c.density && !catalogue::queriesDensity(model))
        return refuse("print density");
    if (c.thaiPass && !catalogue::hasThaiFontPass(model))
        return refuse("Thai font pass");
    return std::nullopt;
}

Result<std::optional<std::string>> readSetting(PrinterLink &link, const LanguageWrite &w)
{
    auto value = link.query(protocol::queryEntry(w.read).bytes);
    if (value.ok() && !value.value())
        return noAnswer(link, "the " + w.setting + " query");
    return value;
}

// The writes whose setting differs from what the printer holds; the code
// page and its name go together.
Result<std::vector<LanguageWrite>>
changedOnly(PrinterLink &link, const std::vector<LanguageWrite> &planned, Json &before)
{
    std::vector<bool> needed;
    bool codePage = false;
    for (const LanguageWrite &w : planned) {
        auto value = readSetting(link, w);
        if (!value.ok())
            return value.failure();
        before[w.setting] = displayText(w.shown(*value.value()));
        needed.push_back(!w.holds(*value.value()));
        codePage = codePage || (needed.back() && isCodePagePart(w));
    }
    std::vector<LanguageWrite> writes;
    for (std::size_t i = 0; i < planned.size(); ++i)
        if (needed[i] || (codePage && isCodePagePart(planned[i])))
            writes.push_back(planned[i]);
    return writes;
}

int setLanguage(PrinterLink &link, const Identity &id, const Output &output,
                const SetOptions &options, const std::vector<LanguageWrite> &planned)
{
    if (const auto refused = modelRefuses(options.choice, id.model))
        return output.fail(*refused);
    Json result = {{"model", displayText(id.model)}, {"before", Json::object()}};
    auto writes = changedOnly(link, planned, result["before"]);
    if (!writes.ok())
        return output.fail(writes.failure());
    std::vector<PlannedWrite> frame;
    for (const LanguageWrite &w : writes.value())
        frame.push_back({w.setting, w.command, w.pauseMs});
    Json wanted = Json::object();
    for (const LanguageWrite &w : writes.value())
        wanted[w.setting] = w.wanted;
    result["written"] = wanted;
    if (options.dryRun)
        return printDryRun(output, result, frame);
    if (!frame.empty()) {
        std::vector<std::string> sent;
        if (auto framed = sendFrame(link, frame, sent); !framed.ok())
            return failFrame(output, framed.failure(), frame, sent);
    }
    std::vector<std::string> confirmed, notKept;
    for (const LanguageWrite &w : writes.value()) {
        auto value = link.query(protocol::queryEntry(w.read).bytes);
        if (!value.ok())
            return output.fail(value.failure());
        (value.value() && w.holds(*value.value()) ? confirmed : notKept).push_back(w.setting);
    }
    if (!notKept.empty()) {
        std::string names;
        for (const std::string &n : notKept)
            names += (names.empty() ? "" : ", ") + n;
        return output.fail({kExitNotKept, "the printer did not keep: " + names},
                           {{"confirmed", confirmed}, {"not_confirmed", notKept}});
    }
    if (!output.json) {
        if (wanted.empty())
            output.out << "unchanged: nothing written\n";
        for (const auto &[setting, value] : wanted.items())
            output.out << setting << ": " << result["before"][setting].get<std::string>() << " -> "
                       << value.get<std::string>() << '\n';
    }
    return output.print(result);
}

int runSet(const Streams &streams, const SetOptions &given)
{
    SetOptions options = given;
    const Output output = outputFor(streams, "set", options.link);
    if (!options.font8x16.empty())
        options.choice.font8x16 = options.font8x16 == "on";
    auto planned = planLanguageWrites(options.choice);
    if (!planned.ok())
        return output.fail(planned.failure());
    if (planned.value().empty())
        return output.fail({kExitUsage, "nothing to set: give at least one setting"});
    return withPrinter(streams, "set", options.link,
                       [&](PrinterLink &link, const Identity &id, const Output &out) {
                           return setLanguage(link, id, out, options, planned.value());
                       });
}

} // namespace

void addSetCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<SetOptions>();
    CLI::App *command = app.add_subcommand("set", "change the language settings");
    addLinkOptions(*command, options->link);
    command->add_option("--code-page", options->choice.codePage,
                        "code page number, written with its name: " + allowedCodePages());
    command->add_option("--charset", options->choice.charset,
                        "international character set: " + allowedCharsets());
    command->add_option("--density", options->choice.density, "print density 0, 1 or 2");
    command->add_option("--font-8x16", options->font8x16, "new 8x16 font on or off")
        ->check(CLI::IsMember({"on", "off"}));
    command->add_option("--thai", options->choice.thaiPass, "Thai font pass 1 or 3");
    command->add_flag("--dry-run", options->dryRun,
                      "print the bytes that would be sent; send no write");
    command->footer(
        "Reads the settings first and writes only those that differ, in one unlock ... lock\n"
        "frame, then reads every written one back (exit 5 naming what was not kept). The code\n"
        "page is written with its name, 1 s apart; the character set is left alone unless\n"
        "--charset is given. A value outside the printer's lists, density on a model without it\n"
        "and Thai pass on a model without it are refused with exit 2. JSON: model, before,\n"
        "written (setting -> value), or dry_run and commands.");
    runWhenChosen(*command, run, options, runSet);
}

} // namespace kt::ktsw
