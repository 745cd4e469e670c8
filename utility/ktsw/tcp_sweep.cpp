#include "tcp_sweep.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

#include "printer_session.h"
#include "protocol/reply_rules.h"

namespace kt::ktsw {
namespace {

enum class Verdict { Printer, Silent, Refused, Other };

struct Visit {
    Verdict verdict = Verdict::Silent;
    FoundPrinter printer;
};

Verdict verdictOf(const Failure &failure)
{
    if (failure.code == kExitWrongMaker)
        return Verdict::Other;
    if (failure.code == kExitPort && failure.error != ETIMEDOUT)
        return Verdict::Refused;
    return Verdict::Silent;
}

Visit visit(std::uint32_t address, const SweepOptions &options)
{
    Visit v;
    LinkOptions link;
    v.printer.address = addressText(address);
    v.printer.port = options.port;
    link.port = v.printer.address + ":" + std::to_string(options.port);
    link.timeoutMs = options.replyMs;
    link.connectMs = options.connectMs;
    auto opened = PrinterLink::open(link);
    if (!opened.ok()) {
        v.verdict = verdictOf(opened.failure());
        return v;
    }
    auto identity = identify(*opened.value());
    if (!identity.ok()) {
        v.verdict = verdictOf(identity.failure());
        return v;
    }
    v.verdict = Verdict::Printer;
    v.printer.maker = identity.value().maker;
    v.printer.model = identity.value().model;
    auto firmware = opened.value()->query(protocol::queryEntry(protocol::Query::Printer2).bytes);
    if (firmware.ok() && firmware.value())
        v.printer.firmware = *firmware.value();
    return v;
}

} // namespace

SweepResult sweep(const AddressRange &range, const SweepOptions &options)
{
    const std::uint64_t count = range.count();
    const auto deadline
        = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.totalMs);
    std::atomic<std::uint64_t> next{0};
    std::mutex mutex;
    std::vector<std::pair<std::uint32_t, FoundPrinter>> found;
    SweepResult result;

    const auto work = [&] {
        for (std::uint64_t i = next++; i < count; i = next++) {
            if (std::chrono::steady_clock::now() >= deadline) {
                const std::lock_guard lock(mutex);
                ++result.notTried;
                continue;
            }
            Visit v = visit(range.at(i), options);
            const std::lock_guard lock(mutex);
            switch (v.verdict) {
            case Verdict::Printer: found.emplace_back(range.at(i), std::move(v.printer)); break;
            case Verdict::Silent: ++result.silent; break;
            case Verdict::Refused: ++result.refused; break;
            case Verdict::Other: ++result.others; break;
            }
        }
    };
    const auto workers
        = static_cast<std::size_t>(std::clamp<std::uint64_t>(count, 1, std::max(options.jobs, 1)));
    std::vector<std::jthread> threads;
    threads.reserve(workers);
    for (std::size_t i = 0; i < workers; ++i) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error &) {
            break; // the system gives no more threads: fewer workers do it
        }
    }
    if (threads.empty())
        work();
    threads.clear(); // joins

    std::sort(found.begin(), found.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[address, printer] : found)
        result.printers.push_back(std::move(printer));
    return result;
}

} // namespace kt::ktsw
