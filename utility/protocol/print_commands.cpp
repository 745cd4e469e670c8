#include "protocol/print_commands.h"

#include <string_view>

namespace kt::protocol {
namespace {

constexpr std::uint8_t ESC = 0x1B;
constexpr std::uint8_t GS = 0x1D;
constexpr std::uint8_t CR = 0x0D;
constexpr std::uint8_t LF = 0x0A;

// ESC ! n selects the font, then the heading text and CR LF.
Command heading(std::uint8_t font, std::string_view text)
{
    Command c{ESC, 0x21, font};
    for (char ch : text)
        c.push_back(static_cast<std::uint8_t>(ch));
    c.push_back(CR);
    c.push_back(LF);
    return c;
}

// Every byte from first to last in ascending order, then CR LF.
Command characterLine(int first, int last)
{
    Command c;
    for (int b = first; b <= last; ++b)
        c.push_back(static_cast<std::uint8_t>(b));
    c.push_back(CR);
    c.push_back(LF);
    return c;
}

} // namespace

Command selfTestCommand() { return {GS, 0x28, 0x41, 0x02, 0x00, 0x00, 0x02}; }

std::vector<Command> fontsTestCommands()
{
    const Command printable = characterLine(0x21, 0x7F);
    const Command upper = characterLine(0x80, 0xFF);
    return {
        heading(0x01, "FONT:08X16"),    printable, upper,
        heading(0x02, "FONT:12X24"),    printable, upper,
        {ESC, 0x40, CR, LF, ESC, 0x69},
    };
}

} // namespace kt::protocol
