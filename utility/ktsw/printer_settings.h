// A printer's settings read as a backup holds them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "backup_items.h"
#include "printer_session.h"
#include "settings_backup.h"

namespace kt::ktsw {

// Reads one setting; nullopt when the printer gave no value for it.
Result<std::optional<SettingValue>> readItem(PrinterLink &link, const BackupItem &item);

// The identity and every setting the model has, as a backup made now. A
// setting the printer did not answer, or answered with a value a backup
// cannot hold, is left out and named in `notes`.
Result<backup::Backup> readPrinterBackup(PrinterLink &link, const Identity &id,
                                         std::vector<std::string> &notes);

} // namespace kt::ktsw
