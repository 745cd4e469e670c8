// The arguments of `ktsw explain`, parsed and checked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "command.h"

namespace kt::ktsw {

struct Selection {
    int bit = 1; // 1 to 8
    bool on = true;
};

struct ExplainRequest {
    std::string model;
    int switchNo = 1;
    int value = 0;
    std::vector<Selection> selections; // in the order given
    bool json = false;
    bool help = false;
};

// nullopt with a message in `error` when the arguments cannot be used.
std::optional<ExplainRequest> parseExplainArgs(const Arguments &args, std::string &error);

std::string explainUsage();

} // namespace kt::ktsw
