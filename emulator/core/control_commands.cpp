#include "control_commands.h"

#include <sstream>
#include <vector>

#include "conditions.h"
#include "emulator.h"

namespace kt::emu {
namespace {

std::string error(const std::string &why) { return "error: " + why; }

std::string conditionNames()
{
    std::string out;
    for (const auto &c : conditionTable())
        out += (out.empty() ? "" : ", ") + std::string(c.name);
    return out;
}

std::string describe(std::span<Emulator *const> printers, std::size_t first)
{
    if (printers.size() == 1)
        return describeConditions(printers[0]->conditions());
    std::string out;
    for (std::size_t i = 0; i < printers.size(); ++i)
        out += (i ? " " : "") + std::to_string(first + i) + "="
            + describeConditions(printers[i]->conditions());
    return out;
}

std::string status(const std::vector<std::string> &words, std::span<Emulator *const> printers,
                   std::size_t first)
{
    if (words.size() == 1)
        return "ok " + describe(printers, first);
    if (words.size() != 3 || (words[2] != "on" && words[2] != "off"))
        return error("status takes CONDITION on|off");
    const auto condition = findCondition(words[1]);
    if (!condition)
        return error("unknown condition " + words[1] + " (conditions: " + conditionNames() + ")");
    for (Emulator *p : printers)
        p->setCondition(*condition, words[2] == "on");
    return "ok " + describe(printers, first);
}

// `first` numbers printers[0]; `addressed` once a printer N has been chosen.
std::string run(std::vector<std::string> words, std::span<Emulator *const> printers,
                std::size_t first, bool addressed)
{
    if (words.empty())
        return error("empty command (try help)");
    if (words[0] == "help")
        return "ok " + controlHelpText();
    if (words[0] == "status")
        return status(words, printers, first);
    if (words[0] == "printer") {
        if (addressed || words.size() < 3)
            return error("printer takes N and a command");
        const std::string &n = words[1];
        const std::size_t index
            = n.size() <= 6 && n.find_first_not_of("0123456789") == std::string::npos
            ? std::stoul(n)
            : 0;
        if (index < 1 || index > printers.size())
            return error("no printer " + n + " (1 to " + std::to_string(printers.size()) + ")");
        words.erase(words.begin(), words.begin() + 2);
        return run(std::move(words), printers.subspan(index - 1, 1), index, true);
    }
    return error("unknown command " + words[0] + " (try help)");
}

} // namespace

std::string controlHelpText()
{
    return "commands: status; status CONDITION on|off; printer N COMMAND; help. conditions: "
        + conditionNames();
}

std::string runControlCommand(std::string_view line, std::span<Emulator *const> printers)
{
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return run(std::move(words), printers, 1, false);
}

} // namespace kt::emu
