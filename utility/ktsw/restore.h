// Writing a backup back into a printer: only the settings that differ, in
// one unlock ... lock frame, each written one read back. A restore that
// breaks off finds out, on a new connection, what the printer now holds.
// `ktsw restore` runs it for one printer, `ktsw deploy` for many at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "backup_items.h"
#include "printer_link.h"

namespace kt::ktsw {

constexpr int kExitModelMismatch = 8;

enum class ItemOutcome {
    Confirmed, // written and read back as in the file
    Unchanged, // the printer already held it: not written
    Failed,    // written, but it reads back otherwise or not at all
    Unknown,   // sent, but not confirmed: the connection ended
    NotSent,   // the restore broke off before it
    Skipped,   // the model does not have it: never written
};
const char *outcomeName(ItemOutcome outcome); // "confirmed", ..., "not_sent", "skipped"

struct ItemResult {
    const BackupItem *item = nullptr;
    SettingValue wanted;
    std::optional<SettingValue> before; // what the printer held before
    std::optional<SettingValue> now;    // what it holds now, when known
    ItemOutcome outcome = ItemOutcome::NotSent;
};

struct RestoreResult {
    std::string model; // the printer's, once identified
    std::vector<ItemResult> items;
    std::optional<Failure> failure;    // what stopped the restore
    bool sent = false;                 // a write went out
    bool recovered = false;            // read back on a new connection after a break
    std::vector<std::string> commands; // --dry-run: the frame as hexadecimal lines

    // 0; 5 when a setting was not kept; the failure's code when one stopped it.
    int exitCode() const;
};

struct RestoreRequest {
    LinkOptions link;
    bool forceModel = false;
    bool dryRun = false;
};

// Never throws; every failure is in the result.
RestoreResult restoreBackup(const RestoreRequest &request, const backup::Backup &file);

// What a technician is told to do after writing settings.
inline constexpr const char *kRepowerNote
    = "After writed software switch, please re-power on printer!!";

} // namespace kt::ktsw
