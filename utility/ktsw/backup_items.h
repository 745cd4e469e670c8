// The settings a backup holds as the printer keeps them: for every key of
// the document the query that reads it, the write that sets it, whether a
// model has it, and what the window shows for a value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output.h"
#include "protocol/commands.h"
#include "settings_backup.h"

namespace kt::ktsw {

using backup::SettingValue;

struct BackupItem {
    std::string_view key;  // "switch_1", "code_page", ...
    std::string_view name; // "soft switch 1", "code page", ... as the other commands say
    protocol::Query query;
    protocol::Setting setting;
    int switchNo = 0; // 1 to 4 for the soft switches
};

// Every setting, in the order the printer takes their writes (the switches,
// then the code page and its name, character set, density, 8x16 font, Thai
// pass): the order of the document's keys too.
const std::vector<BackupItem> &backupItems();
const BackupItem *findBackupItem(std::string_view key);

// Whether the model has the setting: soft switches 3 and 4, the print
// density and the Thai font pass only on the models that have them.
bool modelHas(const BackupItem &item, std::string_view model);

// The value of a reply; nullopt when the reply carries none (a switch reply
// without a number, a number setting that answered no plain number).
std::optional<SettingValue> valueOfReply(const BackupItem &item, std::string_view reply);

// The write command that sets the value.
protocol::Command writeFor(const BackupItem &item, const SettingValue &value);

// The value as the window shows it: "17 - 866 Cyrillic", "8 - Japan",
// "ON", "3 Pass"; the number or text itself where no list item has it.
std::string shownValue(const BackupItem &item, const SettingValue &value);

// The value as JSON: a number, a text or true/false.
Json jsonOf(const SettingValue &value);

} // namespace kt::ktsw
