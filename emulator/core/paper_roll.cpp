#include "paper_roll.h"

#include <algorithm>

#include "bitmap_font.h"
#include "code_pages.h"
#include "glyphs.h"

namespace kt::emu {
namespace {

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

int PaperRoll::areaWidth() const
{
    const int room = image_.width - areaLeft();
    return layout_.width > 0 ? std::min(layout_.width, room) : room;
}

int PaperRoll::alignedLeft(int contentWidth) const
{
    const int free = std::max(0, areaWidth() - contentWidth);
    switch (layout_.justify) {
    case Justify::Centre: return areaLeft() + free / 2;
    case Justify::Right: return areaLeft() + free;
    default: return areaLeft();
    }
}

bool PaperRoll::lineIsBlank() const
{
    return std::all_of(line_.begin(), line_.end(), [](const Item &i) {
        return i.kind == Item::Blank || (i.kind == Item::Character && i.code == ' ');
    });
}

void PaperRoll::discardLine()
{
    line_.clear();
    images_.clear();
    lineWidth_ = 0;
}

void PaperRoll::makeRoomFor(int width)
{
    if (!line_.empty() && lineWidth_ + width > areaWidth()) {
        printLine();
        ++printedInLine_;
    }
}

void PaperRoll::add(Item item)
{
    makeRoomFor(item.width);
    lineWidth_ += item.width;
    line_.push_back(item);
}

PaperRoll::Item PaperRoll::blank(int width)
{
    Item item{};
    item.kind = Item::Blank;
    item.width = width;
    return item;
}

int PaperRoll::nextTab(const CharStyle &style) const
{
    const int column = style.cellWidth() + style.spacing;
    if (layout_.tabColumns.empty()) {
        const int every = PrintStyle::kDefaultTabColumns * column;
        return (lineWidth_ / every + 1) * every;
    }
    for (int c : layout_.tabColumns)
        if (c * column > lineWidth_)
            return c * column;
    return -1;
}

int PaperRoll::addText(std::string_view text, const CharStyle &style, int codePage,
                       int international)
{
    printedInLine_ = 0;
    for (unsigned char byte : text) {
        if (byte == kTab) {
            // Without a tab position ahead in the print area a tab does nothing.
            const int to = nextTab(style);
            if (to > lineWidth_ && to <= areaWidth())
                add(blank(to - lineWidth_));
            continue;
        }
        const char32_t code = printedCharacter(codePage, international, byte).value_or(0);
        add({Item::Character, style.advance(), code, style});
    }
    return printedInLine_;
}

int PaperRoll::addText(std::string_view text, std::uint8_t mode, int codePage)
{
    PrintStyle style;
    (void)applySetting(style, Setting::PrintMode, mode);
    return addText(text, style.charStyle(), codePage, 0);
}

int PaperRoll::addImage(DotMatrix image)
{
    printedInLine_ = 0;
    Item item = blank(image.width);
    item.kind = Item::Image;
    // Printing a full line drops that line's images: do it before the new
    // image gets its index among them.
    makeRoomFor(item.width);
    item.image = static_cast<int>(images_.size());
    images_.push_back(std::move(image));
    add(item);
    return printedInLine_;
}

bool PaperRoll::moveTo(int x)
{
    if (x <= lineWidth_ || x > areaWidth())
        return false;
    add(blank(x - lineWidth_));
    return true;
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

void PaperRoll::lay(const DotMatrix &canvas)
{
    const int top = addRows(canvas.height);
    const bool turn = layout_.upsideDown;
    for (int y = 0; y < canvas.height && top + y < image_.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (turn ? canvas.at(canvas.width - 1 - x, canvas.height - 1 - y) : canvas.at(x, y))
                set(x, top + y);
}

// A glyph of the font fills its cell, each dot of the cell taking the
// nearest dot of the glyph: 8 x 16 dots in the 8x16 font, scaled to 12 x 24
// in the 12x24 font (the character size then magnifies the cell dot by
// dot). Without the font the built-in 5 x 7 shape fills most of the cell.
DotMatrix PaperRoll::glyphDots(const Item &cell, int width, int height)
{
    DotMatrix out(width, height);
    const BitmapFont *f = font();
    if (const Glyph *glyph = f ? f->glyph(cell.code) : nullptr) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (glyph->dot(x * glyph->width / width, y * BitmapFont::kHeight / height))
                    out.set(x, y);
        return out;
    }
    const int sx = std::max(1, width / 6), sy = std::max(1, height / 8);
    const int x0 = (width - kGlyphWidth * sx) / 2, y0 = (height - kGlyphHeight * sy) / 2;
    const auto rows = glyphRows(cell.code < 0x7F ? static_cast<unsigned char>(cell.code) : 0x7F);
    for (int r = 0; r < kGlyphHeight; ++r)
        for (int c = 0; c < kGlyphWidth; ++c)
            if (rows[static_cast<std::size_t>(r)] & (1 << (kGlyphWidth - 1 - c)))
                for (int dy = 0; dy < sy; ++dy)
                    for (int dx = 0; dx < sx; ++dx)
                        if (x0 + c * sx + dx < width && y0 + r * sy + dy < height)
                            out.set(x0 + c * sx + dx, y0 + r * sy + dy);
    return out;
}

void PaperRoll::drawCell(DotMatrix &canvas, const Item &cell, int left, int baseline)
{
    const CharStyle &s = cell.style;
    const int height = s.height();
    DotMatrix base = glyphDots(cell, s.cellWidth(), s.cellHeight());
    if (s.rotated) {
        // Turned a quarter clockwise before it is magnified.
        DotMatrix turned(base.height, base.width);
        for (int y = 0; y < base.height; ++y)
            for (int x = 0; x < base.width; ++x)
                if (base.at(x, y))
                    turned.set(base.height - 1 - y, x);
        base = std::move(turned);
    }
    const DotMatrix glyph = base.scaled(s.widthScale, s.heightScale);
    const int top = baseline - height;
    auto put = [&canvas](int x, int y, bool on) {
        if (x >= 0 && y >= 0 && x < canvas.width && y < canvas.height)
            canvas.dots[static_cast<std::size_t>(y) * canvas.width + x] = on;
    };
    if (s.reverse)
        for (int y = top; y < baseline; ++y)
            for (int x = left; x < left + cell.width; ++x)
                put(x, y, true);
    // Emphasis widens every dot by one to the right.
    const int bold = s.emphasis ? 1 : 0;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            if (glyph.at(x, y))
                for (int b = 0; b <= bold; ++b)
                    put(left + x + b, top + y, !s.reverse);
    if (!s.reverse)
        for (int u = 1; u <= s.underline; ++u)
            for (int x = left; x < left + cell.width; ++x)
                put(x, baseline - u, true);
}

// Characters and images stand on one baseline; a line is as tall as its
// tallest item, at least as tall as the 12x24 font within the line spacing.
int PaperRoll::lineHeight() const
{
    int tallest = std::min(CharStyle{}.cellHeight(), layout_.spacing);
    for (const auto &i : line_)
        if (i.kind == Item::Character)
            tallest = std::max(tallest, i.style.height());
        else if (i.kind == Item::Image)
            tallest = std::max(tallest, images_[static_cast<std::size_t>(i.image)].height);
    return tallest;
}

void PaperRoll::printLine()
{
    const int tallest = lineHeight();
    DotMatrix canvas(image_.width, std::max(layout_.spacing, tallest));
    int x = alignedLeft(lineWidth_);
    for (const auto &item : line_) {
        if (item.kind == Item::Character) {
            drawCell(canvas, item, x, tallest);
        } else if (item.kind == Item::Image) {
            const DotMatrix &img = images_[static_cast<std::size_t>(item.image)];
            for (int y = 0; y < img.height; ++y)
                for (int ix = 0; ix < img.width && x + ix < canvas.width; ++ix)
                    if (img.at(ix, y))
                        canvas.set(x + ix, tallest - img.height + y);
        }
        x += item.width;
    }
    discardLine();
    lay(canvas);
}

DotMatrix PaperRoll::textBlock(std::string_view text, const CharStyle &style)
{
    DotMatrix out(static_cast<int>(text.size()) * style.advance(), style.height());
    int x = 0;
    for (unsigned char byte : text) {
        const Item cell{Item::Character, style.advance(), codePageCharacter(0, byte).value_or(0),
                        style};
        drawCell(out, cell, x, out.height);
        x += cell.width;
    }
    return out;
}

bool PaperRoll::printBlock(const DotMatrix &block, bool clip)
{
    if (block.width > areaWidth() && !clip)
        return false;
    const int x0 = alignedLeft(block.width);
    const int width = std::min(block.width, areaWidth());
    DotMatrix canvas(image_.width, block.height);
    for (int y = 0; y < block.height; ++y)
        for (int x = 0; x < width; ++x)
            if (block.at(x, y))
                canvas.set(x0 + x, y);
    lay(canvas);
    return true;
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
