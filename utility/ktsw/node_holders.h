// Which processes have a device node open, from the descriptors under
// /proc. Only processes whose descriptors we may read can be looked at;
// the others are counted so that an empty answer is not taken for "none".
#pragma once

#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace kt::ktsw {

struct Holder {
    int pid = 0;
    std::string name; // the command name /proc gives
};

// One character device that a process has open.
struct OpenNode {
    dev_t filesystem = 0; // where the node lives
    ino_t inode = 0;
    dev_t device = 0; // the device it stands for
    Holder holder;
};

struct OpenDevices {
    std::vector<OpenNode> open;
    int unreadable = 0; // processes whose descriptors could not be read; -1: no /proc

    // The processes that have the node open: by the node itself, or by the
    // device it stands for when the device number is known.
    std::vector<Holder> holdersOf(const struct stat &node) const;
};

// Every character device open in another process than this one, read from
// `procRoot` (/proc).
OpenDevices openDevices(const std::string &procRoot = "/proc");

} // namespace kt::ktsw
