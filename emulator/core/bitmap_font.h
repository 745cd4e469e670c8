// The bitmap font of the paper image, read from a font file in the .hex
// format (one glyph a line: "0041:" and 32 or 64 hexadecimal digits, an
// 8 x 16 or 16 x 16 bitmap, row by row, the leftmost dot the highest bit).
// Debian's unifont package ships one as /usr/share/unifont/unifont.hex.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "status.h"

namespace kt::emu {

struct Glyph {
    int width = 8;                        // 8 or 16 dots
    std::array<std::uint16_t, 16> rows{}; // bit (width - 1) is the leftmost dot

    bool dot(int x, int y) const
    {
        return rows[static_cast<std::size_t>(y)] >> (width - 1 - x) & 1;
    }
};

class BitmapFont {
public:
    static constexpr const char *kDefaultPath = "/usr/share/unifont/unifont.hex";
    static constexpr int kHeight = 16;

    // The glyphs of the characters the printer can print (ASCII and every
    // code page's upper half) from a .hex file; the rest of the file is
    // skipped. Fails naming the path and the line of a malformed glyph.
    static Result<BitmapFont> load(const std::filesystem::path &path);
    // The font of `path`, loaded once per process and shared; nothing when
    // it cannot be loaded.
    static const BitmapFont *shared(const std::filesystem::path &path);

    const Glyph *glyph(char32_t c) const;
    std::size_t size() const { return glyphs_.size(); }

    // One line of a .hex file into its character and glyph; nothing for a
    // line that is none.
    static std::optional<std::pair<char32_t, Glyph>> parseLine(std::string_view line);

private:
    std::unordered_map<char32_t, Glyph> glyphs_;
};

} // namespace kt::emu
