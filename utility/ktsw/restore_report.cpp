#include "restore_report.h"

#include <ostream>

namespace kt::ktsw {
namespace {

Json valueJson(const std::optional<SettingValue> &value) { return value ? jsonOf(*value) : Json(); }

std::string shown(const ItemResult &r, const std::optional<SettingValue> &value)
{
    return value ? shownValue(*r.item, *value) : std::string("no answer");
}

// One line: "code page: confirmed (0  - 437 Standard -> 17 - 866 Cyrillic)".
std::string line(const ItemResult &r, bool recovered)
{
    std::string text = std::string(r.item->name) + ": ";
    const std::string wanted = shownValue(*r.item, r.wanted);
    switch (r.outcome) {
    case ItemOutcome::Confirmed:
        return text + "confirmed (" + shown(r, r.before) + " -> " + wanted + ")";
    case ItemOutcome::Unchanged: return text + "unchanged (" + wanted + ")";
    case ItemOutcome::Failed:
        return text + "failed: sent as " + wanted + ", reads back " + shown(r, r.now);
    case ItemOutcome::Unknown: return text + "unknown: sent, not confirmed";
    case ItemOutcome::NotSent:
        return text + "not sent" + (recovered ? "; the printer holds " + shown(r, r.now) : "");
    case ItemOutcome::Skipped: return text + "skipped: the model has no such setting";
    }
    return text;
}

} // namespace

Result<backup::Backup> readBackup(const std::string &path)
{
    try {
        return backup::readBackupFile(path);
    } catch (const backup::BackupError &e) {
        return Failure{kExitUsage, e.what()};
    }
}

Json restoreItemsJson(const RestoreResult &result)
{
    Json items = Json::array();
    for (const ItemResult &r : result.items)
        items.push_back({{"setting", r.item->key},
                         {"name", r.item->name},
                         {"result", outcomeName(r.outcome)},
                         {"wanted", jsonOf(r.wanted)},
                         {"before", valueJson(r.before)},
                         {"now", valueJson(r.now)}});
    return items;
}

int reportRestore(const Output &output, const RestoreResult &result, bool dryRun)
{
    Json report = {{"model", displayText(result.model)},
                   {"settings", restoreItemsJson(result)},
                   {"written", result.sent}};
    if (dryRun) {
        report["dry_run"] = true;
        report["commands"] = result.commands;
    }
    if (result.sent)
        report["note"] = kRepowerNote;
    if (!output.json) {
        if (!result.model.empty())
            output.out << "Model Name: " << displayText(result.model) << '\n';
        for (const ItemResult &r : result.items)
            output.out << line(r, result.recovered) << '\n';
        for (const std::string &command : result.commands)
            output.out << command << '\n';
        if (dryRun && result.commands.empty() && !result.failure)
            output.out << "unchanged: nothing would be written\n";
        if (result.sent)
            output.out << kRepowerNote << '\n';
        output.out.flush();
    }
    if (result.failure) {
        Json details = Json::object();
        for (const auto &[key, value] : report.items())
            details[key] = value;
        return output.fail(*result.failure, details);
    }
    return output.print(report, result.exitCode());
}

} // namespace kt::ktsw
