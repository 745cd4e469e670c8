// The whole command line as a function, for main and for measuring it
// in-process.
#pragma once

#include <iosfwd>

namespace kt::ktsw {

// Parses the arguments (argv[0] is the program) and runs the chosen
// command; gives the exit status.
int runKtsw(int argc, char **argv, std::ostream &out, std::ostream &err);

} // namespace kt::ktsw
