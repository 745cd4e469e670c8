// The window program's own options, read before Qt sees the command line,
// so that --version and --help work without a display. Every argument the
// program does not know is left to Qt (-platform, -style, ...).
#pragma once

#include <iosfwd>
#include <optional>
#include <variant>

namespace kt::window {

struct StartOptions {
    // Closes the window this many milliseconds after it is shown: a
    // start-and-exit check of an installed copy.
    std::optional<int> quitAfterMs;
};

// The options, or the exit code when the program ends here (--version,
// --help, a value that is not valid).
std::variant<StartOptions, int> readStartOptions(int argc, const char *const *argv,
                                                 std::ostream &out, std::ostream &err);

} // namespace kt::window
