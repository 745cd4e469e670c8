// Soft switch 1: communication, cutter, paper and interface settings.
#include "catalogue/caption_engine.h"

namespace kt::catalogue::tables {
namespace {

// Bits 1-2: USB class or serial baud rate, always on the label of bit 1.
// The baud-rate texts are padded to 18 characters: Write Settings reads the
// new rate from the last six.
DecisionList bits1And2()
{
    const auto field = [](Caption offOff, Caption offOn, Caption onOff, Caption onOn) {
        return twoBitField(0, 1, 0, offOff, offOn, onOff, onOn);
    };
    return {
        row(exact("TW86_USB"),
            field("USB Class = Virtual COM", "(Jumper-J1 2-3 Short=True USB)",
                  "(Jumper-J1 2-3 Short=True USB)", "(Jumper-J1 2-3 Short=True USB)")),
        row(exact("KT1401") || exact("TW8_USB"),
            field("USB Class = USB Printer ", "Unknown ", "Unknown ", "USB Class = Virtual COM ")),
        row(prefix("MV55"),
            field("USB Class = WIFI", "Unknown ", "USB Class = USB Printer ",
                  "USB Class = Virtual COM ")),
        row(prefix("KT-91") || prefix("KT-74"),
            field("Baud Rate = 115200", "Baud Rate = 19200 ", "Baud Rate = 9600  ",
                  "Baud Rate = 38400 ")),
        row(anyOtherModel(),
            field("Baud Rate = 19200 ", "Baud Rate = 115200", "Baud Rate = 9600  ",
                  "Baud Rate = 38400 ")),
    };
}

DecisionList bit3()
{
    const auto paperFieldModels = anyOf({exact("KT-7700"), exact("KT-4000"), prefix("KT-14")});
    return {
        row(exact("KT-9100X") || exact("KT-7400"), "Reserve", "Reserve"),
        row(exact("KT-9100"), "Interface = Default(Daughter Board)", "Interface = Onboard"),
        row(exact("MV8") || prefix("MV55"), "Printable width = 512 Dots",
            "Printable width = 576 Dots"),
        row(!paperFieldModels, "Cut Paper When cover closed", "Don't cut paper when cover closed"),
        row(paperFieldModels, kNoCaption, kNoCaption),
    };
}

DecisionList bit4()
{
    const auto excluded = anyOf(
        {exact("KT-7700"), exact("KT-4000"), prefix("KT-14"), exact("KT-7400"), exact("KT-9100X")});
    return {
        row(exact("KT-9100"), "Onboard Interface = USB", "Onboard Interface = Serial"),
        row(exact("MV8") || prefix("MV55"), "Paper width = 80mm", "Paper width = 58mm"),
        row(!excluded, "Partial cut paper.", "Full cut paper"),
        row(excluded, kNoCaption, kNoCaption),
    };
}

DecisionList bit5()
{
    const auto excluded = anyOf(
        {exact("KT-7700"), exact("KT-4000"), prefix("KT-14"), prefix("KT-74"), prefix("KT-9100X")});
    return {
        row(exact("KT-9100"), "USB Class = Printer Class", "USB Class = CDC(VCOM)"),
        row(exact("MV8") || prefix("MV55"), "Print Speed = 170mm", "Print Speed = 200mm"),
        row(!excluded, "Busy condition = When buffer full or off line",
            "Busy condition = When buffer full"),
        row(excluded, kNoCaption, kNoCaption),
    };
}

DecisionList bit6()
{
    return {
        row(exact("KT-9100"), "Printable width = 512 dots", "Printable width = 576 dots"),
        row(anyOf({exact("KT-7700"), exact("KT-4000"), prefix("KT-14"), prefix("MV8"),
                   prefix("MV55")}),
            "Interface = DEFAULT", "Interface = USB"),
        row(prefix("KT-74") || prefix("KT-9100X"), "USB Class = Printer Class",
            "USB Class = CDC(VCOM)"),
        row(anyOtherModel(), "Paper Feed before cut paper = Enabled",
            "Paper Feed before cut paper = Disabled"),
    };
}

DecisionList bit7()
{
    return {
        row(exact("KT-9100"), "Paper width = 80mm", "Paper width = 58mm"),
        row(prefix("KT-74") || prefix("KT-9100X"), "Printable width = 512 dots",
            "Printable width = 576 dots"),
        row(anyOtherModel(), "With Auto Cutter", "Without Auto Cutter"),
    };
}

DecisionList bit8()
{
    return {
        row(exact("KT-9100"), "Auto cutter = Enable", "Auto cutter = Disable"),
        row(anyOf({exact("KT-7700"), exact("KT-4000"), prefix("KT-14")}),
            "Firmware update Mode = Enabled", "Firmware update Mode = Disabled"),
        row(prefix("MV55"), "Auto Cutter = Enable", "Auto Cutter = Disable"),
        row(prefix("KT-74") || prefix("KT-9100X"), "Paper width = 80mm", "Paper width = 58mm"),
        row(anyOf({exact("MV8"), exact("KT1401"), exact("TW8_USB")}), "Reserved", "Reserved"),
        row(exact("TW86_USB"), "USB_ZERO_PACKET", "USB_NAK_PACKET"),
        row(anyOtherModel(), "Paper Feed Backward before print = Enabled",
            "Paper Feed Backward before print = Disabled"),
    };
}

// "KT-4000": bits 3-5 are one paper field, written to the label of the
// index described, so a full display shows it on all three labels.
Field kt4000PaperField()
{
    return {{2, 3, 4},
            kThisIndex,
            {
                {{OFF, OFF, OFF}, "Paper width & printable width = 80mm, 512dots"},
                {{ON, OFF, OFF}, "Paper width & printable width = 80mm, 576dots"},
                {{OFF, ON, OFF}, "Paper width & printable width = 58mm, 424dots"},
                {{ON, ON, OFF}, "Paper width & printable width = 58mm, 432dots"},
                {{OFF, OFF, ON}, "Paper width & printable width = 83mm, 512dots"},
                {{ON, OFF, ON}, "Paper width & printable width = 83mm, 576dots"},
                {{OFF, ON, ON}, "Paper width & printable width = 83mm, 640dots"},
                {{ON, ON, ON}, "Paper width & printable width = 83mm, 640dots"},
            }};
}

// "KT-7700" and KT-14: bits 3-4 are the paper field, on the labels of bits 3 and 4.
Field paperField34()
{
    return twoBitField(2, 3, kThisIndex, "Paper width & printable width = 80mm, 512dots",
                       "Paper width & printable width = 58mm, 424dots",
                       "Paper width & printable width = 80mm, 576dots", kNoCaption);
}

// KT-74 and KT-9100X: bits 4-5 are the onboard interface, on the label of bit 4.
Field onboardInterfaceField()
{
    return twoBitField(3, 4, 3, "Onboard Interface = USB", "Onboard Interface = Serial",
                       "Onboard Interface = Ethernet", kNoCaption);
}

SwitchTable build()
{
    // Either bit of the bits 1-2 field marks both.
    BoldMarking marking = ownBitMarking();
    marking[0] = marking[1] = {0, 1};
    const DecisionList baudOrUsb = bits1And2();
    const auto kt14 = prefix("KT-14");
    return makeTable(
        marking, {baudOrUsb, baudOrUsb, bit3(), bit4(), bit5(), bit6(), bit7(), bit8()},
        {
            {{2, 3, 4}, row(exact("KT-4000"), kt4000PaperField())},
            {{2, 3}, row(exact("KT-7700"), paperField34())},
            {{4}, row(exact("KT-7700"), "Print speed = 220mm/sec", "Print speed = 180mm/sec")},
            {{2, 3}, row(kt14, paperField34())},
            {{4}, row(kt14, "Print speed = 200mm/sec", "Print speed = 170mm/sec")},
            {{3, 4}, row(prefix("KT-74") || prefix("KT-9100X"), onboardInterfaceField())},
        });
}

} // namespace

const SwitchTable &softSwitch1Table()
{
    static const SwitchTable table = build();
    return table;
}

} // namespace kt::catalogue::tables
