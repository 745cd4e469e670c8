// `ktsw selftest` and `ktsw fontstest`: the printer prints a test page.
#include <CLI/CLI.hpp>

#include "command.h"
#include "printer_session.h"
#include "protocol/print_commands.h"

namespace kt::ktsw {
namespace {

// Sends the commands in order; they expect no reply, so the parallel port
// serves too.
int sendAll(const Streams &streams, std::string_view name, const LinkOptions &options,
            const std::vector<Command> &commands)
{
    const Output output = outputFor(streams, name, options);
    auto link = PrinterLink::open(options);
    if (!link.ok())
        return output.fail(link.failure());
    std::size_t bytes = 0;
    for (const Command &c : commands) {
        if (auto sent = link.value()->send(c); !sent.ok())
            return output.fail(sent.failure());
        bytes += c.size();
    }
    if (!output.json)
        output.out << "sent " << name << ": " << commands.size() << " commands, " << bytes
                   << " bytes\n";
    return output.print({{"sent", name}, {"commands", commands.size()}, {"bytes", bytes}});
}

void addPrintCommand(CLI::App &app, Run &run, const char *name, const char *summary,
                     std::vector<Command> (*commands)())
{
    auto options = std::make_shared<LinkOptions>();
    CLI::App *command = app.add_subcommand(name, summary);
    addLinkOptions(*command, *options);
    command->footer("JSON: sent, commands, bytes. Needs no reply: works on LPTn too.");
    command->callback([&run, options, name, commands] {
        run = [options, name, commands](const Streams &s) {
            return sendAll(s, name, *options, commands());
        };
    });
}

std::vector<Command> selfTest() { return {protocol::selfTestCommand()}; }

} // namespace

void addPrintTestCommands(CLI::App &app, Run &run)
{
    addPrintCommand(app, run, "selftest", "the printer prints its self-test page", selfTest);
    addPrintCommand(app, run, "fontstest",
                    "the printer prints every character in two fonts and cuts",
                    protocol::fontsTestCommands);
}

} // namespace kt::ktsw
