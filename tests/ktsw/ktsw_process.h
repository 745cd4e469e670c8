// Runs the built ktsw program and collects its exit status and output.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kt::test {

struct Outcome {
    int status = -1; // the exit status; -1 when it did not exit normally
    std::string out, err;
    // Standard output as JSON (discarded when it is none).
    nlohmann::json json() const;
};

// Runs ktsw with the arguments; as the user nobody when asked (the test
// must run as root for that).
Outcome ktsw(std::vector<std::string> args, bool asNobody = false);

// A port text for the TCP port on the loopback address.
std::string local(int port);

} // namespace kt::test
