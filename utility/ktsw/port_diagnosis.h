// What stands in the way of opening a printer port, and the fix, from the
// facts doctor gathered: the node, the user, the driver and the processes
// that hold the node.
#pragma once

#include <string>
#include <vector>

#include "node_facts.h"
#include "node_holders.h"
#include "port_survey.h"

namespace kt::ktsw {

// The udev rule that gives the printers' nodes to the groups lp and
// dialout; installed with ktsw.
inline constexpr const char *kUdevRuleName = "60-kt-printers.rules";

struct Diagnosis {
    std::string problem; // empty when nothing stands in the way
    std::string fix;     // empty when there is nothing to do
};

struct PortFacts {
    const Candidate &port;
    const NodeFacts &node;
    const std::vector<Holder> &holders;
    const UserFacts &user;
    // The group database lists the user in the node's group.
    bool listedInNodeGroup = false;
};

Diagnosis diagnose(const PortFacts &facts);

// "name (pid 12)", comma separated.
std::string holderText(const std::vector<Holder> &holders);

} // namespace kt::ktsw
