#include "printer_session.h"

#include <CLI/CLI.hpp>

#include "command.h"
#include "port_form.h"
#include "protocol/reply_rules.h"

namespace kt::ktsw {

using protocol::Query;
using protocol::queryEntry;

void addLinkOptions(CLI::App &command, LinkOptions &options, bool portRequired)
{
    command
        .add_option("--port,-p", options.port,
                    "usb, usb:PRODUCTID, /dev/usb/lpN, COMn, /dev/ttyXXX, LPTn, /dev/lpN, "
                    "HOST[:PORT] or [IPv6]:PORT (TCP port 9100 by default)")
        ->required(portRequired);
    command.add_flag("--json", options.json, "print one JSON object");
    command.add_option("--timeout", options.timeoutMs, "milliseconds to wait for each reply")
        ->check(CLI::Range(1, 600000))
        ->capture_default_str();
    command.add_option("--baud", options.baud, "serial line speed (8N1)")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
}

Output outputFor(const Streams &streams, std::string_view command, const LinkOptions &options)
{
    return Output{streams.out, streams.err, std::string(command), options.json};
}

Result<std::unique_ptr<PrinterLink>> openForReplies(const LinkOptions &options,
                                                    std::string_view command)
{
    std::string error;
    const auto form = port::parsePortForm(options.port, error);
    if (form && form->writeOnly())
        return Failure{kExitUsage,
                       options.port + " is write-only: " + std::string(command)
                           + " needs the printer's replies"};
    return PrinterLink::open(options);
}

Result<Identity> identify(PrinterLink &link)
{
    auto maker = link.query(queryEntry(Query::Maker).bytes);
    if (!maker.ok())
        return maker.failure();
    if (!maker.value())
        return noAnswer(link, "the maker query");
    if (!protocol::isMakerReply(*maker.value()))
        return Failure{kExitWrongMaker,
                       "not a printer of the maker: it answered '" + displayText(*maker.value())
                           + "'"};

    const Command &modelQuery = queryEntry(Query::Printer1).bytes;
    auto model = link.query(modelQuery);
    if (model.ok() && (!model.value() || model.value()->empty()))
        model = link.query(modelQuery);
    if (model.ok() && model.value() && protocol::modelReplyAsksAgain(*model.value()))
        model = link.query(modelQuery);
    if (!model.ok())
        return model.failure();
    if (!model.value() || model.value()->empty())
        return noAnswer(link, "the model query");
    return Identity{*maker.value(), *model.value()};
}

int withPrinter(const Streams &streams, std::string_view command, const LinkOptions &options,
                const std::function<int(PrinterLink &, const Identity &, const Output &)> &body)
{
    const Output output = outputFor(streams, command, options);
    auto link = openForReplies(options, command);
    if (!link.ok())
        return output.fail(link.failure());
    auto identity = identify(*link.value());
    if (!identity.ok())
        return output.fail(identity.failure());
    return body(*link.value(), identity.value(), output);
}

} // namespace kt::ktsw
