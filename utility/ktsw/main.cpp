// ktsw: the command line of the service tool.
#include <iostream>

#include "ktsw.h"

int main(int argc, char **argv) { return kt::ktsw::runKtsw(argc, argv, std::cout, std::cerr); }
