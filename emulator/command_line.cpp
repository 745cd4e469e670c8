#include "command_line.h"

#include <algorithm>
#include <functional>
#include <memory>

#include <CLI/CLI.hpp>

#include "core/conditions.h"
#include "core/control_commands.h"
#include "core/faults.h"
#include "core/parameters.h"
#include "core/tcp_listener.h"
#include "settings_backup.h"

namespace kt::emu {
namespace {

constexpr int kMaxCount = 9999999;
constexpr int kMaxFleet = 65535;

// The fleet options as given, before they are checked together.
struct FleetArguments {
    int count = 0;
    std::string addresses;
    std::optional<int> port;
    std::string models;
    std::string faults;
    std::optional<std::uint32_t> seed;
};

// A check for CLI11 from a function that says what is wrong, or "" when
// nothing is.
CLI::Validator checkedBy(std::function<std::string(const std::string &)> check)
{
    return CLI::Validator([check = std::move(check)](std::string &v) { return check(v); }, "");
}

// A whole number in 0..kMaxCount; the help shows only the option's type name.
CLI::Validator count() { return CLI::Range(0, kMaxCount).description(""); }

std::string setKeysText()
{
    std::size_t width = 0;
    const auto keys = overrideKeys();
    for (const auto &k : keys)
        width = std::max(width, k.key.size());
    std::string out = "Keys of --set KEY=VALUE. A printer starts from its model's profile, then\n"
                      "the state file, then --from-backup, then every --set in order:\n";
    for (const auto &k : keys)
        out += "  " + k.key + std::string(width + 2 - k.key.size(), ' ') + k.meaning + "; "
            + k.range + "\n";
    return out;
}

std::string conditionsText()
{
    std::string out = "Status conditions (--status, the control socket; DLE EOT n answers them):\n";
    for (const auto &c : conditionTable())
        out += "  " + std::string(c.name) + std::string(16 - c.name.size(), ' ')
            + std::string(c.meaning) + "\n";
    return out;
}

std::string footerText()
{
    return "\n" + setKeysText() + "\n" + conditionsText()
        + "\n"
          "Control socket (--control PATH), one line each way, e.g. with\n"
          "  echo 'status cover-open on' | socat - UNIX-CONNECT:PATH\n  "
        + controlHelpText()
        + "\n"
          "Signals: SIGUSR1 opens or closes the cover, SIGUSR2 takes the paper out or puts\n"
          "it back (every printer of the process).\n"
          "\n"
          "USB: kt-emulator --usb [-- COMMAND ARGS...] makes /dev/usb/lp0 a USB printer of the\n"
          "model (vendor 5e1b, the model's product id; --set usb_pid=HEX for others) inside\n"
          "a umockdev testbed. A client sees it only with the testbed's environment, which\n"
          "the program prints (UMOCKDEV_DIR and LD_PRELOAD), e.g.\n"
          "  kt-emulator --usb --model KT-9100X -- ktsw info --port usb\n"
          "runs the client inside the testbed and exits with its status.\n"
          "\n"
          "Fleets: --fleet N serves N printers from one process, each with its own state,\n"
          "serial number (the model's with its last six characters replaced by the\n"
          "printer's number) and faults; --state, --paper and --transcript then name\n"
          "directories holding printer-0001.state, printer-0001/ (its receipts) and\n"
          "printer-0001.log for each printer. One ready line per printer, then\n"
          "\"kt-emulator: ready: N printers\". --fleet-faults hands out faults in printer\n"
          "order (1, 2, ...) unless --fleet-seed shuffles that order.\n"
          "\n"
          "Faults: --silent, --late MS, --no-header, --garbage, --drop-after N, --forget-writes.\n"
          "Without any transport option the printer listens on tcp 127.0.0.1:9100. Each\n"
          "transport prints one ready line. SIGINT or SIGTERM end the program after the\n"
          "paper image and the state file are written.\n";
}

void addFleetOptions(CLI::App &app, FleetArguments &fleet)
{
    app.add_option("--fleet", fleet.count,
                   "serve N independent printers on N consecutive ports from --tcp (port 0: N "
                   "free ports)")
        ->type_name("N")
        ->check(CLI::Range(1, kMaxFleet).description(""));
    app.add_option("--fleet-addresses", fleet.addresses,
                   "serve the fleet on these loopback addresses instead, one printer each, "
                   "all on --tcp-port")
        ->type_name("FIRST-LAST");
    app.add_option("--tcp-port", fleet.port, "the port of --fleet-addresses (9100)")
        ->type_name("PORT")
        ->check(CLI::Range(0, 65535).description(""));
    app.add_option("--models", fleet.models,
                   "models of the fleet, comma-separated, cycled over the printers")
        ->type_name("LIST");
    app.add_option("--fleet-faults", fleet.faults,
                   "give COUNT printers each FAULT: silent, no-header, garbage, forget-writes, "
                   "late-MS, drop-after-N (first printers first)")
        ->type_name("FAULT:COUNT,...");
    app.add_option("--fleet-seed", fleet.seed,
                   "pick the printers of --fleet-faults in an order shuffled by this number")
        ->type_name("N");
}

std::vector<std::string> splitList(const std::string &list)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    for (auto comma = list.find(','); comma != std::string::npos; comma = list.find(',', at)) {
        out.push_back(list.substr(at, comma - at));
        at = comma + 1;
    }
    out.push_back(list.substr(at));
    return out;
}

// Checks the fleet options against each other and against the single
// printer's transports, and makes the fleet's options of them.
Status buildFleet(ProgramOptions &out, const FleetArguments &a)
{
    const bool wanted = a.count > 0 || !a.addresses.empty();
    if (!wanted) {
        if (a.port || !a.models.empty() || !a.faults.empty() || a.seed)
            return Status::failure(
                "--tcp-port, --models, --fleet-faults and --fleet-seed go with --fleet");
        return Status::success();
    }
    if (!out.pty.empty() || !out.fds.empty() || out.usb)
        return Status::failure("a fleet is served on TCP only (no --pty, --fd or --usb)");
    FleetOptions f;
    f.base = out.emulator;
    f.count = a.count;
    if (!a.addresses.empty()) {
        if (!out.tcp.empty())
            return Status::failure("--fleet-addresses takes its port from --tcp-port, not --tcp");
        auto addresses = parseAddressRange(a.addresses, kMaxFleet);
        if (!addresses)
            return addresses.status();
        if (a.count && static_cast<std::size_t>(a.count) != addresses->size())
            return Status::failure("--fleet " + std::to_string(a.count) + " but --fleet-addresses "
                                   + "gives " + std::to_string(addresses->size()) + " addresses");
        f.addresses = std::move(*addresses);
        f.count = static_cast<int>(f.addresses.size());
        f.port = static_cast<std::uint16_t>(a.port.value_or(9100));
    } else {
        if (a.port)
            return Status::failure("--tcp-port goes with --fleet-addresses");
        if (out.tcp.size() > 1)
            return Status::failure("a fleet takes one --tcp HOST:PORT, its first address");
        const HostPort first = *parseHostPort(out.tcp.empty() ? "127.0.0.1:9100" : out.tcp[0]);
        f.host = first.host;
        f.port = first.port;
    }
    if (!a.models.empty()) {
        f.models = splitList(a.models);
        for (const auto &m : f.models)
            if (!findProfile(m))
                return Status::failure("--models: unknown model \"" + m
                                       + "\" (kt-emulator --list-models)");
    }
    f.faults = a.faults;
    f.seed = a.seed;
    // Checked now, so that a bad entry is a usage error like any other.
    if (auto assigned = assignFleetFaults(f.faults, f.count, f.base.faults, f.seed); !assigned)
        return Status::failure("--fleet-faults: " + assigned.error());
    f.stateDir = out.emulator.stateFile;
    f.paperDir = out.emulator.paperFile;
    f.transcriptDir = out.emulator.transcriptFile;
    out.tcp.clear();
    out.fleet = std::move(f);
    return Status::success();
}

// The profile fields and settings a backup gives, as --set would.
std::vector<std::pair<std::string, std::string>> backupOverrides(const backup::Backup &b)
{
    std::vector<std::pair<std::string, std::string>> out;
    const auto add = [&out](const char *key, const auto &value) {
        if (value)
            out.emplace_back(key, *value);
    };
    const auto addNumber = [&out](const std::string &key, const std::optional<int> &value) {
        if (value)
            out.emplace_back(key, std::to_string(*value));
    };
    add("maker", b.printer.maker);
    add("firmware", b.printer.firmware);
    add("serial", b.printer.serialNumber);
    for (std::size_t i = 0; i < b.settings.switches.size(); ++i)
        addNumber("soft_switch_" + std::to_string(i + 1), b.settings.switches[i]);
    addNumber("code_page", b.settings.codePage);
    add("language_model", b.settings.codePageName);
    addNumber("intl_charset", b.settings.charset);
    addNumber("print_density", b.settings.density);
    if (b.settings.font8x16)
        out.emplace_back("new_8x16_font", *b.settings.font8x16 ? "ON" : "");
    addNumber("thai_font_pass", b.settings.thaiPass);
    return out;
}

// Starts the printer from a backup: its model (unless --model names one),
// identity and settings come before any --set.
Status applyBackup(ProgramOptions &out, const std::filesystem::path &file, bool modelGiven)
{
    backup::Backup b;
    try {
        b = backup::readBackupFile(file);
    } catch (const backup::BackupError &e) {
        return Status::failure(std::string("--from-backup ") + e.what());
    }
    EmulatorOptions &e = out.emulator;
    if (!modelGiven) {
        if (!b.printer.model)
            return Status::failure("--from-backup " + file.string()
                                   + ": the backup names no model (give --model NAME)");
        if (!findProfile(*b.printer.model))
            return Status::failure("--from-backup " + file.string() + ": the backup's model \""
                                   + *b.printer.model
                                   + "\" is no catalogue model (--model NAME plays one)");
        e.model = *b.printer.model;
    }
    auto overrides = backupOverrides(b);
    overrides.insert(overrides.end(), e.overrides.begin(), e.overrides.end());
    e.overrides = std::move(overrides);
    return Status::success();
}

// Builds the parser over `out`; --help and usageText() use the same one.
std::unique_ptr<CLI::App> makeApp(ProgramOptions &out, FleetArguments &fleet)
{
    EmulatorOptions &e = out.emulator;
    auto app = std::make_unique<CLI::App>(
        "A virtual receipt printer of a catalogue model (default KT-4000).", "kt-emulator");
    app->set_help_flag();
    app->get_formatter()->column_width(34);
    app->add_flag("-h,--help", out.help, "print this help and exit");
    app->add_flag("--version", out.version, "print the version and exit");
    app->add_flag("--list-models", out.listModels, "print the catalogue's model names and exit");
    app->add_option("--model", e.model, "the model to play (kt-emulator --list-models)")
        ->type_name("NAME");
    app->add_option("--tcp", out.tcp, "serve TCP clients, all at once (port 0: any free port)")
        ->type_name("HOST:PORT")
        ->allow_extra_args(false)
        ->check(checkedBy([](const std::string &v) {
            auto parsed = parseHostPort(v);
            return parsed ? std::string() : parsed.error();
        }));
    app->add_option_function<std::string>(
           "--pty", [&](const std::string &v) { out.pty.emplace_back(v); },
           "open a raw pseudo-terminal, with a symbolic link LINK to it")
        ->type_name("LINK")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app->add_flag("--usb", out.usb,
                  "serve a USB printer (/dev/usb/lp0 with the model's ids) in a umockdev "
                  "testbed and print how to run a client inside it; with -- COMMAND ARGS "
                  "run that client inside it and exit with its status");
    app->add_option("--fd", out.fds, "serve the inherited descriptor N")
        ->type_name("N")
        ->allow_extra_args(false)
        ->check(count());
    app->add_option_function<std::string>(
           "--from-backup", [&](const std::string &v) { out.fromBackup = v; },
           "start with the model, identity and settings of a settings backup; --model "
           "and --set given as well win over it")
        ->type_name("FILE");
    app->add_option_function<std::string>(
           "--state", [&](const std::string &v) { e.stateFile = v; },
           "load settings and NV images from FILE, save them after every change")
        ->type_name("FILE");
    app->add_flag("--reset-state", e.resetState,
                  "start from the model defaults even if the state file holds a state");
    app->add_option_function<std::string>(
           "--paper", [&](const std::string &v) { e.paperFile = v; },
           "the printed paper: a PNG of the roll, rewritten after every cut, after a pause "
           "in printing and at exit; or a directory (a path ending in /, made if missing) "
           "that gets one PNG per receipt as soon as it is cut")
        ->type_name("FILE.png|DIR/");
    app->add_option_function<std::string>(
           "--font", [&](const std::string &v) { e.fontFile = v; },
           "the paper's bitmap font in .hex format (default: the unifont package's)")
        ->type_name("FILE.hex");
    app->add_option_function<std::string>(
           "--transcript", [&](const std::string &v) { e.transcriptFile = v; },
           "append every command received and what was answered to FILE")
        ->type_name("FILE");
    app->add_option_function<std::string>(
           "--set",
           [&](const std::string &v) {
               const auto eq = v.find('=');
               e.overrides.emplace_back(v.substr(0, eq), v.substr(eq + 1));
           },
           "change a profile field or a setting (keys below)")
        ->type_name("KEY=VALUE")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(checkedBy([](const std::string &v) {
            const auto eq = v.find('=');
            return eq == std::string::npos || eq == 0 ? "takes KEY=VALUE, not \"" + v + "\""
                                                      : std::string();
        }));
    app->add_flag("--silent", e.faults.silent, "answer nothing");
    app->add_option("--late", e.faults.lateMs, "answer MS milliseconds late")
        ->type_name("MS")
        ->check(count());
    app->add_flag("--no-header", e.faults.noHeader, "answer without the \"_\" header byte");
    app->add_flag("--garbage", e.faults.garbage, "answer garbage");
    app->add_option("--drop-after", e.faults.dropAfter,
                    "end a conversation after N commands: a TCP client is disconnected, a "
                    "pty or fd throws away what is pending")
        ->type_name("N")
        ->check(count());
    app->add_flag("--forget-writes", e.faults.forgetWrites,
                  "acknowledge parameter writes between unlock and lock but store nothing");
    app->add_option_function<std::string>(
           "--status",
           [&](const std::string &v) {
               if (auto c = parseConditions(v))
                   e.conditions = *c;
           },
           "status conditions at start, comma-separated (below)")
        ->type_name("LIST")
        ->check(checkedBy([](const std::string &v) {
            auto c = parseConditions(v);
            return c ? std::string() : c.error();
        }));
    app->add_option_function<std::string>(
           "--control", [&](const std::string &v) { out.control = v; },
           "serve the control socket at PATH (below)")
        ->type_name("PATH");
    auto msOption = [&](const char *name, std::chrono::milliseconds &field, const char *help) {
        app->add_option_function<int>(
               name, [&field](int ms) { field = std::chrono::milliseconds(ms); }, help)
            ->type_name("MS")
            ->check(count());
    };
    msOption("--data-gap", e.timing.dataGap, "pause that ends a value written without NUL (50)");
    msOption("--command-timeout", e.timing.commandTimeout,
             "drop a command left incomplete this long (1000)");
    msOption("--paper-pause", e.paperPause,
             "the pause in printing after which the roll's PNG is rewritten (500)");
    addFleetOptions(*app, fleet);
    app->footer(footerText());
    return app;
}

} // namespace

