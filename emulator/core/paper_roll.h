// The paper roll: text lines, NV images and cuts laid down as dot rows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

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

// ESC ! bits the renderer follows.
namespace printmode {
constexpr std::uint8_t SmallFont = 0x01; // 8x16 cells instead of 12x24
constexpr std::uint8_t Emphasis = 0x08;
constexpr std::uint8_t DoubleHeight = 0x10;
constexpr std::uint8_t DoubleWidth = 0x20;
constexpr std::uint8_t Underline = 0x80;
} // namespace printmode

class BitmapFont;

class PaperRoll {
public:
    // maxRows bounds the roll; what is printed past it is lost (paper out).
    // Text is drawn with the bitmap font of `fontFile`, loaded when first
    // needed; without it ASCII gets a small built-in font and anything else
    // a hollow box.
    PaperRoll(int widthDots, int maxRows, std::filesystem::path fontFile);

    // Adds text to the line being composed, bytes from 80 up as characters
    // of `codePage`; a line that reaches the paper width is printed and the
    // text goes on in the next. Returns the lines printed that way.
    int addText(std::string_view text, std::uint8_t mode, int codePage = 0);
    // Prints the composed line (an empty one feeds one text line).
    void printLine();
    // Drops the composed line unprinted.
    void discardLine() { line_.clear(); }
    bool lineIsBlank() const;
    bool lineIsEmpty() const { return line_.empty(); }

    void feed(int rows);
    // Prints an image at the left margin, each dot scaled (FS p modes).
    void printImage(const NvImage &image, int scaleX, int scaleY);
    // A dashed cut line with a margin on each side; gives its row (the
    // roll's height when it no longer fits).
    int cut();

    bool full() const { return image_.height >= maxRows_; }
    const PaperImage &image() const { return image_; }

private:
    struct Cell {
        char32_t code; // 0: a byte without a character in its code page
        std::uint8_t mode;
    };
    static int cellWidth(std::uint8_t mode);
    static int cellHeight(std::uint8_t mode);
    int lineWidth() const;
    // Appends rows of blank paper (as far as the roll allows); returns the
    // index of the first new row.
    int addRows(int rows);
    void set(int x, int y);
    void drawCell(const Cell &cell, int left, int baseline);
    // The built-in 5 x 8 shapes, for a roll without its font.
    void drawBuiltIn(const Cell &cell, int left, int top);
    const BitmapFont *font();

    int maxRows_;
    std::filesystem::path fontFile_;
    const BitmapFont *font_ = nullptr;
    bool fontLooked_ = false;
    PaperImage image_;
    std::vector<Cell> line_;
};

} // namespace kt::emu
