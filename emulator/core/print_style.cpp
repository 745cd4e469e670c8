#include "print_style.h"

#include <algorithm>

#include "code_pages.h"

namespace kt::emu {
namespace {

// ESC ! bits.
constexpr int kModeSmallFont = 0x01, kModeEmphasis = 0x08, kModeDoubleHeight = 0x10,
              kModeDoubleWidth = 0x20, kModeUnderline = 0x80;

// Parameters that take 0/1 or the digits '0'/'1' alike.
int digit(int value) { return value >= '0' && value <= '9' ? value - '0' : value; }

std::string onOff(const char *what, int value)
{
    return std::string(what) + (value & 1 ? " on" : " off");
}

std::string dots(const char *what, int value)
{
    return std::string(what) + " " + std::to_string(value) + " dots";
}

} // namespace

int CharStyle::advance() const
{
    const int across = rotated ? cellHeight() : cellWidth();
    return (across + spacing) * widthScale;
}

int CharStyle::height() const { return (rotated ? cellWidth() : cellHeight()) * heightScale; }

CharStyle PrintStyle::charStyle() const
{
    CharStyle c;
    c.smallFont = smallFont;
    c.emphasis = emphasis || doubleStrike;
    c.reverse = reverse;
    c.rotated = rotated;
    c.underline = rotated ? 0 : underline; // the family draws no underline on turned text
    c.widthScale = widthScale;
    c.heightScale = heightScale;
    c.spacing = spacing;
    return c;
}

std::string applySetting(PrintStyle &s, Setting setting, int value)
{
    switch (setting) {
    case Setting::PrintMode:
        s.printMode = static_cast<std::uint8_t>(value);
        s.smallFont = value & kModeSmallFont;
        s.emphasis = value & kModeEmphasis;
        s.heightScale = value & kModeDoubleHeight ? 2 : 1;
        s.widthScale = value & kModeDoubleWidth ? 2 : 1;
        s.underline = value & kModeUnderline ? 1 : 0;
        return {};
    case Setting::Justification: {
        const int n = digit(value);
        if (n > 2)
            return "justification " + std::to_string(value) + " is not 0 to 2: kept";
        s.justify = static_cast<Justify>(n);
        return {};
    }
    case Setting::Emphasis: s.emphasis = value & 1; return {};
    case Setting::DoubleStrike: s.doubleStrike = value & 1; return {};
    case Setting::Underline: {
        const int n = digit(value);
        if (n > 2)
            return "underline " + std::to_string(value) + " is not 0 to 2: kept";
        s.underline = static_cast<std::uint8_t>(n);
        return {};
    }
    case Setting::Reverse: s.reverse = value & 1; return {};
    case Setting::CharacterSize: {
        const int w = (value >> 4) + 1, h = (value & 0x0F) + 1;
        if (w > 8 || h > 8)
            return "character size " + std::to_string(value) + " is out of range: kept";
        s.widthScale = static_cast<std::uint8_t>(w);
        s.heightScale = static_cast<std::uint8_t>(h);
        return {};
    }
    case Setting::UpsideDown: s.upsideDown = value & 1; return {};
    case Setting::Rotation: {
        const int n = digit(value);
        if (n > 2)
            return "rotation " + std::to_string(value) + " is not 0 to 2: kept";
        s.rotated = n != 0;
        return {};
    }
    case Setting::Font: {
        const int n = digit(value);
        if (n > 1)
            return "font " + std::to_string(value) + " is not available: kept";
        s.smallFont = n == 1;
        return {};
    }
    case Setting::CharacterSpacing: s.spacing = static_cast<std::uint8_t>(value); return {};
    case Setting::LineSpacing: s.lineSpacing = value; return {};
    case Setting::DefaultSpacing: s.lineSpacing = PrintStyle::kDefaultLineSpacing; return {};
    case Setting::LeftMargin: s.leftMargin = value; return {};
    case Setting::PrintWidth: s.printWidth = value; return {};
    case Setting::AbsolutePosition:
    case Setting::RelativePosition: return {};
    case Setting::CodePage:
        if (!findCodePage(value))
            return "no code page " + std::to_string(value) + ": the code page is kept";
        s.codePage = value;
        return {};
    case Setting::International:
        if (!findInternationalSet(value))
            return "no international character set " + std::to_string(value) + ": kept";
        s.international = value;
        return {};
    case Setting::BarcodeHeight:
        if (value < 1)
            return "barcode height 0: kept";
        s.barcodeHeight = value;
        return {};
    case Setting::BarcodeWidth:
        if (value < 1 || value > 6)
            return "module width " + std::to_string(value) + " is not 1 to 6: kept";
        s.barcodeWidth = value;
        return {};
    case Setting::HriPosition: {
        const int n = digit(value);
        if (n > 3)
            return "HRI position " + std::to_string(value) + " is not 0 to 3: kept";
        s.hriPosition = n;
        return {};
    }
    case Setting::HriFont: s.hriSmallFont = digit(value) == 1; return {};
    }
    return {};
}

std::string describeSetting(Setting setting, int value)
{
    static const char *const justify[] = {"left", "centre", "right"};
    static const char *const underline[] = {"underline off", "underline 1 dot", "underline 2 dots"};
    static const char *const hri[] = {"no HRI", "HRI above", "HRI below", "HRI above and below"};
    const int n = digit(value);
    switch (setting) {
    case Setting::PrintMode: return "select print mode";
    case Setting::Justification: return n <= 2 ? justify[n] : "justification";
    case Setting::Emphasis: return onOff("emphasis", value);
    case Setting::DoubleStrike: return onOff("double strike", value);
    case Setting::Underline: return n <= 2 ? underline[n] : "underline";
    case Setting::Reverse: return onOff("reverse", value);
    case Setting::CharacterSize:
        return "width " + std::to_string((value >> 4) + 1) + " height "
            + std::to_string((value & 0x0F) + 1);
    case Setting::UpsideDown: return onOff("upside down", value);
    case Setting::Rotation: return n ? "rotated 90 degrees" : "not rotated";
    case Setting::Font: return n == 1 ? "font B" : n == 0 ? "font A" : "font";
    case Setting::CharacterSpacing: return dots("character spacing", value);
    case Setting::LineSpacing: return dots("line spacing", value);
    case Setting::DefaultSpacing: return "default line spacing";
    case Setting::LeftMargin: return dots("left margin", value);
    case Setting::PrintWidth: return dots("print area width", value);
    case Setting::AbsolutePosition: return dots("absolute position", value);
    case Setting::RelativePosition: return dots("relative position", value);
    case Setting::CodePage: return "select character code table";
    case Setting::International: {
        const auto *set = findInternationalSet(value);
        return "international set " + (set ? std::string(set->name) : std::to_string(value));
    }
    case Setting::BarcodeHeight: return dots("barcode height", value);
    case Setting::BarcodeWidth: return dots("module width", value);
    case Setting::HriPosition: return n <= 3 ? hri[n] : "HRI position";
    case Setting::HriFont: return n == 1 ? "HRI font B" : "HRI font A";
    }
    return {};
}

} // namespace kt::emu
