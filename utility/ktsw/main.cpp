// ktsw: command line over the utility's catalogue. Sub-commands are listed
// in one table; add a row to add a command.
#include <iostream>
#include <string_view>

#include "command.h"

namespace {

using kt::ktsw::Arguments;

struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view synopsis;
    int (*run)(const Arguments &, std::ostream &, std::ostream &);
};

constexpr Command kCommands[] = {
    {"explain", "show what each bit of a soft switch byte means on a model",
     kt::ktsw::kExplainSynopsis, kt::ktsw::runExplain},
};

void printUsage(std::ostream &os)
{
    os << "usage: ktsw COMMAND [options]\n"
          "       ktsw COMMAND --help\n\ncommands:\n";
    for (const Command &c : kCommands)
        os << "  " << c.name << ": " << c.summary << "\n    ktsw " << c.synopsis << '\n';
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        printUsage(std::cerr);
        return kt::ktsw::kExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return std::cout.flush() ? 0 : 1;
    }
    for (const Command &c : kCommands) {
        if (c.name == name)
            return c.run(Arguments(argv + 2, argv + argc), std::cout, std::cerr);
    }
    std::cerr << "ktsw: unknown command '" << name << "' (try ktsw --help)\n";
    return kt::ktsw::kExitUsage;
}
