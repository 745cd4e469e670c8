// The sub-commands of ktsw. Each add function registers its sub-command
// with the application; when the sub-command is chosen, parsing stores in
// `run` what the command does.
#pragma once

#include <functional>
#include <iosfwd>

namespace CLI {
class App;
}

namespace kt::ktsw {

struct Streams {
    std::ostream &out;
    std::ostream &err;
};

using Run = std::function<int(const Streams &)>;

void addInfoCommand(CLI::App &app, Run &run);
void addStatusCommand(CLI::App &app, Run &run);
void addReadCommand(CLI::App &app, Run &run);
void addWriteCommand(CLI::App &app, Run &run);
void addSetCommand(CLI::App &app, Run &run);
void addPrintTestCommands(CLI::App &app, Run &run);
void addLogoCommand(CLI::App &app, Run &run);
void addExplainCommand(CLI::App &app, Run &run);
void addModelsCommand(CLI::App &app, Run &run);

} // namespace kt::ktsw
