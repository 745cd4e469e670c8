#include "paper_roll.h"

#include <algorithm>

#include "bitmap_font.h"
#include "code_pages.h"
#include "glyphs.h"

namespace kt::emu {
namespace {

constexpr int kLineGap = 6;    // dots between text lines
constexpr int kCutMargin = 12; // blank rows on each side of a cut line
constexpr int kDash = 8;       // dash and gap length of the cut line
constexpr unsigned char kTab = 0x09;

} // namespace

bool PaperImage::dot(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    return bits[static_cast<std::size_t>(y * stride() + x / 8)] & (0x80 >> (x % 8));
}

PaperImage PaperImage::rows(int top, int bottom) const
{
    PaperImage out;
    out.width = width;
    top = std::clamp(top, 0, height);
    bottom = std::clamp(bottom, top, height);
    out.height = bottom - top;
    out.bits.assign(bits.begin() + static_cast<std::ptrdiff_t>(top * stride()),
                    bits.begin() + static_cast<std::ptrdiff_t>(bottom * stride()));
    return out;
}

PaperRoll::PaperRoll(int widthDots, int maxRows, std::filesystem::path fontFile)
    : maxRows_(maxRows), fontFile_(std::move(fontFile))
{
    image_.width = widthDots;
}

const BitmapFont *PaperRoll::font()
{
    if (!fontLooked_) {
        fontLooked_ = true;
        font_ = BitmapFont::shared(fontFile_);
    }
    return font_;
}

int PaperRoll::cellWidth(std::uint8_t mode)
{
    const int w = mode & printmode::SmallFont ? 8 : 12;
    return mode & printmode::DoubleWidth ? 2 * w : w;
}

int PaperRoll::cellHeight(std::uint8_t mode)
{
    const int h = mode & printmode::SmallFont ? 16 : 24;
    return mode & printmode::DoubleHeight ? 2 * h : h;
}

int PaperRoll::lineWidth() const
{
    int w = 0;
    for (const auto &c : line_)
        w += cellWidth(c.mode);
    return w;
}

bool PaperRoll::lineIsBlank() const
{
    return std::all_of(line_.begin(), line_.end(),
                       [](const Cell &c) { return c.code == ' ' || c.code == kTab; });
}

int PaperRoll::addText(std::string_view text, std::uint8_t mode, int codePage)
{
    int printed = 0;
    for (unsigned char byte : text) {
        if (!line_.empty() && lineWidth() + cellWidth(mode) > image_.width) {
            printLine();
            ++printed;
        }
        const char32_t code = byte == kTab ? U' ' : codePageCharacter(codePage, byte).value_or(0);
        line_.push_back({code, mode});
    }
    return printed;
}

int PaperRoll::addRows(int rows)
{
    const int first = image_.height;
    const int added = std::max(0, std::min(rows, maxRows_ - image_.height));
    image_.height += added;
    image_.bits.resize(static_cast<std::size_t>(image_.height * image_.stride()), 0);
    return first;
}

void PaperRoll::set(int x, int y)
{
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height)
        return;
    image_.bits[static_cast<std::size_t>(y * image_.stride() + x / 8)]
        |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

// A glyph of the font fills its cell, each dot of the cell taking the
// nearest dot of the glyph: 8 x 16 dots in the 8x16 font, scaled to 12 x 24
// in the 12x24 font, doubled again for double width or height.
void PaperRoll::drawCell(const Cell &cell, int left, int baseline)
{
    const int width = cellWidth(cell.mode), height = cellHeight(cell.mode);
    const int top = baseline - height;
    const BitmapFont *f = font();
    const Glyph *glyph = f ? f->glyph(cell.code) : nullptr;
    if (!glyph) {
        drawBuiltIn(cell, left, top); // a hollow box for a character the font lacks
    } else {
        const int bold = cell.mode & printmode::Emphasis ? 1 : 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (glyph->dot(x * glyph->width / width, y * BitmapFont::kHeight / height))
                    for (int b = 0; b <= bold; ++b)
                        set(left + x + b, top + y);
    }
    if (cell.mode & printmode::Underline)
        for (int x = left; x < left + width; ++x)
            set(x, baseline - 1);
}

// The 5 x 7 shape is scaled to fill most of the cell: 1 x 2 in the 8x16
// font, 2 x 3 in the 12x24 font, doubled again for double width/height.
void PaperRoll::drawBuiltIn(const Cell &cell, int left, int top)
{
    const bool small = cell.mode & printmode::SmallFont;
    const int sx = (small ? 1 : 2) * (cell.mode & printmode::DoubleWidth ? 2 : 1);
    const int sy = (small ? 2 : 3) * (cell.mode & printmode::DoubleHeight ? 2 : 1);
    const int x0 = left + (cellWidth(cell.mode) - kGlyphWidth * sx) / 2;
    const int y0 = top + (cellHeight(cell.mode) - kGlyphHeight * sy) / 2;
    const auto rows = glyphRows(cell.code < 0x7F ? static_cast<unsigned char>(cell.code) : 0x7F);
    const int bold = cell.mode & printmode::Emphasis ? 1 : 0;
    for (int r = 0; r < kGlyphHeight; ++r)
        for (int c = 0; c < kGlyphWidth; ++c) {
            if (!(rows[static_cast<std::size_t>(r)] & (1 << (kGlyphWidth - 1 - c))))
                continue;
            for (int dy = 0; dy < sy; ++dy)
                for (int dx = 0; dx < sx + bold; ++dx)
                    set(x0 + c * sx + dx, y0 + r * sy + dy);
        }
}

void PaperRoll::printLine()
{
    int height = cellHeight(0);
    for (const auto &c : line_)
        height = std::max(height, cellHeight(c.mode));
    const int top = addRows(height + kLineGap);
    // Past the end of the roll nothing is drawn: the line is lost.
    if (top >= image_.height) {
        line_.clear();
        return;
    }
    int x = 0;
    for (const auto &c : line_) {
        drawCell(c, x, top + height);
        x += cellWidth(c.mode);
    }
    line_.clear();
}

void PaperRoll::feed(int rows) { addRows(rows); }

void PaperRoll::printImage(const NvImage &img, int scaleX, int scaleY)
{
    if (img.data.size() != std::size_t{img.nx} * img.ny * 8)
        return;
    const int columns = img.nx * 8;
    const int top = addRows(img.ny * 8 * scaleY);
    // Only the dot rows that fit on the roll are drawn.
    const int fitting = (image_.height - top + scaleY - 1) / scaleY;
    for (int c = 0; c < columns; ++c)
        for (int k = 0; k < img.ny && k * 8 < fitting; ++k) {
            const std::uint8_t b = img.data[static_cast<std::size_t>(c * img.ny + k)];
            for (int l = 0; l < 8; ++l) {
                if (!(b & (0x80 >> l)))
                    continue;
                for (int dy = 0; dy < scaleY; ++dy)
                    for (int dx = 0; dx < scaleX; ++dx)
                        set(c * scaleX + dx, top + (k * 8 + l) * scaleY + dy);
            }
        }
}

int PaperRoll::cut()
{
    const int row = addRows(2 * kCutMargin + 2) + kCutMargin;
    if (row >= image_.height)
        return image_.height;
    for (int x = 0; x < image_.width; ++x)
        if ((x / kDash) % 2 == 0) {
            set(x, row);
            set(x, row + 1);
        }
    image_.cutRows.push_back(row);
    return row;
}

} // namespace kt::emu
