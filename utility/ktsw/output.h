// What a command prints: plain text, or with --json one JSON object on
// standard output. Failures are one line on standard error, and with --json
// also a JSON error object on standard output.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "outcome.h"

namespace kt::ktsw {

using Json = nlohmann::ordered_json;

// Printer texts and captions as valid UTF-8: a byte that is not part of a
// valid UTF-8 sequence is taken as Latin-1.
std::string displayText(std::string_view text);

// A number when the text is a plain decimal number, else the text itself.
Json numberOrText(std::string_view text);

struct Output {
    std::ostream &out;
    std::ostream &err;
    std::string command; // "info", "read", ... for the error line
    bool json = false;

    // Prints the object (with --json) and gives the exit code.
    int print(const Json &object, int code = kExitOk) const;
    // The failure's line on stderr (and the error object with --json); gives
    // its exit code. `details` are added to the error object.
    int fail(const Failure &failure, const Json &details = Json::object()) const;
};

} // namespace kt::ktsw
