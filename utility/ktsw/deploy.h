// A backup restored to many printers at once: a fixed pool of workers,
// each printer on its own connection and bounded by its own time.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "restore.h"

namespace kt::ktsw {

// How a printer ended.
enum class DeployResult { Confirmed, Unchanged, Failed, Unreachable };
const char *deployResultName(DeployResult result);

struct DeployRecord {
    std::string port;
    std::string model; // empty when it never answered
    DeployResult result = DeployResult::Unreachable;
    std::vector<std::string> changed; // the keys written and confirmed
    std::string error;
    double seconds = 0;
};

// The record of one printer's restore. Unreachable: the port did not open,
// or nothing answered before anything was written.
DeployRecord deployRecord(const std::string &port, const RestoreResult &result, double seconds);

struct DeployPlan {
    std::vector<std::string> ports;
    RestoreRequest request; // its link's port is set per printer
    int jobs = 16;
    std::chrono::milliseconds perPrinter{30000};
};

// Restores the backup to every port with at most plan.jobs at once; one
// printer failing never stops the others. `done` is called (one call at a
// time) after every printer. Records in the order of the ports.
std::vector<DeployRecord> deploy(const DeployPlan &plan, const backup::Backup &file,
                                 const std::function<void(const DeployRecord &)> &done);

// The ports of a targets list: one a line, "#" to the end of a line a
// comment, blanks around a port and blank lines ignored. A usage failure
// names a line whose port is given twice (two workers would talk to one
// printer at once) and a list without any port.
Result<std::vector<std::string>> parseTargets(const std::string &text);

} // namespace kt::ktsw
