// The print settings a client changes with the one-value commands (ESC a,
// ESC E, GS !, GS L, GS h, ...): how characters look, where a line sits on
// the paper and how barcodes are drawn. ESC @ brings them all back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kt::emu {

enum class Setting : std::uint8_t {
    PrintMode,        // ESC ! n
    Justification,    // ESC a n
    Emphasis,         // ESC E n
    DoubleStrike,     // ESC G n
    Underline,        // ESC - n
    Reverse,          // GS B n
    CharacterSize,    // GS ! n
    UpsideDown,       // ESC { n
    Rotation,         // ESC V n
    Font,             // ESC M n
    CharacterSpacing, // ESC SP n
    LineSpacing,      // ESC 3 n
    DefaultSpacing,   // ESC 2
    LeftMargin,       // GS L nL nH
    PrintWidth,       // GS W nL nH
    AbsolutePosition, // ESC $ nL nH
    RelativePosition, // ESC \ nL nH
    CodePage,         // ESC t n
    International,    // ESC R n
    BarcodeHeight,    // GS h n
    BarcodeWidth,     // GS w n
    HriPosition,      // GS H n
    HriFont,          // GS f n
};

enum class Justify : std::uint8_t { Left, Centre, Right };

// How one character is drawn; kept with each character of a line.
struct CharStyle {
    bool smallFont = false;                       // 8x16 cells instead of 12x24
    bool emphasis = false;                        // emphasised or double-struck: each dot one wider
    bool reverse = false;                         // white on black
    bool rotated = false;                         // turned 90 degrees clockwise
    std::uint8_t underline = 0;                   // dots thick: 0, 1 or 2
    std::uint8_t widthScale = 1, heightScale = 1; // 1 to 8
    std::uint8_t spacing = 0; // blank dots right of the character, before scaling

    int cellWidth() const { return smallFont ? 8 : 12; }
    int cellHeight() const { return smallFont ? 16 : 24; }
    // The dots the character takes on the line, across and down.
    int advance() const;
    int height() const;
    bool operator==(const CharStyle &) const = default;
};

struct PrintStyle {
    static constexpr int kDefaultLineSpacing = 30;
    static constexpr int kDefaultTabColumns = 8;

    std::uint8_t printMode = 0; // ESC ! as last given
    bool emphasis = false;
    bool doubleStrike = false;
    std::uint8_t underline = 0;
    bool reverse = false;
    std::uint8_t widthScale = 1, heightScale = 1;
    bool smallFont = false;
    bool upsideDown = false;
    bool rotated = false;
    std::uint8_t spacing = 0;
    Justify justify = Justify::Left;
    int lineSpacing = kDefaultLineSpacing;
    int leftMargin = 0;
    int printWidth = 0; // 0: to the right edge of the paper
    int codePage = 0;
    int international = 0;
    std::vector<int> tabStops; // columns of the current font; empty: every 8
    int barcodeHeight = 162;
    int barcodeWidth = 3;
    int hriPosition = 0; // 0 none, 1 above, 2 below, 3 both
    bool hriSmallFont = false;

    CharStyle charStyle() const;
};

// Applies a setting; gives what the printer did with a value it cannot
// take ("" when it was taken as it stands). Positions are applied by the
// paper, not here.
std::string applySetting(PrintStyle &style, Setting setting, int value);

// "centre", "emphasis on", "width 2 height 1": the meaning of a value.
std::string describeSetting(Setting setting, int value);

} // namespace kt::emu
