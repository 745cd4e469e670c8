#include "catalogue/caption_engine.h"

#include <algorithm>

namespace kt::catalogue::tables {
namespace {

bool validIndex(int index) { return index >= 0 && index < 8; }

int resolve(int bitOrLabel, int index) { return bitOrLabel == kThisIndex ? index : bitOrLabel; }

const Row *firstMatch(const DecisionList &list, std::string_view modelKey)
{
    const auto it = std::find_if(list.begin(), list.end(),
                                 [modelKey](const Row &r) { return r.when.matches(modelKey); });
    return it == list.end() ? nullptr : &*it;
}

void markBold(BitRow &bit)
{
    bit.onBold = bit.on;
    bit.offBold = !bit.on;
}

// The caption of the field's current combination; nullptr when the
// combination is not listed or has no caption, or the field is malformed.
Caption fieldCaption(const Field &field, const SwitchPage &page, int index)
{
    std::vector<Opt> states;
    for (int bit : field.bits) {
        const int k = resolve(bit, index);
        if (!validIndex(k))
            return kNoCaption;
        states.push_back(page.bits[static_cast<std::size_t>(k)].on ? ON : OFF);
    }
    for (const Combination &c : field.combinations)
        if (c.states == states)
            return c.caption;
    return kNoCaption;
}

void applyRow(const Row &row, SwitchPage &page, int index)
{
    for (const Field &field : row.writes) {
        const int label = resolve(field.label, index);
        const Caption caption = fieldCaption(field, page, index);
        if (caption == kNoCaption || !validIndex(label))
            continue;
        BitRow &target = page.bits[static_cast<std::size_t>(label)];
        target.caption = caption;
        target.written = true;
    }
}

} // namespace

void describeWith(const SwitchTable &table, SwitchPage &page, int index, std::string_view modelKey)
{
    if (!validIndex(index))
        return;
    const BitProcedure &procedure = table.bits[static_cast<std::size_t>(index)];
    const Row *chosen = firstMatch(procedure.list, modelKey);
    if (chosen == nullptr || chosen->marksBold)
        for (int bit : procedure.boldBits)
            if (validIndex(bit))
                markBold(page.bits[static_cast<std::size_t>(bit)]);
    if (chosen != nullptr)
        applyRow(*chosen, page, index);

    for (const FieldRule &rule : table.fieldRules) {
        const bool forIndex
            = std::find(rule.indexes.begin(), rule.indexes.end(), index) != rule.indexes.end();
        if (forIndex && rule.row.when.matches(modelKey))
            applyRow(rule.row, page, index);
    }
}

const SwitchTable *switchTable(int switchNo)
{
    switch (switchNo) {
    case 1: return &softSwitch1Table();
    case 2: return &softSwitch2Table();
    case 3: return &softSwitch3Table();
    case 4: return &softSwitch4Table();
    default: return nullptr;
    }
}

} // namespace kt::catalogue::tables
