// Soft switch 2: paper feed, cutter and the serial line settings. Family A
// has the serial settings one bit higher than the other models.
#include "catalogue/caption_engine.h"
#include "catalogue/model_groups.h"

namespace kt::catalogue::tables {
namespace {

// "KT-1700": bits 1-2 are the print density, on the label of bit 1.
Field kt1700DensityField()
{
    return twoBitField(0, 1, 0, "Print Density = NORMAL", "Unknown", "Print Density =HIGH QUALITY",
                       "Print Density = LIGHT");
}

// "TW86_USB": bits 6-7 are the printing speed, on the label of bit 7.
Field tw86SpeedField()
{
    return twoBitField(5, 6, 6, "Printing Speed = 220mm", "Printing Speed = 180mm",
                       "Printing Speed = 200mm", "Printing Speed = 250mm");
}

const ModelCondition &zn5OrZn()
{
    static const ModelCondition c = exact("ZN5-PRINTER") || exact("ZN-PRINTER");
    return c;
}

DecisionList bit1()
{
    return {
        row(anyOf({exact("KT-4000"), prefix("KT-91"), prefix("KT-74")}),
            "Paper Feed Back = Disabled", "Paper Feed Back = Enabled"),
        row(anyOf({prefix("KT-14"), prefix("MV8"), prefix("MV55")}), "Paper Feed Back = Enabled",
            "Paper Feed Back = Disabled"),
        row(exact("KT-7700"), "Reserved", "Reserved"),
        row(exact("KT-1700"), kt1700DensityField()),
        row(groups::znModels() || exact("KT1401") || exact("TW8_USB"), "Hardware Switch1 = Valid",
            "Hardware Switch1 = Invalid\r\n(Software switch instead of hardware switch)"),
        row(exact("TW86_USB"), "Reserved", "Reserved"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit2()
{
    return {
        row(anyOf({exact("KT-7700"), exact("KT-4000"), prefix("KT-14"), prefix("MV8"),
                   prefix("MV55"), prefix("KT-74"), prefix("KT-9100X")}),
            "Don't cut paper when cover closed", "Cut Paper When cover closed"),
        row(exact("KT-1700"), kt1700DensityField()),
        row(zn5OrZn(), "Fixed to OFF", "Unknown"),
        row(anyOf({exact("ZN8-PRINTER"), exact("KT1401"), exact("TW86_USB"), exact("TW8_USB"),
                   exact("ZN8-PRINTER-II")}),
            "80mm", "58mm"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit3()
{
    return {
        row(exact("KT-4000"), "Full Cut Paper = Enabled", "Full Cut Paper = Disabled"),
        row(exact("KT-7700"), "Reserved", "Reserved"),
        row(anyOf({prefix("KT-91"), prefix("KT-14"), prefix("MV8"), prefix("MV55")}),
            "Full Cut Paper = Disabled", "Full Cut Paper = Enabled"),
        row(prefix("KT-74"), "Raster bitmap print mode = Batch printing",
            "Raster bitmap print mode = Line printing"),
        row(exact("KT-1700"), "Don't cut paper when cover closed", "Cut Paper When cover closed"),
        row(zn5OrZn(), "Fixed to OFF", "Unknown"),
        row(anyOf({exact("KT1401"), exact("TW86_USB"), exact("TW8_USB"), exact("ZN8-PRINTER"),
                   exact("ZN8-PRINTER-II")}),
            "512dots", "576dots"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit4()
{
    return {
        row(groups::familyA(), "Paper Feed before cut paper = Enabled",
            "Paper Feed before cut paper = Disabled"),
        row(exact("KT-1700"), "Partial cut paper.", "Full cut paper"),
        row(zn5OrZn() || exact("ZN8-PRINTER"), "Fixed to OFF", "Unknown"),
        row(exact("ZN8-PRINTER-II"), "Print Density = NORMAL", "Print Density = HIGH QUALITY"),
        row(exact("KT1401") || exact("TW8_USB"), "Paper Feed Back = Enabled",
            "Paper Feed Back = Disabled"),
        row(exact("TW86_USB"), "Paper Feed Back = Disabled", "Paper Feed Back = Enabled"),
        row(anyOtherModel(), kNoCaption, kNoCaption),
    };
}

DecisionList bit5()
{
    return {
        row(groups::familyA(), "Busy condition = When buffer full or off line",
            "Busy condition = When buffer full"),
        row(anyOtherModel(), "Raster bitmap print mode = Batch printing",
            "Raster bitmap print mode = Line printing"),
    };
}

// Bits 6 to 8: family A (and "TW86_USB" at bits 6 and 7) leave the weight
// of these options as it was.
DecisionList bit6()
{
    return {
        unmarked(row(groups::familyA(), "<CR> Invalid", "<CR> Valid")),
        unmarked(row(exact("TW86_USB"), kNoCaption, kNoCaption)),
        row(anyOtherModel(), "Parity check = NONE", "Parity check = EVEN"),
    };
}

DecisionList bit7()
{
    return {
        unmarked(row(groups::familyA(), "Parity check = NONE", "Parity check = EVEN")),
        unmarked(row(exact("TW86_USB"), tw86SpeedField())),
        row(anyOtherModel(), "Handshaking = DTR/DSR", "Handshaking = XON/XOFF"),
    };
}

DecisionList bit8()
{
    return {
        unmarked(row(groups::familyA(), "Handshaking = DTR/DSR", "Handshaking = XON/XOFF")),
        row(anyOtherModel(), "<CR> Invalid", "<CR> Valid"),
    };
}

} // namespace

const SwitchTable &softSwitch2Table()
{
    static const SwitchTable table = makeTable(
        ownBitMarking(), {bit1(), bit2(), bit3(), bit4(), bit5(), bit6(), bit7(), bit8()});
    return table;
}

} // namespace kt::catalogue::tables
