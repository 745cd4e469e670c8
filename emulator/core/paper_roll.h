// The paper roll: text lines, images, barcodes and cuts laid down as dot
// rows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "dot_matrix.h"
#include "print_style.h"

namespace kt::emu {

// A printed roll, one bit per dot: bit 7 of the first byte of a row is its
// leftmost dot, a 1 bit is a printed dot.
struct PaperImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;
    std::vector<int> cutRows; // the dot row of each cut line

    int stride() const { return (width + 7) / 8; }
    bool dot(int x, int y) const;
    // The rows from `top` up to `bottom` (clamped to the roll), without cuts.
    PaperImage rows(int top, int bottom) const;
};

// ESC ! bits, for text printed by the printer itself (the self-test page).
namespace printmode {
constexpr std::uint8_t SmallFont = 0x01; // 8x16 cells instead of 12x24
constexpr std::uint8_t Emphasis = 0x08;
constexpr std::uint8_t DoubleHeight = 0x10;
constexpr std::uint8_t DoubleWidth = 0x20;
constexpr std::uint8_t Underline = 0x80;
} // namespace printmode

// Where lines go across the paper and how far each one feeds.
struct LineLayout {
    int left = 0;  // left margin, dots
    int width = 0; // print area from the margin; 0 or too wide: to the paper's edge
    Justify justify = Justify::Left;
    int spacing = PrintStyle::kDefaultLineSpacing; // the least a line feeds
    bool upsideDown = false;                       // each line turned 180 degrees
    std::vector<int> tabColumns;                   // empty: every 8 characters
};

class BitmapFont;

class PaperRoll {
public:
    // maxRows bounds the roll; what is printed past it is lost (paper out).
    // Text is drawn with the bitmap font of `fontFile`, loaded when first
    // needed; without it ASCII gets a small built-in font and anything else
    // a hollow box.
    PaperRoll(int widthDots, int maxRows, std::filesystem::path fontFile);

    // Applies to the lines printed from now on, the one being composed too.
    void setLayout(LineLayout layout) { layout_ = std::move(layout); }

    // Adds text to the line being composed, bytes from 80 up as characters
    // of `codePage`, some ASCII ones replaced by the `international` set; a
    // line that reaches the end of the print area is printed and the text
    // goes on in the next. Returns the lines printed that way.
    int addText(std::string_view text, const CharStyle &style, int codePage, int international);
    // Text in ESC ! print mode bits.
    int addText(std::string_view text, std::uint8_t mode, int codePage = 0);
    // An ESC * image, placed on the line like a character.
    int addImage(DotMatrix image);
    // Moves the next character to `x` dots from the print area's start
    // when that is right of where it would go; false when it is not.
    bool moveTo(int x);
    // How far the composed line reaches into the print area.
    int position() const { return lineWidth_; }
    // Prints the composed line (an empty one feeds one line).
    void printLine();
    // Drops the composed line unprinted.
    void discardLine();
    bool lineIsBlank() const;
    bool lineIsEmpty() const { return line_.empty(); }

    void feed(int rows);
    // Prints an image at the left margin, each dot scaled (FS p modes).
    void printImage(const NvImage &image, int scaleX, int scaleY);
    // Prints a block (barcode, raster image) on rows of its own, placed in
    // the print area as the justification says. One wider than the print
    // area is cut off at its right edge with `clip`, else not printed
    // (false).
    bool printBlock(const DotMatrix &block, bool clip);
    // Text drawn on a block of its own, as wide as its characters.
    DotMatrix textBlock(std::string_view text, const CharStyle &style);
    // A dashed cut line with a margin on each side; gives its row (the
    // roll's height when it no longer fits).
    int cut();

    int areaWidth() const;
    bool full() const { return image_.height >= maxRows_; }
    const PaperImage &image() const { return image_; }

private:
    struct Item {
        enum Kind : std::uint8_t { Character, Blank, Image };
        Kind kind;
        int width;
        char32_t code = 0; // 0: a byte without a character in its code page
        CharStyle style;
        int image = -1; // index into images_
    };
    static Item blank(int width);
    // Prints the line first when `width` more dots would not fit on it.
    void makeRoomFor(int width);
    void add(Item item);
    int lineHeight() const;
    int areaLeft() const { return std::min(layout_.left, image_.width); }
    // Where content of that width starts under the justification.
    int alignedLeft(int contentWidth) const;
    int nextTab(const CharStyle &style) const;
    // Appends rows of blank paper (as far as the roll allows); returns the
    // index of the first new row.
    int addRows(int rows);
    void set(int x, int y);
    // Lays `canvas` on new rows of the roll, turned 180 degrees for an
    // upside-down layout.
    void lay(const DotMatrix &canvas);
    void drawCell(DotMatrix &canvas, const Item &cell, int left, int baseline);
    // The character's dots at `width` x `height`, upright.
    DotMatrix glyphDots(const Item &cell, int width, int height);
    const BitmapFont *font();

    int maxRows_;
    std::filesystem::path fontFile_;
    const BitmapFont *font_ = nullptr;
    bool fontLooked_ = false;
    PaperImage image_;
    LineLayout layout_;
    std::vector<Item> line_;
    std::vector<DotMatrix> images_; // the ESC * images of the line
    int lineWidth_ = 0;
    int printedInLine_ = 0; // lines printed by wrapping during one add
};

} // namespace kt::emu
