// The sub-commands of ktsw. Each add function registers its sub-command
// with the application; when the sub-command is chosen, parsing stores in
// `run` what the command does.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>

#include <CLI/CLI.hpp>

namespace kt::ktsw {

struct Streams {
    std::ostream &out;
    std::ostream &err;
};

using Run = std::function<int(const Streams &)>;

// Makes `body` with the parsed options what runs when `command` is chosen.
template <class Options>
void runWhenChosen(CLI::App &command, Run &run, std::shared_ptr<Options> options,
                   int (*body)(const Streams &, const Options &))
{
    command.callback([&run, options, body] {
        run = [options, body](const Streams &s) { return body(s, *options); };
    });
}

void addInfoCommand(CLI::App &app, Run &run);
void addStatusCommand(CLI::App &app, Run &run);
void addReadCommand(CLI::App &app, Run &run);
void addWriteCommand(CLI::App &app, Run &run);
void addSetCommand(CLI::App &app, Run &run);
void addPrintTestCommands(CLI::App &app, Run &run);
void addLogoCommand(CLI::App &app, Run &run);
void addExplainCommand(CLI::App &app, Run &run);
void addModelsCommand(CLI::App &app, Run &run);
void addDoctorCommand(CLI::App &app, Run &run);
void addScanCommand(CLI::App &app, Run &run);
void addBackupCommand(CLI::App &app, Run &run);
void addDiffCommand(CLI::App &app, Run &run);
void addRestoreCommand(CLI::App &app, Run &run);
void addDeployCommand(CLI::App &app, Run &run);

} // namespace kt::ktsw
