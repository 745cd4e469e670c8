// `ktsw doctor`: every printer port of this machine and what stands in the
// way of opening it, with the fix; with --probe also which port answers as
// which printer.
#include <cerrno>
#include <ostream>

#include <CLI/CLI.hpp>

#include "command.h"
#include "node_facts.h"
#include "node_holders.h"
#include "output.h"
#include "port_diagnosis.h"
#include "port_survey.h"
#include "printer_session.h"

namespace kt::ktsw {
namespace {

struct DoctorOptions {
    bool probe = false;
    bool json = false;
    int timeoutMs = 300;
    int baud = 115200;
};

// Asks an openable port for the maker and the model.
Json probe(const Candidate &port, const DoctorOptions &options, std::string &said)
{
    if (port.kind == PortKind::Parallel) {
        said = "not asked: the parallel port only takes data";
        return nullptr;
    }
    LinkOptions link;
    link.port = port.path;
    link.timeoutMs = options.timeoutMs;
    link.baud = options.baud;
    auto opened = PrinterLink::open(link);
    if (!opened.ok()) {
        said = opened.failure().message;
        return nullptr;
    }
    auto identity = identify(*opened.value());
    if (!identity.ok()) {
        said = identity.failure().message;
        return nullptr;
    }
    const Identity &id = identity.value();
    said = "answers as " + displayText(id.model) + " of " + displayText(id.maker);
    return {{"maker", displayText(id.maker)}, {"model", displayText(id.model)}};
}

Json nullable(const std::string &text) { return text.empty() ? Json(nullptr) : Json(text); }

Json holdersJson(const std::vector<Holder> &holders)
{
    Json list = Json::array();
    for (const Holder &h : holders)
        list.push_back({{"pid", h.pid}, {"name", h.name}});
    return list;
}

void printPort(std::ostream &out, const Json &port, const std::vector<Holder> &holders,
               const std::string &probeText)
{
    out << (port["path"].is_null() ? "(no node)" : port["path"].get<std::string>()) << "  "
        << port["kind"].get<std::string>();
    if (!port["model"].is_null())
        out << "  " << port["model"].get<std::string>();
    if (!port["owner"].is_null())
        out << "  " << port["owner"].get<std::string>() << ':' << port["group"].get<std::string>()
            << ' ' << port["mode"].get<std::string>();
    out << "  " << (port["can_open"].get<bool>() ? "can open" : "cannot open") << '\n';
    if (!holders.empty())
        out << "    held by: " << holderText(holders) << '\n';
    if (!port["problem"].is_null())
        out << "    problem: " << port["problem"].get<std::string>() << '\n';
    if (!port["fix"].is_null())
        out << "    fix: " << port["fix"].get<std::string>() << '\n';
    if (!probeText.empty())
        out << "    probe: " << probeText << '\n';
}

int runDoctor(const Streams &streams, const DoctorOptions &options)
{
    const Output output{streams.out, streams.err, "doctor", options.json};
    const UserFacts user = currentUser();
    const OpenDevices open = openDevices();
    Json ports = Json::array();
    bool anyOpens = false;
    std::string groups;
    for (const std::string &g : user.groups)
        groups += (groups.empty() ? "" : ", ") + g;
    if (!options.json)
        output.out << "User: " << user.name << " (groups: " << groups << ")\n";

    for (const Candidate &port : surveyPorts()) {
        const bool ttyS = port.serialPortType.has_value() || port.path.starts_with("/dev/ttyS");
        NodeFacts node;
        if (!port.path.empty())
            node = inspectNode(port.path, ttyS && !port.serialPortType);
        else
            node.openError = ENODEV;
        if (node.noSerialHardware)
            continue;
        const std::vector<Holder> holders
            = node.exists ? open.holdersOf(node.status) : std::vector<Holder>{};
        const PortFacts facts{port, node, holders, user,
                              node.exists && listedInGroup(user.name, node.group)};
        const Diagnosis diagnosis = diagnose(facts);
        const bool canOpen = node.exists && node.openError == 0;
        anyOpens = anyOpens || canOpen;

        Json entry = {{"path", nullable(port.path)},
                      {"kind", kindName(port.kind)},
                      {"model", port.model ? Json(*port.model) : Json(nullptr)},
                      {"owner", node.exists ? Json(node.owner) : Json(nullptr)},
                      {"group", node.exists ? Json(node.group) : Json(nullptr)},
                      {"mode", node.exists ? Json(modeText(node.mode)) : Json(nullptr)},
                      {"can_open", canOpen},
                      {"problem", nullable(diagnosis.problem)},
                      {"fix", nullable(diagnosis.fix)},
                      {"holder", holdersJson(holders)}};
        if (port.usbId)
            entry["usb_id"] = *port.usbId;
        if (port.usblpBound)
            entry["usblp_bound"] = *port.usblpBound;
        std::string probeText;
        if (options.probe) {
            entry["answers"] = nullptr;
            if (canOpen)
                entry["answers"] = probe(port, options, probeText);
            else
                probeText = "not asked: the port cannot be opened";
            entry["probe"] = probeText;
        }
        if (!options.json)
            printPort(output.out, entry, holders, probeText);
        ports.push_back(std::move(entry));
    }

    if (!options.json) {
        if (ports.empty())
            output.out << "No printer port found: no usblp, ttyUSB, ttyACM, serial or parallel "
                          "port on this machine.\n";
        if (open.unreadable != 0)
            output.out << "Could not look into "
                       << (open.unreadable < 0 ? std::string("/proc")
                                               : std::to_string(open.unreadable) + " processes")
                       << " for holders of the ports; run as root to see them all.\n";
    }
    Json report = {{"user", user.name}, {"groups", user.groups}, {"ports", ports}};
    // Holders may be missing from the lists: say how many processes went unseen.
    report["processes_not_looked_into"]
        = open.unreadable < 0 ? Json(nullptr) : Json(open.unreadable);
    return output.print(report, anyOpens ? kExitOk : 1);
}

} // namespace

void addDoctorCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<DoctorOptions>();
    CLI::App *command = app.add_subcommand(
        "doctor", "list the printer ports of this machine and what keeps each from opening");
    command->add_flag("--probe", options->probe,
                      "ask every port that opens for the maker and the model");
    command->add_flag("--json", options->json, "print one JSON object");
    command->add_option("--timeout", options->timeoutMs, "milliseconds to wait for each reply")
        ->check(CLI::Range(1, 60000))
        ->capture_default_str();
    command->add_option("--baud", options->baud, "serial line speed of the probe (8N1)")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    command->footer(
        "JSON: user, groups, ports [{path, kind (usb, serial, parallel), model (null when\n"
        "unknown), owner, group, mode, can_open, problem, fix, holder [{pid, name}], answers\n"
        "(with --probe: {maker, model} or null), probe (with --probe: what the port said)}],\n"
        "plus usb_id and usblp_bound for devices on USB; processes_not_looked_into counts the\n"
        "processes whose open files could not be read (null: no /proc). Exit 0 when at\n"
        "least one port can be opened, 1 when none can.");
    runWhenChosen(*command, run, options, runDoctor);
}

} // namespace kt::ktsw
