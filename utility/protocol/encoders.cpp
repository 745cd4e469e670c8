#include "protocol/encoders.h"

#include <algorithm>
#include <string>

#include "protocol/text_rules.h"

namespace kt::protocol {
namespace {

// The digits of a number field: its leading characters, blanks trimmed.
Bytes numberField(std::string_view text, std::size_t fieldWidth, std::size_t dataWidth)
{
    return fixedField(trimBlanks(leftChars(text, fieldWidth)), dataWidth);
}

} // namespace

Bytes fixedField(std::string_view text, std::size_t width)
{
    Bytes field(width, 0x00);
    std::transform(text.begin(), text.begin() + std::min(width, text.size()), field.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c); });
    return field;
}

std::array<std::uint8_t, 3> encodeSwitchByte(int value)
{
    const Bytes digits = fixedField(std::to_string(std::clamp(value, 0, 255)), 3);
    return {digits[0], digits[1], digits[2]};
}

Bytes encodeCodePage(std::string_view text) { return numberField(text, 3, 3); }

Bytes encodeCodePageName(std::string_view text)
{
    return fixedField(upperCase(trimBlanks(midChars(text, 6, 20))), 20);
}

Bytes encodeInterChars(std::string_view text) { return numberField(text, 2, 2); }
Bytes encodeDensity(std::string_view text) { return fixedField(leftChars(text, 1), 1); }

Bytes encodeNew8x16(std::string_view text)
{
    if (trimBlanks(rightChars(text, 3)) == "ON")
        return {'O', 'N'};
    return {0x00, 0x00};
}

Bytes encodeThaiPass(std::string_view text) { return numberField(text, 3, 3); }

} // namespace kt::protocol
