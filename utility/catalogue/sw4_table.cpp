// Soft switch 4: three two-bit reduction fields (barcode height, line
// spacing, line feed) between one single bit at each end.
#include "catalogue/caption_engine.h"
#include "catalogue/model_groups.h"

namespace kt::catalogue::tables {
namespace {

const ModelCondition &reductionModels()
{
    static const ModelCondition c = groups::familyA() || groups::groupU();
    return c;
}

// The reduction field of bits first+1 and first+2, on the label of its
// first bit. As a two-bit value (first bit weighing 1, a bit 1 when OFF):
// 3 no reduction, 1 is 50%, 2 is 25%, 0 is 75%.
DecisionList reduction(int first, Caption offOff, Caption offOn, Caption onOff, Caption onOn)
{
    return {
        row(reductionModels(), twoBitField(first, first + 1, first, offOff, offOn, onOff, onOn)),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit1()
{
    return {
        row(groups::familyA(), "Beep sound after Cut paper = Disabled",
            "Beep sound after Cut paper = Enabled"),
        row(exact("KT1401") || exact("TW8_USB"), "Print Speed 120mm/s = Disabled",
            "Print Speed 120mm/s = Enabled"),
        row(exact("TW86_USB"), "Reserved", "Reserved"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit8()
{
    return {
        row(anyOf({exact("KT-7700"), exact("KT-4000"), prefix("KT-14"), prefix("MV8"),
                   prefix("MV55")}),
            "Switch 1 Selection = Hardware", "Switch 1 Selection = Software"),
        row(prefix("KT-91") || prefix("KT-74"), "USB_ZERO_PACKET", "USB_NAK_PACKET"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

SwitchTable build()
{
    // Both bits of a field mark the field's first bit; bits 3, 5 and 7 are
    // never marked.
    const BoldMarking marking = {{{0}, {1}, {1}, {3}, {3}, {5}, {5}, {7}}};
    const DecisionList barcode
        = reduction(1, "Barcode Height Reduction = Disabled", "Barcode Height Reduction = 50%",
                    "Barcode Height Reduction = 25%", "Barcode Height Reduction = 75%");
    const DecisionList lineSpace
        = reduction(3, "Line Space Reduction = Disabled", "Line Space Reduction = 50%",
                    "Line Space Reduction = 25%", "Line Space Reduction = 75%");
    const DecisionList lineFeed
        = reduction(5, "Line Feed Reduction = Disabled", "Line Feed Reduction = 50%",
                    "Line Feed Reduction = 25%", "Line Feed Reduction = 75%");
    return makeTable(marking,
                     {bit1(), barcode, barcode, lineSpace, lineSpace, lineFeed, lineFeed, bit8()});
}

} // namespace

const SwitchTable &softSwitch4Table()
{
    static const SwitchTable table = build();
    return table;
}

} // namespace kt::catalogue::tables
