#include "command_line.h"

#include <functional>
#include <map>

#include "core/tcp_listener.h"

namespace kt::emu {
namespace {

Status parseCount(const std::string &name, const std::string &v, int &out)
{
    if (v.empty() || v.size() > 7 || v.find_first_not_of("0123456789") != std::string::npos)
        return Status::failure(name + " takes a whole number, not \"" + v + "\"");
    out = std::stoi(v);
    return Status::success();
}

} // namespace

std::string usageText()
{
    std::string keys;
    for (const auto &k : overrideKeys())
        keys += (keys.empty() ? "" : ", ") + k;
    return "usage: kt-emulator [--model NAME] [--tcp HOST:PORT] [--pty LINK] [--fd N]\n"
           "                   [--state FILE] [--reset-state] [--paper FILE.png] [--transcript FILE]\n"
           "                   [--set KEY=VALUE]... [--silent] [--late MS] [--no-header] [--garbage]\n"
           "                   [--drop-after N] [--data-gap MS] [--command-timeout MS] [--list-models]\n"
           "\n"
           "A virtual receipt printer of a catalogue model (default KT-4000). Each transport\n"
           "prints one ready line; without any it listens on tcp 127.0.0.1:9100. Runs until\n"
           "SIGINT or SIGTERM, then writes the paper image and the state file.\n"
           "\n"
           "  --tcp HOST:PORT     serve TCP clients, all at once (port 0: any free port)\n"
           "  --pty LINK          open a raw pseudo-terminal, with a symbolic link LINK to it\n"
           "  --fd N              serve the inherited descriptor N\n"
           "  --state FILE        load settings and NV images, save them after every change\n"
           "  --reset-state       start from the model defaults even if FILE holds a state\n"
           "  --paper FILE.png    the printed paper, written at exit\n"
           "  --transcript FILE   every command received and what was answered\n"
           "  --set KEY=VALUE     change a profile field; keys: "
        + keys
        + "\n"
          "  --silent            answer nothing\n"
          "  --late MS           answer MS milliseconds late\n"
          "  --no-header         answer without the \"_\" header byte\n"
          "  --garbage           answer garbage\n"
          "  --drop-after N      end a conversation after N commands: a TCP client is\n"
          "                      disconnected, a pty or fd throws away what is pending\n"
          "  --data-gap MS       pause that ends a value written without NUL (50)\n"
          "  --command-timeout MS  drop a command left incomplete this long (1000)\n";
}

Result<ProgramOptions> parseCommandLine(const std::vector<std::string> &args)
{
    ProgramOptions out;
    EmulatorOptions &e = out.emulator;
    const auto ok = [] { return Status::success(); };
    using Handler = std::function<Status(const std::string &)>;
    auto msOption = [](const char *name, std::chrono::milliseconds &field) -> Handler {
        return [name, &field](const std::string &v) {
            int ms = 0;
            auto parsed = parseCount(name, v, ms);
            field = std::chrono::milliseconds(ms);
            return parsed;
        };
    };
    const std::map<std::string, Handler> withValue{
        {"--model",
         [&](const std::string &v) {
             e.model = v;
             return ok();
         }},
        {"--tcp",
         [&](const std::string &v) {
             if (auto address = parseHostPort(v); !address)
                 return Status::failure("--tcp " + address.error());
             out.tcp.push_back(v);
             return ok();
         }},
        {"--pty",
         [&](const std::string &v) {
             out.pty.emplace_back(v);
             return ok();
         }},
        {"--fd",
         [&](const std::string &v) {
             int fd = 0;
             if (auto parsed = parseCount("--fd", v, fd); !parsed)
                 return parsed;
             out.fds.push_back(fd);
             return ok();
         }},
        {"--state",
         [&](const std::string &v) {
             e.stateFile = v;
             return ok();
         }},
        {"--paper",
         [&](const std::string &v) {
             e.paperFile = v;
             return ok();
         }},
        {"--transcript",
         [&](const std::string &v) {
             e.transcriptFile = v;
             return ok();
         }},
        {"--set",
         [&](const std::string &v) {
             const auto eq = v.find('=');
             if (eq == std::string::npos || eq == 0)
                 return Status::failure("--set takes KEY=VALUE, not \"" + v + "\"");
             e.overrides.emplace_back(v.substr(0, eq), v.substr(eq + 1));
             return ok();
         }},
        {"--late", [&](const std::string &v) { return parseCount("--late", v, e.faults.lateMs); }},
        {"--drop-after",
         [&](const std::string &v) { return parseCount("--drop-after", v, e.faults.dropAfter); }},
        {"--data-gap", msOption("--data-gap", e.timing.dataGap)},
        {"--command-timeout", msOption("--command-timeout", e.timing.commandTimeout)},
    };
    const std::map<std::string, bool *> flags{
        {"--reset-state", &e.resetState},
        {"--silent", &e.faults.silent},
        {"--no-header", &e.faults.noHeader},
        {"--garbage", &e.faults.garbage},
        {"--list-models", &out.listModels},
        {"--help", &out.help},
        {"-h", &out.help},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (auto f = flags.find(arg); f != flags.end()) {
            *f->second = true;
            continue;
        }
        auto h = withValue.find(arg);
        if (h == withValue.end())
            return Status::failure("unknown option " + arg);
        if (i + 1 == args.size())
            return Status::failure(arg + " needs a value");
        if (auto taken = h->second(args[++i]); !taken)
            return taken;
    }
    if (out.tcp.empty() && out.pty.empty() && out.fds.empty())
        out.tcp.emplace_back("127.0.0.1:9100");
    return out;
}

} // namespace kt::emu
