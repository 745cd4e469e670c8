#include "bitmap_font.h"

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>

#include "code_pages.h"
#include "hex_digit.h"

namespace kt::emu {
namespace {

// Larger files are not font files of this kind.
constexpr std::uintmax_t kMaxFontBytes = 64u << 20;

// The characters a printer can be asked to print.
std::unordered_set<char32_t> printableCharacters()
{
    std::unordered_set<char32_t> out;
    for (char32_t c = 0x20; c < 0x7F; ++c)
        out.insert(c);
    for (const auto &page : codePageTable())
        for (int b = 0x80; b <= 0xFF; ++b)
            if (auto c = codePageCharacter(page.number, static_cast<unsigned char>(b)))
                out.insert(*c);
    return out;
}

} // namespace

std::optional<std::pair<char32_t, Glyph>> BitmapFont::parseLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 6)
        return std::nullopt;
    char32_t code = 0;
    for (char c : line.substr(0, colon)) {
        const int v = hexDigit(c);
        if (v < 0)
            return std::nullopt;
        code = code << 4 | static_cast<char32_t>(v);
    }
    const std::string_view bits = line.substr(colon + 1);
    if (bits.size() != 32 && bits.size() != 64)
        return std::nullopt;
    Glyph g;
    g.width = bits.size() == 32 ? 8 : 16;
    const std::size_t digitsPerRow = static_cast<std::size_t>(g.width / 4);
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const int v = hexDigit(bits[i]);
        if (v < 0)
            return std::nullopt;
        auto &row = g.rows[i / digitsPerRow];
        row = static_cast<std::uint16_t>(row << 4 | v);
    }
    return std::pair{code, g};
}

Result<BitmapFont> BitmapFont::load(const std::filesystem::path &path)
{
    const auto fail = [&path](const std::string &why) {
        return Status::failure("font " + path.string() + ": " + why);
    };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return fail("not a regular file");
    if (std::filesystem::file_size(path, ec) > kMaxFontBytes)
        return fail("larger than a font file can be");
    std::ifstream in(path);
    if (!in)
        return fail("cannot be read");
    const auto wanted = printableCharacters();
    BitmapFont font;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto parsed = parseLine(line);
        if (!parsed)
            return fail("line " + std::to_string(number) + " is no glyph");
        if (wanted.count(parsed->first))
            font.glyphs_.insert(*parsed);
    }
    if (font.glyphs_.empty())
        return fail("holds none of the printer's characters");
    return font;
}

const BitmapFont *BitmapFont::shared(const std::filesystem::path &path)
{
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::unique_ptr<BitmapFont>> fonts;
    std::lock_guard lock(mutex);
    auto it = fonts.find(path);
    if (it == fonts.end()) {
        auto loaded = load(path);
        it = fonts
                 .emplace(path, loaded ? std::make_unique<BitmapFont>(std::move(*loaded)) : nullptr)
                 .first;
    }
    return it->second.get();
}

const Glyph *BitmapFont::glyph(char32_t c) const
{
    const auto it = glyphs_.find(c);
    return it == glyphs_.end() ? nullptr : &it->second;
}

} // namespace kt::emu
