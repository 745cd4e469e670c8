#include "command_line.h"

#include "core/tcp_listener.h"

#include <functional>
#include <map>

namespace kt::emu {
namespace {

std::string parseCount(const std::string &name, const std::string &v, int &out) {
    if (v.empty() || v.size() > 7 || v.find_first_not_of("0123456789") != std::string::npos)
        return name + " takes a whole number, not \"" + v + "\"";
    out = std::stoi(v);
    return {};
}

} // namespace

std::string usageText() {
    std::string keys;
    for (const auto &k : overrideKeys()) keys += (keys.empty() ? "" : ", ") + k;
    return "usage: kt-emulator [--model NAME] [--tcp HOST:PORT] [--pty LINK] [--fd N]\n"
           "                   [--state FILE] [--reset-state] [--paper FILE.png] [--transcript FILE]\n"
           "                   [--set KEY=VALUE]... [--silent] [--late MS] [--no-header] [--garbage]\n"
           "                   [--drop-after N] [--data-gap MS] [--command-timeout MS] [--list-models]\n"
           "\n"
           "A virtual receipt printer of a catalogue model (default KT-4000). Each transport\n"
           "prints one ready line; without any it listens on tcp 127.0.0.1:9100. Runs until\n"
           "SIGINT or SIGTERM, then writes the paper image and the state file.\n"
           "\n"
           "  --tcp HOST:PORT     serve TCP clients one at a time (port 0: any free port)\n"
           "  --pty LINK          open a raw pseudo-terminal, with a symbolic link LINK to it\n"
           "  --fd N              serve the inherited descriptor N\n"
           "  --state FILE        load settings and NV images, save them after every change\n"
           "  --reset-state       start from the model defaults even if FILE holds a state\n"
           "  --paper FILE.png    the printed paper, written at exit\n"
           "  --transcript FILE   every command received and what was answered\n"
           "  --set KEY=VALUE     change a profile field; keys: " + keys + "\n"
           "  --silent            answer nothing\n"
           "  --late MS           answer MS milliseconds late\n"
           "  --no-header         answer without the \"_\" header byte\n"
           "  --garbage           answer garbage\n"
           "  --drop-after N      close the connection after N commands\n"
           "  --data-gap MS       pause that ends a value written without NUL (50)\n"
           "  --command-timeout MS  drop a command left incomplete this long (1000)\n";
}

std::string parseCommandLine(const std::vector<std::string> &args, ProgramOptions &out) {
    EmulatorOptions &e = out.emulator;
    using Handler = std::function<std::string(const std::string &)>;
    auto msOption = [](const char *name, std::chrono::milliseconds &field) -> Handler {
        return [name, &field](const std::string &v) {
            int ms = 0;
            auto err = parseCount(name, v, ms);
            field = std::chrono::milliseconds(ms);
            return err;
        };
    };
    const std::map<std::string, Handler> withValue{
        {"--model", [&](const std::string &v) { e.model = v; return std::string(); }},
        {"--tcp",
         [&](const std::string &v) {
             std::string host;
             std::uint16_t port = 0;
             if (!splitHostPort(v, host, port)) return "--tcp takes HOST:PORT, not \"" + v + "\"";
             out.tcp.push_back(v);
             return std::string();
         }},
        {"--pty", [&](const std::string &v) { out.pty.emplace_back(v); return std::string(); }},
        {"--fd",
         [&](const std::string &v) {
             int fd = 0;
             if (auto err = parseCount("--fd", v, fd); !err.empty()) return err;
             out.fds.push_back(fd);
             return std::string();
         }},
        {"--state", [&](const std::string &v) { e.stateFile = v; return std::string(); }},
        {"--paper", [&](const std::string &v) { e.paperFile = v; return std::string(); }},
        {"--transcript", [&](const std::string &v) { e.transcriptFile = v; return std::string(); }},
        {"--set",
         [&](const std::string &v) {
             const auto eq = v.find('=');
             if (eq == std::string::npos || eq == 0) return "--set takes KEY=VALUE, not \"" + v + "\"";
             e.overrides.emplace_back(v.substr(0, eq), v.substr(eq + 1));
             return std::string();
         }},
        {"--late", [&](const std::string &v) { return parseCount("--late", v, e.faults.lateMs); }},
        {"--drop-after", [&](const std::string &v) { return parseCount("--drop-after", v, e.faults.dropAfter); }},
        {"--data-gap", msOption("--data-gap", e.timing.dataGap)},
        {"--command-timeout", msOption("--command-timeout", e.timing.commandTimeout)},
    };
    const std::map<std::string, bool *> flags{
        {"--reset-state", &e.resetState}, {"--silent", &e.faults.silent},
        {"--no-header", &e.faults.noHeader}, {"--garbage", &e.faults.garbage},
        {"--list-models", &out.listModels}, {"--help", &out.help}, {"-h", &out.help},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (auto f = flags.find(arg); f != flags.end()) {
            *f->second = true;
            continue;
        }
        auto h = withValue.find(arg);
        if (h == withValue.end()) return "unknown option " + arg;
        if (i + 1 == args.size()) return arg + " needs a value";
        if (auto err = h->second(args[++i]); !err.empty()) return err;
    }
    if (out.tcp.empty() && out.pty.empty() && out.fds.empty()) out.tcp.emplace_back("127.0.0.1:9100");
    return {};
}

} // namespace kt::emu
