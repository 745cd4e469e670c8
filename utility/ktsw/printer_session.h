// What every printer command starts with: the common options, the link, and
// the printer's maker and model.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "command.h"
#include "output.h"
#include "printer_link.h"

namespace CLI {
class App;
}

namespace kt::ktsw {

// --port, --json, --timeout and --baud; the port may be left out where
// the command works on files too.
void addLinkOptions(CLI::App &command, LinkOptions &options, bool portRequired = true);

// The output of a printer command, from its options.
Output outputFor(const Streams &streams, std::string_view command, const LinkOptions &options);

// Opens the link for a command that reads replies: refused (exit 2) on the
// write-only parallel port.
Result<std::unique_ptr<PrinterLink>> openForReplies(const LinkOptions &options,
                                                    std::string_view command);

struct Identity {
    std::string maker;
    std::string model;
};

// Asks the maker name (exit 6 unless it holds the maker word, 4 without an
// answer) and the model name, repeating the model query as the window does.
Result<Identity> identify(PrinterLink &link);

// Runs `body` with an open link for replies and the identity, and turns
// every failure into its line and exit code.
int withPrinter(const Streams &streams, std::string_view command, const LinkOptions &options,
                const std::function<int(PrinterLink &, const Identity &, const Output &)> &body);

} // namespace kt::ktsw
