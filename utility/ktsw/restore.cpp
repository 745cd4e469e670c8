#include "restore.h"

#include "printer_session.h"
#include "printer_settings.h"
#include "write_frame.h"

namespace kt::ktsw {
namespace {

bool isCodePagePart(const BackupItem &item)
{
    return item.setting == protocol::Setting::CodePage
        || item.setting == protocol::Setting::CodePageName;
}

std::string names(const std::vector<ItemResult> &items, ItemOutcome outcome)
{
    std::string s;
    for (const ItemResult &r : items)
        if (r.outcome == outcome)
            s += (s.empty() ? "" : ", ") + std::string(r.item->name);
    return s;
}

// The file's settings the printer is to get, each with what it holds now.
// The code page and its name go together: the printer switches its tables
// on a code page write, and the name is written after it.
Result<Done> planItems(PrinterLink &link, const Identity &id, const backup::Backup &file,
                       RestoreResult &result)
{
    bool codePage = false;
    for (const BackupItem &item : backupItems()) {
        const auto wanted = backup::settingValue(file.settings, item.key);
        if (!wanted)
            continue;
        ItemResult r;
        r.item = &item;
        r.wanted = *wanted;
        if (!modelHas(item, id.model)) {
            r.outcome = ItemOutcome::Skipped;
            result.items.push_back(r);
            continue;
        }
        auto held = readItem(link, item);
        if (!held.ok())
            return held.failure();
        r.before = r.now = held.value();
        r.outcome = r.before == r.wanted ? ItemOutcome::Unchanged : ItemOutcome::NotSent;
        codePage = codePage || (r.outcome == ItemOutcome::NotSent && isCodePagePart(item));
        result.items.push_back(r);
    }
    for (ItemResult &r : result.items)
        if (codePage && isCodePagePart(*r.item) && r.outcome == ItemOutcome::Unchanged)
            r.outcome = ItemOutcome::NotSent;
    return Done{};
}

std::vector<PlannedWrite> frameOf(const std::vector<ItemResult> &items)
{
    std::vector<PlannedWrite> writes;
    bool afterCodePage = false;
    for (const ItemResult &r : items) {
        if (r.outcome != ItemOutcome::NotSent)
            continue;
        const bool name = r.item->setting == protocol::Setting::CodePageName;
        writes.push_back({std::string(r.item->name), writeFor(*r.item, r.wanted),
                          name && afterCodePage ? protocol::kCodePageNamePauseMs : 0});
        afterCodePage = r.item->setting == protocol::Setting::CodePage;
    }
    return writes;
}

// Reads back every item in `state`: confirmed when it holds the file's
// value, else failed. Stops at a lost connection, leaving the rest as they are.
Result<Done> readBack(PrinterLink &link, std::vector<ItemResult> &items, ItemOutcome state)
{
    for (ItemResult &r : items) {
        if (r.outcome != state)
            continue;
        auto held = readItem(link, *r.item);
        if (!held.ok())
            return held.failure();
        r.now = held.value();
        r.outcome = r.now == r.wanted ? ItemOutcome::Confirmed : ItemOutcome::Failed;
    }
    return Done{};
}

// After a break: once more on a new connection, the printer is locked again
// and every setting that was sent, or was about to be, is read. Settings
// that were not sent keep that outcome; their value now is still learnt.
void recover(const RestoreRequest &request, RestoreResult &result)
{
    auto link = PrinterLink::open(request.link);
    if (!link.ok())
        return;
    if (!link.value()->send(protocol::lockCommand()).ok())
        return;
    result.recovered = true;
    for (ItemResult &r : result.items) {
        if (r.outcome != ItemOutcome::Unknown && r.outcome != ItemOutcome::NotSent)
            continue;
        auto held = readItem(*link.value(), *r.item);
        if (!held.ok() || !held.value()) {
            result.recovered = false;
            return;
        }
        r.now = held.value();
        if (r.outcome == ItemOutcome::Unknown)
            r.outcome = r.now == r.wanted ? ItemOutcome::Confirmed : ItemOutcome::Failed;
    }
}

// A break after writing started: what was sent and what the printer holds.
void brokeOff(const RestoreRequest &request, RestoreResult &result, const Failure &failure)
{
    result.failure = failure;
    recover(request, result);
    std::string message = failure.message;
    if (!result.recovered)
        message += "; no new connection could read the printer back";
    result.failure->message = message;
}

void writeAndConfirm(const RestoreRequest &request, PrinterLink &link, RestoreResult &result)
{
    const std::vector<PlannedWrite> writes = frameOf(result.items);
    if (request.dryRun) {
        if (!writes.empty())
            result.commands = frameHex(writes);
        return;
    }
    if (writes.empty())
        return;
    std::vector<std::string> sent;
    result.sent = true;
    const auto framed = sendFrame(link, writes, sent);
    // The frame holds the items to write in their order: the first
    // sent.size() of them went out.
    std::size_t wentOut = sent.size();
    for (ItemResult &r : result.items)
        if (r.outcome == ItemOutcome::NotSent && wentOut > 0) {
            r.outcome = ItemOutcome::Unknown;
            --wentOut;
        }
    if (!framed.ok())
        return brokeOff(request, result, framed.failure());
    if (auto back = readBack(link, result.items, ItemOutcome::Unknown); !back.ok())
        return brokeOff(request, result, back.failure());
}

} // namespace

const char *outcomeName(ItemOutcome outcome)
{
    switch (outcome) {
    case ItemOutcome::Confirmed: return "confirmed";
    case ItemOutcome::Unchanged: return "unchanged";
    case ItemOutcome::Failed: return "failed";
    case ItemOutcome::Unknown: return "unknown";
    case ItemOutcome::NotSent: return "not_sent";
    case ItemOutcome::Skipped: return "skipped";
    }
    return "unknown";
}

int RestoreResult::exitCode() const
{
    if (failure)
        return failure->code;
    for (const ItemResult &r : items)
        if (r.outcome == ItemOutcome::Failed)
            return kExitNotKept;
    return kExitOk;
}

RestoreResult restoreBackup(const RestoreRequest &request, const backup::Backup &file)
{
    RestoreResult result;
    auto link = openForReplies(request.link, "restore");
    if (!link.ok()) {
        result.failure = link.failure();
        return result;
    }
    auto id = identify(*link.value());
    if (!id.ok()) {
        result.failure = id.failure();
        return result;
    }
    result.model = id.value().model;
    if (!request.forceModel && file.printer.model != id.value().model) {
        result.failure
            = Failure{kExitModelMismatch,
                      file.printer.model
                          ? "the printer is a " + displayText(id.value().model)
                              + ", the backup is of a " + displayText(*file.printer.model)
                              + "; nothing written (--force-model writes it)"
                          : "the backup names no model; nothing written (--force-model writes it)"};
        return result;
    }
    if (auto planned = planItems(*link.value(), id.value(), file, result); !planned.ok()) {
        result.failure = planned.failure();
        return result;
    }
    writeAndConfirm(request, *link.value(), result);
    if (!result.failure)
        if (const std::string notKept = names(result.items, ItemOutcome::Failed); !notKept.empty())
            result.failure = Failure{kExitNotKept, "the printer did not keep: " + notKept};
    return result;
}

} // namespace kt::ktsw
