// One emulated printer for ktsw's tests, reached over TCP or over a
// pseudo-terminal, and ktsw run against it.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/emulator.h"
#include "ktsw_process.h"

namespace kt::test {

class Printer {
public:
    explicit Printer(const std::string &model, emu::FaultOptions faults = {},
                     std::vector<std::pair<std::string, std::string>> overrides = {})
    {
        emu::EmulatorOptions o;
        o.model = model;
        o.faults = faults;
        o.overrides = std::move(overrides);
        emu_ = std::make_unique<emu::Emulator>(o);
        tcp_ = local(emu_->listenTcp());
    }
    emu::Emulator &emu() { return *emu_; }
    const std::string &tcp() const { return tcp_; }
    std::string pty() { return emu_->openPty(); }
    // Commands the printer took whose transcript name starts with prefix.
    int count(const std::string &prefix) const
    {
        int n = 0;
        for (const auto &entry : emu_->transcript())
            n += entry.name.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }

private:
    std::unique_ptr<emu::Emulator> emu_;
    std::string tcp_;
};

// ktsw COMMAND --port PORT --json ARGS...
inline Outcome onPrinter(const std::string &port, std::vector<std::string> args)
{
    args.insert(args.begin() + 1, {"--port", port, "--json"});
    return ktsw(args);
}

} // namespace kt::test
