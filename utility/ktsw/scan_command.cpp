// `ktsw scan`: finds the printers of the maker on a network range.
#include <ostream>

#include <CLI/CLI.hpp>

#include "address_range.h"
#include "command.h"
#include "output.h"
#include "tcp_sweep.h"

namespace kt::ktsw {
namespace {

struct ScanOptions {
    std::string range;
    SweepOptions sweep;
    int port = 9100;
    bool force = false;
    bool json = false;
};

void printText(std::ostream &out, const SweepResult &r)
{
    for (const FoundPrinter &p : r.printers)
        out << p.address << ':' << p.port << "  " << displayText(p.model) << "  firmware "
            << (p.firmware.empty() ? "?" : displayText(p.firmware)) << "  (" << displayText(p.maker)
            << ")\n";
    out << r.printers.size() << (r.printers.size() == 1 ? " printer" : " printers") << " found; "
        << r.silent << " silent, " << r.refused << " refused";
    if (r.others)
        out << ", " << r.others << " answered as another device";
    if (r.notTried)
        out << ", " << r.notTried << " not tried within the total time";
    out << ".\n";
}

int runScan(const Streams &streams, const ScanOptions &options)
{
    const Output output{streams.out, streams.err, "scan", options.json};
    std::string error;
    const auto range = parseAddressRange(options.range, error);
    if (!range)
        return output.fail({kExitUsage, error});
    if (range->count() > kLargestPlainRange && !options.force)
        return output.fail({kExitUsage,
                            options.range + " holds " + std::to_string(range->count())
                                + " addresses, more than a /16: add --force to scan "
                                  "it anyway"});
    SweepOptions sweepOptions = options.sweep;
    sweepOptions.port = static_cast<std::uint16_t>(options.port);
    sweepOptions.connectMs = sweepOptions.replyMs;
    const SweepResult result = sweep(*range, sweepOptions);

    Json printers = Json::array();
    for (const FoundPrinter &p : result.printers)
        printers.push_back({{"address", p.address},
                            {"port", p.port},
                            {"maker", displayText(p.maker)},
                            {"model", displayText(p.model)},
                            {"firmware", displayText(p.firmware)}});
    if (!options.json)
        printText(output.out, result);
    const Json report = {{"printers", printers},
                         {"silent", result.silent},
                         {"refused", result.refused},
                         {"others", result.others},
                         {"not_tried", result.notTried}};
    return output.print(report, result.printers.empty() ? 1 : kExitOk);
}

} // namespace

void addScanCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<ScanOptions>();
    CLI::App *command
        = app.add_subcommand("scan", "find the printers of the maker on a network range");
    command->add_option("range", options->range, "CIDR (192.168.1.0/24) or A-B range")->required();
    command->add_option("--tcp-port", options->port, "the printers' TCP port")
        ->check(CLI::Range(1, 65535))
        ->capture_default_str();
    command->add_option("-j,--jobs", options->sweep.jobs, "addresses asked at the same time")
        ->check(CLI::Range(1, 1024))
        ->capture_default_str();
    command
        ->add_option("--timeout", options->sweep.replyMs,
                     "milliseconds to wait for a connection and for each reply")
        ->check(CLI::Range(1, 60000))
        ->capture_default_str();
    command
        ->add_option("--max-time", options->sweep.totalMs,
                     "milliseconds after which no further address is started")
        ->check(CLI::Range(1, 86400000))
        ->capture_default_str();
    command->add_flag("--force", options->force, "scan a range larger than a /16");
    command->add_flag("--json", options->json, "print one JSON object");
    command->footer(
        "Each address takes at most the connect time-out and a few reply time-outs; refused\n"
        "and silent addresses are counted, not listed.\n"
        "JSON: printers [{address, port, maker, model, firmware}], silent, refused, others\n"
        "(answered, but not as a printer of the maker), not_tried (left at --max-time).\n"
        "Exit 0 when at least one printer was found, 1 when none, 2 for a range refused\n"
        "(larger than a /16 without --force, or not a range).");
    runWhenChosen(*command, run, options, runScan);
}

} // namespace kt::ktsw
