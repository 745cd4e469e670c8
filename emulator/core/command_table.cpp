#include "command_table.h"

#include <array>

#include "print_style.h"

namespace kt::emu {
namespace {

using K = CommandKind;
using ctl::DLE, ctl::ESC, ctl::FS, ctl::GS;

constexpr int S(Setting s) { return static_cast<int>(s); }

constexpr TableCommand kCommands[] = {
    {ESC, '!', 1, K::SelectPrintMode, 0, "select print mode"},
    {ESC, '@', 0, K::Initialize, 0, "initialize printer"},
    {ESC, 'i', 0, K::Cut, 0, "full cut"},
    {ESC, 'm', 0, K::Cut, 1, "partial cut"},
    {ESC, 'd', 1, K::FeedLines, 0, "print and feed lines"},
    {ESC, 'J', 1, K::FeedDots, 0, "print and feed dots"},
    {ESC, 't', 1, K::SelectCodePage, 0, "select character code table"},
    {ESC, 'a', 1, K::Style, S(Setting::Justification), "select justification"},
    {ESC, 'E', 1, K::Style, S(Setting::Emphasis), "emphasis"},
    {ESC, 'G', 1, K::Style, S(Setting::DoubleStrike), "double strike"},
    {ESC, '-', 1, K::Style, S(Setting::Underline), "underline"},
    {ESC, '{', 1, K::Style, S(Setting::UpsideDown), "upside down"},
    {ESC, 'V', 1, K::Style, S(Setting::Rotation), "90 degree rotation"},
    {ESC, 'M', 1, K::Style, S(Setting::Font), "select character font"},
    {ESC, ' ', 1, K::Style, S(Setting::CharacterSpacing), "character spacing"},
    {ESC, '3', 1, K::Style, S(Setting::LineSpacing), "set line spacing"},
    {ESC, '2', 0, K::Style, S(Setting::DefaultSpacing), "default line spacing"},
    {ESC, '$', 2, K::Style, S(Setting::AbsolutePosition), "absolute print position"},
    {ESC, '\\', 2, K::Style, S(Setting::RelativePosition), "relative print position"},
    {ESC, 'R', 1, K::Style, S(Setting::International), "select international character set"},
    {ESC, 'p', 3, K::DrawerPulse, 0, "drawer pulse"},
    {ESC, '%', 1, K::Ignored, 0, "select user-defined character set"},
    {ESC, '?', 1, K::Ignored, 0, "cancel user-defined character"},
    {ESC, '=', 1, K::Ignored, 0, "select peripheral device"},
    {ESC, 'U', 1, K::Ignored, 0, "unidirectional printing"},
    {ESC, 'r', 1, K::Ignored, 0, "select print colour"},
    {ESC, 'c', 2, K::Ignored, 0, "panel button and paper sensor settings"},
    {ESC, 'e', 1, K::Ignored, 0, "print and reverse feed lines"},
    {ESC, 'L', 0, K::Ignored, 0, "select page mode"},
    {ESC, 'S', 0, K::Ignored, 0, "select standard mode"},
    {ESC, 'T', 1, K::Ignored, 0, "print direction in page mode"},
    {ESC, 'W', 8, K::Ignored, 0, "print area in page mode"},
    {GS, '!', 1, K::Style, S(Setting::CharacterSize), "select character size"},
    {GS, 'B', 1, K::Style, S(Setting::Reverse), "white/black reverse"},
    {GS, 'L', 2, K::Style, S(Setting::LeftMargin), "set left margin"},
    {GS, 'W', 2, K::Style, S(Setting::PrintWidth), "set print area width"},
    {GS, 'h', 1, K::Style, S(Setting::BarcodeHeight), "barcode height"},
    {GS, 'w', 1, K::Style, S(Setting::BarcodeWidth), "barcode module width"},
    {GS, 'H', 1, K::Style, S(Setting::HriPosition), "HRI position"},
    {GS, 'f', 1, K::Style, S(Setting::HriFont), "HRI font"},
    {GS, 'a', 1, K::AutoStatusBack, 0, "automatic status back"},
    {GS, 'r', 1, K::TransmitStatus, 0, "transmit status"},
    {GS, 'I', 1, K::ReadIdentity, 0, "read identity"},
    {GS, 'P', 2, K::Ignored, 0, "set motion units"},
    {GS, 'b', 1, K::Ignored, 0, "smoothing"},
    {GS, '/', 1, K::Ignored, 0, "print downloaded bit image"},
    {GS, ':', 0, K::Ignored, 0, "macro definition"},
    {GS, '^', 3, K::Ignored, 0, "execute macro"},
    {GS, '$', 2, K::Ignored, 0, "vertical position in page mode"},
    {GS, '\\', 2, K::Ignored, 0, "relative vertical position in page mode"},
    {GS, 'T', 1, K::Ignored, 0, "print position to the line start"},
    {FS, '!', 1, K::Ignored, 0, "Kanji print mode"},
    {FS, '&', 0, K::Ignored, 0, "select Kanji mode"},
    {FS, '.', 0, K::Ignored, 0, "cancel Kanji mode"},
    {FS, '-', 1, K::Ignored, 0, "Kanji underline"},
    {FS, 'C', 1, K::Ignored, 0, "select Kanji code system"},
    {FS, 'S', 2, K::Ignored, 0, "Kanji spacing"},
    {FS, 'W', 1, K::Ignored, 0, "Kanji quadruple size"},
    {DLE, ctl::ENQ, 1, K::Ignored, 0, "real-time request"},
};

constexpr int prefixIndex(std::uint8_t prefix)
{
    return prefix == ESC ? 0 : prefix == GS ? 1 : prefix == FS ? 2 : prefix == DLE ? 3 : -1;
}

// Prefix and code to 1 + the entry's index (0: none), made once at compile
// time so that a lookup costs one load.
using Index = std::array<std::array<std::uint8_t, 256>, 4>;
constexpr Index makeIndex()
{
    Index index{};
    for (std::size_t i = 0; i < std::size(kCommands); ++i)
        index[static_cast<std::size_t>(prefixIndex(kCommands[i].prefix))][kCommands[i].code]
            = static_cast<std::uint8_t>(i + 1);
    return index;
}
constexpr Index kIndex = makeIndex();
static_assert(std::size(kCommands) < 255);

const char *prefixName(std::uint8_t prefix)
{
    switch (prefix) {
    case ESC: return "ESC";
    case GS: return "GS";
    case FS: return "FS";
    case DLE: return "DLE";
    default: return "?";
    }
}

} // namespace

const TableCommand *findTableCommand(std::uint8_t prefix, std::uint8_t code)
{
    const int p = prefixIndex(prefix);
    if (p < 0)
        return nullptr;
    const int at = kIndex[static_cast<std::size_t>(p)][code];
    return at ? &kCommands[at - 1] : nullptr;
}

std::string mnemonic(std::uint8_t prefix, std::uint8_t code)
{
    std::string out = prefixName(prefix);
    out += ' ';
    if (code == ' ')
        out += "SP";
    else if (code == ctl::ENQ)
        out += "ENQ";
    else if (code == ctl::EOT)
        out += "EOT";
    else if (code == ctl::DC4)
        out += "DC4";
    else if (code > 0x20 && code < 0x7F)
        out += static_cast<char>(code);
    else
        out += std::to_string(code);
    return out;
}

} // namespace kt::emu
