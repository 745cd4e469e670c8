// `ktsw deploy`: one backup restored to many printers at once, with a live
// progress line on a terminal and a table (or JSON) of how each ended.
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "command.h"
#include "deploy.h"
#include "printer_session.h"
#include "restore_report.h"

namespace kt::ktsw {
namespace {

constexpr int kExitSomeFailed = 1;
constexpr std::size_t kMaxTargetsBytes = 1 << 20;

struct DeployOptions {
    DeployPlan plan;
    std::vector<std::string> ports;
    std::string targets;
    std::string file;
    bool json = false;
    int timeoutMs = 1000;
    int printerTimeoutMs = 30000;
    int baud = 115200;
};

Result<std::vector<std::string>> readTargets(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Failure{kExitUsage, path + ": cannot be read"};
    std::string text(kMaxTargetsBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.gcount() > static_cast<std::streamsize>(kMaxTargetsBytes))
        return Failure{kExitUsage, path + ": larger than a targets list can be"};
    text.resize(static_cast<std::size_t>(in.gcount()));
    auto ports = parseTargets(text);
    if (!ports.ok())
        return Failure{kExitUsage, path + ": " + ports.failure().message};
    return ports;
}

// "12 done, 1 failed, 187 remaining", rewritten in place.
class Progress {
public:
    Progress(std::ostream &err, std::size_t total, bool shown)
        : err_(err), total_(total), shown_(shown)
    { }
    void count(const DeployRecord &r)
    {
        ++done_;
        failed_ += r.result == DeployResult::Failed || r.result == DeployResult::Unreachable;
        if (shown_)
            err_ << "\r\x1b[Kdeploy: " << done_ << " done, " << failed_ << " failed, "
                 << total_ - done_ << " remaining" << std::flush;
    }
    void finish()
    {
        if (shown_)
            err_ << "\r\x1b[K" << std::flush;
    }

private:
    std::ostream &err_;
    std::size_t total_, done_ = 0, failed_ = 0;
    bool shown_;
};

std::string joined(const std::vector<std::string> &names)
{
    std::string s;
    for (const std::string &n : names)
        s += (s.empty() ? "" : ",") + n;
    return s.empty() ? "-" : s;
}

void printTable(std::ostream &out, const std::vector<DeployRecord> &records)
{
    const std::vector<std::string> head{"PRINTER", "MODEL", "RESULT", "CHANGED", "TIME"};
    std::vector<std::vector<std::string>> rows{head};
    for (const DeployRecord &r : records) {
        std::ostringstream seconds;
        seconds << std::fixed << std::setprecision(2) << r.seconds << " s";
        rows.push_back({r.port, r.model.empty() ? "-" : r.model, deployResultName(r.result),
                        joined(r.changed), seconds.str()});
    }
    std::vector<std::size_t> width(head.size(), 0);
    for (const auto &row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    for (const auto &row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c)
            out << (c + 1 < row.size()
                        ? std::string(row[c]).append(width[c] + 2 - row[c].size(), ' ')
                        : row[c]);
        out << '\n';
    }
    for (const DeployRecord &r : records)
        if (!r.error.empty())
            out << r.port << ": " << r.error << '\n';
}

int runDeploy(const Streams &streams, const DeployOptions &options)
{
    const Output output{streams.out, streams.err, "deploy", options.json};
    auto file = readBackup(options.file);
    if (!file.ok())
        return output.fail(file.failure());
    if (options.ports.empty() && options.targets.empty())
        return output.fail({kExitUsage, "give --port PORT ... or --targets FILE"});
    std::string given;
    for (const std::string &port : options.ports)
        given += port + '\n';
    auto ports = options.targets.empty() ? parseTargets(given) : readTargets(options.targets);
    if (!ports.ok())
        return output.fail(ports.failure());

    DeployPlan plan = options.plan;
    plan.ports = ports.value();
    plan.request.link.timeoutMs = options.timeoutMs;
    plan.request.link.baud = options.baud;
    plan.perPrinter = std::chrono::milliseconds(options.printerTimeoutMs);
    Progress progress(streams.err, plan.ports.size(),
                      &streams.err == &std::cerr && ::isatty(STDERR_FILENO));
    const auto records
        = deploy(plan, file.value(), [&](const DeployRecord &r) { progress.count(r); });
    progress.finish();

    Json printers = Json::array();
    Json summary = {{"confirmed", 0}, {"unchanged", 0}, {"failed", 0}, {"unreachable", 0}};
    bool allDone = true;
    for (const DeployRecord &r : records) {
        printers.push_back({{"port", r.port},
                            {"model", r.model.empty() ? Json() : Json(r.model)},
                            {"result", deployResultName(r.result)},
                            {"changed", r.changed},
                            {"error", r.error.empty() ? Json() : Json(r.error)},
                            {"seconds", r.seconds}});
        summary[deployResultName(r.result)] = summary[deployResultName(r.result)].get<int>() + 1;
        allDone = allDone
            && (r.result == DeployResult::Confirmed || r.result == DeployResult::Unchanged);
    }
    if (!options.json) {
        printTable(output.out, records);
        output.out << "confirmed " << summary["confirmed"] << ", unchanged " << summary["unchanged"]
                   << ", failed " << summary["failed"] << ", unreachable " << summary["unreachable"]
                   << '\n';
    }
    return output.print({{"printers", printers}, {"summary", summary}},
                        allDone ? kExitOk : kExitSomeFailed);
}

} // namespace

void addDeployCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<DeployOptions>();
    CLI::App *command = app.add_subcommand("deploy", "write a backup into many printers at once");
    command->add_option("file", options->file, "the backup file")->required();
    CLI::Option *ports
        = command->add_option("--port,-p", options->ports, "a printer's port (repeatable)");
    CLI::Option *targets = command->add_option("--targets", options->targets,
                                               "a file with one port a line (# comments)");
    ports->excludes(targets);
    command->add_option("-j,--jobs", options->plan.jobs, "printers at once")
        ->check(CLI::Range(1, 1000))
        ->capture_default_str();
    command->add_flag("--json", options->json, "print one JSON object");
    command->add_option("--timeout", options->timeoutMs, "milliseconds to wait for each reply")
        ->check(CLI::Range(1, 600000))
        ->capture_default_str();
    command
        ->add_option("--printer-timeout", options->printerTimeoutMs,
                     "milliseconds for each printer as a whole")
        ->check(CLI::Range(1, 3600000))
        ->capture_default_str();
    command->add_option("--baud", options->baud, "serial line speed (8N1)")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    command->add_flag("--force-model", options->plan.request.forceModel,
                      "write even into printers of another model than the backup's");
    command->footer(
        "Restores the backup into every printer as `ktsw restore` does, each on its own\n"
        "connection, -j at a time; one printer failing never stops the others. Each printer ends\n"
        "confirmed (settings written and read back), unchanged (it already held them), failed\n"
        "(refused, not kept, or the connection ended) or unreachable (the port did not open or\n"
        "nothing answered). Exit 0 when every printer ended confirmed or unchanged, 1 when not,\n"
        "2 for a file or targets list refused before anything is sent. A progress line is shown\n"
        "on a terminal; the table goes to stdout. JSON: printers [{port, model, result, changed,\n"
        "error, seconds}], summary {confirmed, unchanged, failed, unreachable}.");
    runWhenChosen(*command, run, options, runDeploy);
}

} // namespace kt::ktsw
