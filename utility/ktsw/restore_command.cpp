// `ktsw restore`: a backup written back into one printer, every written
// setting read back.
#include <ostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "printer_session.h"
#include "restore.h"
#include "restore_report.h"

namespace kt::ktsw {
namespace {

struct RestoreOptions {
    RestoreRequest request;
    std::string file;
};

int runRestore(const Streams &streams, const RestoreOptions &options)
{
    const Output output = outputFor(streams, "restore", options.request.link);
    auto file = readBackup(options.file);
    if (!file.ok())
        return output.fail(file.failure());
    const RestoreResult result = restoreBackup(options.request, file.value());
    return reportRestore(output, result, options.request.dryRun);
}

} // namespace

void addRestoreCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<RestoreOptions>();
    CLI::App *command = app.add_subcommand("restore", "write a backup back into a printer");
    addLinkOptions(*command, options->request.link);
    command->add_option("file", options->file, "the backup file")->required();
    command->add_flag("--force-model", options->request.forceModel,
                      "write even when the printer's model is not the backup's");
    command->add_flag("--dry-run", options->request.dryRun,
                      "read the printer and print the frame that would be sent; send no write");
    command->footer(
        "Refuses a file that is no backup (exit 2) and a printer of another model than the\n"
        "backup's (exit 8) before anything is written. Reads the printer, writes only the\n"
        "settings that differ (the code page always with its name, 1 s apart) in one unlock ...\n"
        "lock frame, never one the model does not have, then reads every written setting back:\n"
        "confirmed, unchanged, failed (exit 5), skipped (the model has no such setting). When\n"
        "the connection ends half-way (exit 4), a new connection locks the printer and reads back\n"
        "what it now holds; where that is impossible a setting is unknown (sent, not confirmed)\n"
        "or not_sent. JSON: model, settings [{setting, name, result, wanted, before, now}],\n"
        "written, note; on failure inside the error object.");
    runWhenChosen(*command, run, options, runRestore);
}

} // namespace kt::ktsw
