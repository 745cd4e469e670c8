// `ktsw diff`: the settings in which a backup differs from a printer, or
// two backups from each other.
#include <ostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "printer_settings.h"
#include "settings_diff.h"

namespace kt::ktsw {
namespace {

constexpr int kExitDifferent = 1;

struct DiffOptions {
    LinkOptions link;
    std::vector<std::string> files;
};

Result<backup::Backup> readFile(const std::string &path)
{
    try {
        return backup::readBackupFile(path);
    } catch (const backup::BackupError &e) {
        return Failure{kExitUsage, e.what()};
    }
}

int report(const Output &output, const DiffSide &left, const DiffSide &right)
{
    const Json diff = diffSettings(left, right);
    if (!output.json)
        printDiff(output.out, left, right, diff);
    return output.print({{"left", left.label},
                         {"right", right.label},
                         {"equal", diff.empty()},
                         {"differences", diff}},
                        diff.empty() ? kExitOk : kExitDifferent);
}

int runDiff(const Streams &streams, const DiffOptions &options)
{
    const Output output = outputFor(streams, "diff", options.link);
    const bool onPrinter = !options.link.port.empty();
    if (options.files.size() != (onPrinter ? 1u : 2u))
        return output.fail({kExitUsage,
                            onPrinter ? "give one backup file with --port"
                                      : "give two backup files, or --port and one"});
    std::vector<backup::Backup> files;
    for (const std::string &path : options.files) {
        auto read = readFile(path);
        if (!read.ok())
            return output.fail(read.failure());
        files.push_back(std::move(read.value()));
    }
    if (!onPrinter)
        return report(output, {options.files[0], files[0]}, {options.files[1], files[1]});
    return withPrinter(streams, "diff", options.link,
                       [&](PrinterLink &link, const Identity &id, const Output &out) {
                           std::vector<std::string> notes;
                           auto read = readPrinterBackup(link, id, notes);
                           if (!read.ok())
                               return out.fail(read.failure());
                           for (const std::string &note : notes)
                               out.err << "ktsw diff: " << note << '\n';
                           return report(out, {options.files[0], files[0]},
                                         {"the printer on " + options.link.port, read.value()});
                       });
}

} // namespace

void addDiffCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<DiffOptions>();
    CLI::App *command
        = app.add_subcommand("diff", "compare a backup with a printer, or two backups");
    addLinkOptions(*command, options->link, false);
    command->add_option("files", options->files, "FILE FILE, or FILE with --port")
        ->required()
        ->expected(1, 2);
    command->footer(
        "Lists every setting that differs, with what it means on both sides: the list item of\n"
        "a language value, and for a soft switch each bit whose option or caption differs, as\n"
        "the window captions it for each side's model. A setting present on one side only\n"
        "differs. Exit 0 when equal, 1 when different, 2 for a file that is no backup. JSON:\n"
        "left, right, equal, differences [{setting, name, left, right, left_shown,\n"
        "right_shown, bits [{bit, left {on, meaning}, right {on, meaning}}]}].");
    runWhenChosen(*command, run, options, runDiff);
}

} // namespace kt::ktsw
