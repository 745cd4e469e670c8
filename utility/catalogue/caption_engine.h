// Evaluates a switch's caption tables on a page: the caption procedure of
// one bit index.
#pragma once

#include <string_view>

#include "catalogue/caption_table.h"
#include "catalogue/switch_page.h"

namespace kt::catalogue::tables {

// Bold marking of the index's bits (unless the chosen row says otherwise),
// the first matching row of the index's decision list, then every field
// rule for the index in order. A later write to a label replaces an earlier
// one. An index outside 0 to 7 changes nothing.
void describeWith(const SwitchTable &table, SwitchPage &page, int index, std::string_view modelKey);

// The tables of soft switch 1 to 4; nullptr for any other number.
const SwitchTable *switchTable(int switchNo);

const SwitchTable &softSwitch1Table();
const SwitchTable &softSwitch2Table();
const SwitchTable &softSwitch3Table();
const SwitchTable &softSwitch4Table();

} // namespace kt::catalogue::tables
