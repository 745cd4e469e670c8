// ktsw: the command line of the service tool. Every sub-command is added by
// its own file (command.h); runKtsw parses and runs the one chosen.
#include "ktsw.h"

#include <cstring>
#include <iostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "kt_build_info.h"
#include "output.h"
#include "terminal_filter.h"

namespace {

constexpr const char *kExitCodes
    = "Exit codes: 0 success; 2 usage (also values and switches refused before anything is\n"
      "sent); 3 the port could not be opened; 4 no answer within the time-out (or the\n"
      "connection ended); 5 a write was not confirmed by the read-back; 6 not a printer of\n"
      "the maker; 7 the printer reports an error condition (status); 8 the printer's model is\n"
      "not the backup's (restore). diff exits 1 when the settings differ, deploy when a printer\n"
      "did not end confirmed or unchanged, backup when its file cannot be written. Every\n"
      "failure prints one line on stderr; with --json also {\"error\": {\"code\", \"message\"}}\n"
      "on stdout.";

bool wantsJson(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--json") == 0)
            return true;
    return false;
}

} // namespace

namespace kt::ktsw {

int runKtsw(int argc, char **argv, std::ostream &rawOut, std::ostream &rawErr)
{
    // What a device answered reaches the terminal only through these
    // filters; JSON output is left to the JSON writer, which escapes control
    // characters itself.
    const bool json = wantsJson(argc, argv);
    TerminalFilterStream filteredOut(rawOut);
    TerminalFilterStream err(rawErr);
    std::ostream &out = json ? rawOut : filteredOut;
    CLI::App app{"ktsw: read, explain and change the settings of a receipt printer", "ktsw"};
    app.set_version_flag("--version", "ktsw " KT_VERSION);
    app.require_subcommand(1);
    app.footer(kExitCodes);
    Run run;
    addInfoCommand(app, run);
    addStatusCommand(app, run);
    addReadCommand(app, run);
    addWriteCommand(app, run);
    addSetCommand(app, run);
    addPrintTestCommands(app, run);
    addLogoCommand(app, run);
    addExplainCommand(app, run);
    addModelsCommand(app, run);
    addDoctorCommand(app, run);
    addScanCommand(app, run);
    addBackupCommand(app, run);
    addDiffCommand(app, run);
    addRestoreCommand(app, run);
    addDeployCommand(app, run);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        if (e.get_exit_code() == 0)
            return app.exit(e, out, err);
        const Output output{out, err, "", json};
        std::string message = e.what();
        message += " (try ktsw --help)";
        output.err << "ktsw: " << message << '\n';
        if (output.json)
            out << Json{{"error", {{"code", kExitUsage}, {"message", e.what()}}}}.dump(2) << '\n';
        return kExitUsage;
    }
    return run({out, err});
}

} // namespace kt::ktsw
