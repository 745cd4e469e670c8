// `ktsw backup`: every writable setting and the identity of a printer as
// one backup document, on standard output or written whole to a file.
#include <ostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "printer_settings.h"

namespace kt::ktsw {
namespace {

struct BackupOptions {
    LinkOptions link;
    std::string file;
};

int runBackup(const Streams &streams, const BackupOptions &options)
{
    return withPrinter(streams, "backup", options.link,
                       [&](PrinterLink &link, const Identity &id, const Output &output) {
                           std::vector<std::string> notes;
                           auto read = readPrinterBackup(link, id, notes);
                           if (!read.ok())
                               return output.fail(read.failure());
                           for (const std::string &note : notes)
                               output.err << "ktsw backup: " << note << '\n';
                           const backup::Backup &b = read.value();
                           if (options.file.empty()) {
                               output.out << backup::formatBackup(b);
                               output.out.flush();
                               return output.out ? kExitOk : 1;
                           }
                           try {
                               backup::writeBackupFile(options.file, b);
                           } catch (const backup::BackupError &e) {
                               return output.fail({1, e.what()});
                           }
                           Json settings = Json::array();
                           for (const BackupItem &item : backupItems())
                               if (backup::settingValue(b.settings, item.key))
                                   settings.push_back(item.key);
                           if (!output.json)
                               output.out << "backup of " << displayText(id.model) << " written to "
                                          << options.file << ": " << settings.size()
                                          << " settings\n";
                           return output.print({{"file", options.file},
                                                {"model", displayText(id.model)},
                                                {"settings", settings},
                                                {"left_out", notes}});
                       });
}

} // namespace

void addBackupCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<BackupOptions>();
    CLI::App *command
        = app.add_subcommand("backup", "save every writable setting of a printer to a file");
    addLinkOptions(*command, options->link);
    command->add_option("--output,-o", options->file,
                        "the backup file, replaced whole; standard output without it");
    command->footer(
        "Reads the soft switches the model has, the language settings (code page and its name,\n"
        "character set, density and Thai pass where the model has them, new 8x16 font) and the\n"
        "identity, and writes one JSON document: format, created, printer {maker, model,\n"
        "firmware, serial_number}, settings {switch_1..switch_4, code_page, code_page_name,\n"
        "charset, density, font_8x16, thai_pass}. A setting the model does not have, or that\n"
        "the printer did not answer, is left out (named on stderr). The file is written to a\n"
        "temporary file beside it and renamed: an interrupted backup leaves no half file. Exit 1\n"
        "when the file cannot be written. With -o and --json: {file, model, settings,\n"
        "left_out}.");
    runWhenChosen(*command, run, options, runBackup);
}

} // namespace kt::ktsw
