#include "protocol/reply_rules.h"

#include <cmath>
#include <string>

#include "protocol/text_rules.h"

namespace kt::protocol {

std::optional<int> switchValue(std::string_view value)
{
    const std::optional<double> number = leadingNumber(value);
    if (!number || *number < 0 || *number > 255)
        return std::nullopt;
    return static_cast<int>(std::nearbyint(*number)); // halves to even
}

bool isMakerReply(std::string_view value)
{
    return upperCase(value).find(kMakerWord) != std::string::npos;
}

bool new8x16On(std::string_view value) { return !value.empty(); }

std::optional<std::string_view> thaiPassCaption(std::string_view value)
{
    const std::string_view head = leftChars(value, 3);
    if (head == "249")
        return "3 Pass";
    if (head == "255")
        return "1 Pass";
    return std::nullopt;
}

bool modelReplyAsksAgain(std::string_view value) { return leftChars(value, 2) == ";1"; }

} // namespace kt::protocol
