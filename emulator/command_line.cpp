#include "command_line.h"

#include <algorithm>
#include <functional>
#include <memory>

#include <CLI/CLI.hpp>

#include "core/conditions.h"
#include "core/control_commands.h"
#include "core/faults.h"
#include "core/tcp_listener.h"

namespace kt::emu {
namespace {

constexpr int kMaxCount = 9999999;

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
    std::string out = "Keys of --set KEY=VALUE (applied over the model's profile and over the "
                      "saved state):\n";
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
          "Faults: --silent, --late MS, --no-header, --garbage, --drop-after N, --forget-writes.\n"
          "Without any transport option the printer listens on tcp 127.0.0.1:9100. Each\n"
          "transport prints one ready line. SIGINT or SIGTERM end the program after the\n"
          "paper image and the state file are written.\n";
}

// Builds the parser over `out`; --help and usageText() use the same one.
std::unique_ptr<CLI::App> makeApp(ProgramOptions &out)
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
    app->add_option("--fd", out.fds, "serve the inherited descriptor N")
        ->type_name("N")
        ->allow_extra_args(false)
        ->check(count());
    app->add_option_function<std::string>(
           "--state", [&](const std::string &v) { e.stateFile = v; },
           "load settings and NV images from FILE, save them after every change")
        ->type_name("FILE");
    app->add_flag("--reset-state", e.resetState,
                  "start from the model defaults even if the state file holds a state");
    app->add_option_function<std::string>(
           "--paper", [&](const std::string &v) { e.paperFile = v; },
           "the printed paper as a PNG, written at exit")
        ->type_name("FILE.png");
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
    app->footer(footerText());
    return app;
}

} // namespace

std::string usageText()
{
    ProgramOptions scratch;
    return makeApp(scratch)->help();
}

Result<ProgramOptions> parseCommandLine(const std::vector<std::string> &args)
{
    ProgramOptions out;
    auto app = makeApp(out);
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app->parse(reversed);
    } catch (const CLI::ParseError &e) {
        return Status::failure(e.what());
    }
    if (out.tcp.empty() && out.pty.empty() && out.fds.empty())
        out.tcp.emplace_back("127.0.0.1:9100");
    return out;
}

} // namespace kt::emu
