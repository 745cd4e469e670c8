#include "values.h"

#include <charconv>
#include <string>

namespace kt::ktsw {

std::optional<int> parseByte(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end || value < 0 || value > 255)
        return std::nullopt;
    return value;
}

std::optional<BitChoice> parseBitChoice(std::string_view text)
{
    const auto equals = text.find('=');
    if (equals != 1 || text[0] < '1' || text[0] > '8')
        return std::nullopt;
    const std::string_view state = text.substr(equals + 1);
    if (state != "ON" && state != "OFF")
        return std::nullopt;
    return BitChoice{text[0] - '0', state == "ON"};
}

Result<std::vector<BitChoice>> parseBitChoices(const std::vector<std::string> &texts,
                                               std::string_view option)
{
    std::vector<BitChoice> choices;
    for (const std::string &text : texts) {
        const auto choice = parseBitChoice(text);
        if (!choice)
            return Failure{kExitUsage,
                           "malformed " + std::string(option) + " '" + text
                               + "' (expected BIT=ON or BIT=OFF, BIT 1 to 8)"};
        choices.push_back(*choice);
    }
    return choices;
}

int applyChoices(int value, const std::vector<BitChoice> &choices)
{
    for (const BitChoice &c : choices) {
        const int weight = 1 << (c.bit - 1);
        value = c.on ? value & ~weight : value | weight;
    }
    return value;
}

} // namespace kt::ktsw
