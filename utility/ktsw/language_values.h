// The language settings `ktsw set` writes: each value typed on the command
// line is looked up in the printer's lists, and becomes the write command
// and the test its read-back must pass.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "outcome.h"
#include "protocol/commands.h"

namespace kt::ktsw {

struct LanguageChoice {
    std::optional<int> codePage;
    std::optional<int> charset;
    std::optional<int> density;
    std::optional<bool> font8x16;
    std::optional<int> thaiPass; // 1 or 3
};

// One setting to write: the query that reads it, the command that writes
// it, and whether a value read back is the one wanted.
struct LanguageWrite {
    std::string setting; // "code page", "code page name", ...
    protocol::Query read;
    protocol::Command command;
    std::string wanted; // as shown to the user
    std::function<bool(const std::string &value)> holds;
    int pauseMs = 0;
    // A value read as the window shows it ("ON"/"OFF", "1 Pass"/"3 Pass").
    std::function<std::string(const std::string &value)> shown
        = [](const std::string &value) { return value; };
};

// The writes of the choice in the printer's order (the code page with its
// name after the pause, then the character set, density, 8x16 font and
// Thai pass); a usage failure for a value outside the printer's lists.
Result<std::vector<LanguageWrite>> planLanguageWrites(const LanguageChoice &choice);

// The numbers the lists allow, for the help text and the messages.
std::string allowedCodePages();
std::string allowedCharsets();

} // namespace kt::ktsw
