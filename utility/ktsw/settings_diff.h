// The settings in which two backups differ, each with what it means on
// either side: the list item a language value selects, and for a soft
// switch every bit whose option or caption differs, captioned for each
// side's model as the window shows it.
#pragma once

#include <iosfwd>
#include <string>

#include "output.h"
#include "settings_backup.h"

namespace kt::ktsw {

struct DiffSide {
    std::string label; // the file, or "the printer on PORT"
    const backup::Backup &backup;
};

// [{setting, name, left, right, left_shown, right_shown[, bits]}]: a value
// absent on one side is null there. bits: [{bit, left: {on, meaning},
// right: {on, meaning}}], meaning null where the window shows "=".
Json diffSettings(const DiffSide &left, const DiffSide &right);

// The differences as text, one setting a line, its bits below it.
void printDiff(std::ostream &out, const DiffSide &left, const DiffSide &right, const Json &diff);

} // namespace kt::ktsw
