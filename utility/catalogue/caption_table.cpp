#include "catalogue/caption_table.h"

#include <utility>

namespace kt::catalogue::tables {

Field ownBit(Caption off, Caption on) { return bitCaption(kThisIndex, off, on); }

Field bitCaption(int bit, Caption off, Caption on)
{
    return {{bit}, bit, {{{OFF}, off}, {{ON}, on}}};
}

Field fixedCaption(int label, Caption text) { return {{}, label, {{{}, text}}}; }

Field twoBitField(int first, int second, int label, Caption offOff, Caption offOn, Caption onOff,
                  Caption onOn)
{
    return {{first, second},
            label,
            {{{OFF, OFF}, offOff}, {{OFF, ON}, offOn}, {{ON, OFF}, onOff}, {{ON, ON}, onOn}}};
}

Row row(ModelCondition when, Caption off, Caption on)
{
    return {std::move(when), {ownBit(off, on)}};
}

Row row(ModelCondition when, Field field) { return {std::move(when), {std::move(field)}}; }

Row row(ModelCondition when, std::vector<Field> writes)
{
    return {std::move(when), std::move(writes)};
}

Row unmarked(Row r)
{
    r.marksBold = false;
    return r;
}

BoldMarking ownBitMarking()
{
    BoldMarking marks;
    for (int i = 0; i < 8; ++i)
        marks[static_cast<std::size_t>(i)] = {i};
    return marks;
}

SwitchTable makeTable(const BoldMarking &marking, std::array<DecisionList, 8> lists,
                      std::vector<FieldRule> fieldRules)
{
    SwitchTable t;
    for (std::size_t i = 0; i < 8; ++i)
        t.bits[i] = {marking[i], std::move(lists[i])};
    t.fieldRules = std::move(fieldRules);
    return t;
}

} // namespace kt::catalogue::tables
