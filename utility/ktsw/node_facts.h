// What the system says about a device node and about the user who wants
// to open it: owner, group and mode, whether an open for reading and
// writing succeeds (never waiting: O_NONBLOCK), and the user's groups as
// this process has them and as the group database lists them.
#pragma once

#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace kt::ktsw {

struct NodeFacts {
    bool exists = false;
    std::string owner, group;
    mode_t mode = 0;        // permission bits
    struct stat status { }; // of the node, to find the processes that hold it
    // 0 when the node opens for reading and writing, else why not (errno).
    int openError = 0;
    // A serial port whose driver calls its type unknown: no UART behind it.
    bool noSerialHardware = false;
};

// Looks at the node and tries one open; `serialHardware` also asks the
// serial driver for the port type once the node is open.
NodeFacts inspectNode(const std::string &path, bool serialHardware);

struct UserFacts {
    std::string name;
    std::vector<std::string> groups; // of this process, primary group first
};

UserFacts currentUser();

// True when the group database lists `user` in `group`: joined, though
// perhaps not yet in this login session.
bool listedInGroup(const std::string &user, const std::string &group);

// "0660" for the permission bits.
std::string modeText(mode_t mode);

} // namespace kt::ktsw
