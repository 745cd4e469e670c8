// Soft switch 3: print speed, print density and font settings, several of
// them fields whose caption stands on the label of the field's first bit.
#include "catalogue/caption_engine.h"
#include "catalogue/model_groups.h"

namespace kt::catalogue::tables {
namespace {

using groups::groupD;
using groups::groupU;

// KT-74: bits 1-2 are the print speed, on the label of bit 1.
Field kt74SpeedField()
{
    return twoBitField(0, 1, 0, "Print Speed = 220", "Print Speed = 180", "Print Speed = 200",
                       "Print Speed = 250");
}

const ModelCondition &fontModels()
{
    static const ModelCondition c
        = anyOf({prefix("KT-91"), prefix("MV8"), prefix("MV55"), prefix("KT-74")});
    return c;
}

DecisionList bit1()
{
    return {
        row(groupD(), "Raster bitmap print mode = Batch printing",
            "Raster bitmap print mode = Line printing"),
        row(groupU(), "UPOS Write = Enable", "UPOS Write = Disable"),
        row(prefix("KT-74"), kt74SpeedField()),
        row(anyOtherModel(), "Paper Feed Backward before print = Enabled",
            "Paper Feed Backward before print = Disabled"),
    };
}

DecisionList bit2()
{
    return {
        row(groupU(), kNoCaption, kNoCaption),
        row(prefix("MV8") || prefix("MV55"), "High Quality Print 120mm = Disabled",
            "High Quality Print 120mm = Enabled"),
        row(prefix("KT-91"), "Print Speed = 170mm/s", "Print Speed = 200mm/s"),
        row(prefix("KT-74"), kt74SpeedField()),
        row(anyOtherModel(), "Beep sound after Cut Paper = Disabled",
            "Beep sound after Cut Paper = Enabled"),
    };
}

DecisionList bit3()
{
    return {
        row(fontModels(), "Thai Font = 1 PASS", "Thai Font = 3 PASS"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit4()
{
    return {
        row(fontModels(), "UPOS Write = Enable", "UPOS Write= Disable"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

// Bit 5 has no list of its own: only the density fields write its label.
DecisionList bit5() { return {}; }

DecisionList bit6()
{
    return {
        row(exact("TW86_USB"), "Reserved", "Reserved"),
        row(exact("KT1401") || exact("TW8_USB"), "Print Speed = 170mm/s", "Print Speed = 200mm/s"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit7()
{
    return {
        row(groupU(), "Thai Font = 1 Pass", "Thai Font = 3 Pass"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit8()
{
    return {
        row(groupU(), "Cover Open Message = Disable", "Cover Open Message = Enable"),
        row(prefix("KT-74") || prefix("KT-9100X"), "Auto cutter = Enable", "Auto cutter = Disable"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

// "KT-4000": bits 2-4 are the print speed, on the label of bit 2.
Field kt4000SpeedField()
{
    return {{1, 2, 3},
            1,
            {
                {{OFF, OFF, OFF}, "Print Speed = 300"},
                {{OFF, OFF, ON}, "Print Speed = 200"},
                {{OFF, ON, OFF}, "Print Speed = 250"},
                {{OFF, ON, ON}, kNoCaption},
                {{ON, OFF, OFF}, "Print Speed = 280"},
                {{ON, OFF, ON}, "Print Speed = 180"},
                {{ON, ON, OFF}, "Print Speed = 220"},
                {{ON, ON, ON}, kNoCaption},
            }};
}

std::vector<Field> kt7700Reserved()
{
    return {fixedCaption(1, "Reserved"), fixedCaption(2, "Reserved"), fixedCaption(3, "Reserved")};
}

std::vector<Field> kt14Bits2To4()
{
    return {
        bitCaption(1, "High Quality Print = Disable", "High Quality Print = Enable"),
        bitCaption(2, "Thai Font mode = Disable", "Thai Font mode = Enable"),
        bitCaption(3, "UPOS Write = Enable", "UPOS Write = Disable"),
    };
}

// Group U: bits 3-5 are the print density, on the label of bit 3; the four
// combinations not listed leave it unchanged.
Field groupUDensityField()
{
    return {{2, 3, 4},
            2,
            {
                {{OFF, OFF, OFF}, "Print Density = 100%"},
                {{ON, OFF, OFF}, "Print Density = 110%"},
                {{OFF, ON, OFF}, "Print Density = 120%"},
                {{ON, ON, ON}, "Print Density = 130%"},
            }};
}

// Group D: bits 5-8 are the print density, on the label of bit 5.
Field groupDDensityField()
{
    return {{4, 5, 6, 7},
            4,
            {
                {{OFF, OFF, OFF, OFF}, "Print Density = 100%"},
                {{OFF, OFF, OFF, ON}, "Print Density = 90%"},
                {{OFF, OFF, ON, OFF}, "Print Density = 120%"},
                {{OFF, OFF, ON, ON}, "Print Density = Unknown"},
                {{OFF, ON, OFF, OFF}, "Print Density = 110%"},
                {{OFF, ON, OFF, ON}, "Print Density = 80%"},
                {{OFF, ON, ON, OFF}, "Print Density = 130%"},
                {{OFF, ON, ON, ON}, "Print Density = 150%"},
                {{ON, OFF, OFF, OFF}, "Print Density = 105%"},
                {{ON, OFF, OFF, ON}, "Print Density = 85%"},
                {{ON, OFF, ON, OFF}, "Print Density = 125%"},
                {{ON, OFF, ON, ON}, "Print Density = 140%"},
                {{ON, ON, OFF, OFF}, "Print Density = 115%"},
                {{ON, ON, OFF, ON}, "Print Density = Unknown"},
                {{ON, ON, ON, OFF}, "Print Density = 95%"},
                {{ON, ON, ON, ON}, "Print Density = Unknown"},
            }};
}

// KT-74 and KT-9100X: bits 5-7 are the print density, on the label of bit 5.
Field kt74DensityField()
{
    return {{4, 5, 6},
            4,
            {
                {{OFF, OFF, OFF}, "Print Density = 100%"},
                {{OFF, OFF, ON}, "Print Density = 90%"},
                {{OFF, ON, OFF}, "Print Density = 120%"},
                {{OFF, ON, ON}, "Print Density = Unknown"},
                {{ON, OFF, OFF}, "Print Density = 110%"},
                {{ON, OFF, ON}, "Print Density = 80%"},
                {{ON, ON, OFF}, "Print Density = 130%"},
                {{ON, ON, ON}, "Print Density = Unknown"},
            }};
}

// A name beginning with "KT-9100X" is in group D and in the last rule: at
// index 4 to 6 the three-bit density is written last, at index 7 only the
// four-bit one, so a full display ends with the four-bit caption.
std::vector<FieldRule> fieldRules()
{
    return {
        {{1, 2, 3}, row(exact("KT-4000"), kt4000SpeedField())},
        {{1, 2, 3}, row(exact("KT-7700"), kt7700Reserved())},
        {{1, 2, 3}, row(prefix("KT-14"), kt14Bits2To4())},
        {{2, 3, 4}, row(groupU(), groupUDensityField())},
        {{4, 5, 6, 7}, row(groupD(), groupDDensityField())},
        {{4, 5, 6}, row(prefix("KT-74") || prefix("KT-9100X"), kt74DensityField())},
    };
}

} // namespace

const SwitchTable &softSwitch3Table()
{
    static const SwitchTable table
        = makeTable(ownBitMarking(),
                    {bit1(), bit2(), bit3(), bit4(), bit5(), bit6(), bit7(), bit8()}, fieldRules());
    return table;
}

} // namespace kt::catalogue::tables
