#include "explain_args.h"

#include <charconv>
#include <set>
#include <string_view>

namespace kt::ktsw {

std::string explainUsage()
{
    return "usage: ktsw " + std::string(kExplainSynopsis)
        + "\n\n"
          "Shows soft switch N (1 to 4) of model NAME as the window does after reading\n"
          "the byte V (0 to 255), then clicks the ON or OFF option of each --select bit\n"
          "(1 to 8) in order. Prints each bit's selected option, its meaning label and\n"
          "whether the option is bold; --json prints one JSON object instead.\n";
}

namespace {

// A whole decimal number within [low, high].
std::optional<int> parseNumber(std::string_view text, int low, int high)
{
    int number = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    if (text.empty() || ec != std::errc() || ptr != end || number < low || number > high)
        return std::nullopt;
    return number;
}

std::optional<Selection> parseSelection(std::string_view text)
{
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const auto bit = parseNumber(text.substr(0, equals), 1, 8);
    const std::string_view state = text.substr(equals + 1);
    if (!bit || (state != "ON" && state != "OFF"))
        return std::nullopt;
    return Selection{*bit, state == "ON"};
}

} // namespace

std::optional<ExplainRequest> parseExplainArgs(const Arguments &args, std::string &error)
{
    ExplainRequest request;
    std::set<std::string_view> given; // the options that may appear once
    const auto fail = [&error](std::string message) {
        error = std::move(message);
        return std::nullopt;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        std::optional<std::string_view> inlineValue;
        if (option.starts_with("--")) {
            if (const auto equals = option.find('='); equals != std::string_view::npos) {
                inlineValue = option.substr(equals + 1);
                option = option.substr(0, equals);
            }
        }
        if (option == "--help" || option == "-h") {
            request.help = true;
            return request;
        }
        if (option == "--json") {
            if (inlineValue)
                return fail("--json takes no value");
            request.json = true;
            continue;
        }
        if (option != "--model" && option != "--switch" && option != "--value"
            && option != "--select")
            return fail("unknown option '" + std::string(args[i]) + "'");

        std::string_view value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return fail(std::string(option) + " needs a value");
        }
        if (option != "--select" && !given.insert(option).second)
            return fail(std::string(option) + " given twice");

        const std::string quoted = "'" + std::string(value) + "'";
        if (option == "--model") {
            request.model = value;
        } else if (option == "--switch") {
            const auto n = parseNumber(value, 1, 4);
            if (!n)
                return fail("unknown switch " + quoted + " (expected 1 to 4)");
            request.switchNo = *n;
        } else if (option == "--value") {
            const auto v = parseNumber(value, 0, 255);
            if (!v)
                return fail("value " + quoted + " is not a number from 0 to 255");
            request.value = *v;
        } else {
            const auto selection = parseSelection(value);
            if (!selection)
                return fail("malformed --select " + quoted
                            + " (expected BIT=ON or BIT=OFF, BIT 1 to 8)");
            request.selections.push_back(*selection);
        }
    }
    for (std::string_view required : {"--model", "--switch", "--value"})
        if (!given.contains(required))
            return fail("missing " + std::string(required));
    return request;
}

} // namespace kt::ktsw
