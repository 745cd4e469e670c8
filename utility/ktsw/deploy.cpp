#include "deploy.h"

#include <atomic>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace kt::ktsw {
namespace {

using Clock = std::chrono::steady_clock;

bool anyWritten(const RestoreResult &result)
{
    for (const ItemResult &r : result.items)
        if (r.outcome != ItemOutcome::Unchanged && r.outcome != ItemOutcome::Skipped)
            return true;
    return false;
}

std::string trimmed(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

const char *deployResultName(DeployResult result)
{
    switch (result) {
    case DeployResult::Confirmed: return "confirmed";
    case DeployResult::Unchanged: return "unchanged";
    case DeployResult::Failed: return "failed";
    case DeployResult::Unreachable: return "unreachable";
    }
    return "failed";
}

DeployRecord deployRecord(const std::string &port, const RestoreResult &result, double seconds)
{
    DeployRecord record;
    record.port = port;
    record.model = displayText(result.model);
    record.seconds = seconds;
    for (const ItemResult &r : result.items)
        if (r.outcome == ItemOutcome::Confirmed)
            record.changed.emplace_back(r.item->key);
    if (result.failure) {
        record.error = result.failure->message;
        const bool silent = result.failure->code == kExitNoAnswer && result.model.empty();
        record.result = result.failure->code == kExitPort || silent ? DeployResult::Unreachable
                                                                    : DeployResult::Failed;
    } else if (result.exitCode() != kExitOk) {
        record.result = DeployResult::Failed;
    } else {
        record.result = anyWritten(result) ? DeployResult::Confirmed : DeployResult::Unchanged;
    }
    return record;
}

std::vector<DeployRecord> deploy(const DeployPlan &plan, const backup::Backup &file,
                                 const std::function<void(const DeployRecord &)> &done)
{
    std::vector<DeployRecord> records(plan.ports.size());
    std::atomic<std::size_t> next{0};
    std::mutex reporting;
    const auto work = [&] {
        for (std::size_t i = next++; i < plan.ports.size(); i = next++) {
            RestoreRequest request = plan.request;
            request.link.port = plan.ports[i];
            const auto start = Clock::now();
            request.link.until = start + plan.perPrinter;
            const RestoreResult result = restoreBackup(request, file);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            records[i] = deployRecord(plan.ports[i], result, seconds);
            const std::lock_guard lock(reporting);
            done(records[i]);
        }
    };
    const std::size_t workers = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(plan.jobs, 1)), plan.ports.size());
    std::vector<std::jthread> pool;
    for (std::size_t w = 0; w < workers; ++w)
        pool.emplace_back(work);
    pool.clear(); // joins
    return records;
}

Result<std::vector<std::string>> parseTargets(const std::string &text)
{
    std::vector<std::string> ports;
    std::set<std::string> seen;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string port = trimmed(line.substr(0, line.find('#')));
        if (port.empty())
            continue;
        if (!seen.insert(port).second)
            return Failure{kExitUsage,
                           "line " + std::to_string(number) + ": " + port + " is listed twice"};
        ports.push_back(port);
    }
    if (ports.empty())
        return Failure{kExitUsage, "the targets list names no printer"};
    return ports;
}

} // namespace kt::ktsw