std::string usageText()
{
    ProgramOptions scratch;
    FleetArguments fleet;
    return makeApp(scratch, fleet)->help();
}

Result<ProgramOptions> parseCommandLine(const std::vector<std::string> &args)
{
    ProgramOptions out;
    FleetArguments fleet;
    auto app = makeApp(out, fleet);
    // What follows "--" is the client to run inside the USB testbed.
    const auto dashes = std::find(args.begin(), args.end(), "--");
    if (dashes != args.end())
        out.usbClient.assign(dashes + 1, args.end());
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(std::make_reverse_iterator(dashes), args.rend());
    try {
        app->parse(reversed);
    } catch (const CLI::ParseError &e) {
        return Status::failure(e.what());
    }
    if (out.fromBackup)
        if (auto applied = applyBackup(out, *out.fromBackup, app->count("--model") > 0); !applied)
            return applied;
    if (dashes != args.end() && (!out.usb || out.usbClient.empty()))
        return Status::failure("-- COMMAND ARGS names a client for --usb");
    if (auto built = buildFleet(out, fleet); !built)
        return built;
    if (!out.fleet && !out.usb && out.tcp.empty() && out.pty.empty() && out.fds.empty())
        out.tcp.emplace_back("127.0.0.1:9100");
    return out;
}

} // namespace kt::emu
