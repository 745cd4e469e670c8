#include "code_pages.h"

#include <array>
#include <iconv.h>
#include <map>
#include <mutex>
#include <string>

namespace kt::emu {
namespace {

// The numbers and names of the printer's code page list; each page's bytes
// are read through the C library converter named beside it. The two Thai
// pages share the national Thai standard; the half-width Katakana page is
// the single-byte part of Shift JIS.
constexpr std::array<CodePage, 25> kCodePages{{
    {0, "437 Standard", "IBM437"},
    {1, "Katakana Japanese", "SHIFT_JIS"},
    {2, "850 Multilingual (LatinI)", "IBM850"},
    {3, "860 Portuguese", "IBM860"},
    {4, "863 Canadian-French", "IBM863"},
    {5, "865 Nordic", "IBM865"},
    {17, "866 Cyrillic", "IBM866"},
    {18, "852 Latin 2", "IBM852"},
    {19, "858 Multilingual (Latin+Euro)", "IBM858"},
    {21, "862 Hebrew", "IBM862"},
    {22, "864 Arabic", "IBM864"},
    {24, "1253 Windows Greek", "CP1253"},
    {25, "1254 Windows Turkish", "CP1254"},
    {26, "1257 Windows Baltic", "CP1257"},
    {27, "1256 Windows Arabic (Farsi)", "CP1256"},
    {28, "1251 Windows Cyrillic", "CP1251"},
    {29, "737 Greek", "CP737"},
    {31, "Thai character code page 14", "TIS-620"},
    {33, "1255 Hebrew New code", "CP1255"},
    {34, "Thai character code page 11", "TIS-620"},
    {36, "855 Cyrillic", "IBM855"},
    {37, "857 Turkish", "IBM857"},
    {224, "KAZAKHSTAN", "RK1048"},
    {240, "Armenian", "ARMSCII-8"},
    {250, "LITHUANIA", "CP774"},
}};

constexpr std::string_view kReplaced = "#$@[\\]^`{|}~";

constexpr std::array<InternationalSet, 13> kInternationalSets{{
    {0, "U.S.A.", U"#$@[\\]^`{|}~"},
    {1, "France", U"#$\u00E0\u00B0\u00E7\u00A7^`\u00E9\u00F9\u00E8\u00A8"},
    {2, "Germany", U"#$\u00A7\u00C4\u00D6\u00DC^`\u00E4\u00F6\u00FC\u00DF"},
    {3, "U.K.", U"\u00A3$@[\\]^`{|}~"},
    {4, "Denmark I", U"#$@\u00C6\u00D8\u00C5^`\u00E6\u00F8\u00E5~"},
    {5, "Sweden", U"#\u00A4\u00C9\u00C4\u00D6\u00C5\u00DC\u00E9\u00E4\u00F6\u00E5\u00FC"},
    {6, "Italy", U"#$@\u00B0\\\u00E9^\u00F9\u00E0\u00F2\u00E8\u00EC"},
    {7, "Spain I", U"\u20A7$@\u00A1\u00D1\u00BF^`\u00A8\u00F1}~"},
    {8, "Japan", U"#$@[\u00A5]^`{|}~"},
    {9, "Norway", U"#\u00A4\u00C9\u00C6\u00D8\u00C5\u00DC\u00E9\u00E6\u00F8\u00E5\u00FC"},
    {10, "Denmark II", U"#$\u00C9\u00C6\u00D8\u00C5\u00DC\u00E9\u00E6\u00F8\u00E5\u00FC"},
    {11, "Spain II", U"#$\u00E1\u00A1\u00D1\u00BF\u00E9`\u00ED\u00F1\u00F3\u00FA"},
    {12, "Latin America", U"#$\u00E1\u00A1\u00D1\u00BF\u00E9\u00FC\u00ED\u00F1\u00F3\u00FA"},
}};

// The upper half of a page: 0 where the byte has no character.
using UpperHalf = std::array<char32_t, 128>;

UpperHalf convertUpperHalf(const CodePage &page)
{
    UpperHalf out{};
    const iconv_t cd = ::iconv_open("UTF-32LE", std::string(page.charset).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out; // the converter is missing: the page prints no characters
    for (int b = 0x80; b <= 0xFF; ++b) {
        char in[1] = {static_cast<char>(b)};
        unsigned char utf32[8] = {};
        char *inPtr = in, *outPtr = reinterpret_cast<char *>(utf32);
        std::size_t inLeft = 1, outLeft = sizeof utf32;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr); // a fresh state per byte
        if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)
            && inLeft == 0 && outLeft == sizeof utf32 - 4)
            out[static_cast<std::size_t>(b - 0x80)] = static_cast<char32_t>(
                utf32[0] | utf32[1] << 8 | utf32[2] << 16 | static_cast<unsigned>(utf32[3]) << 24);
    }
    ::iconv_close(cd);
    return out;
}

} // namespace

std::span<const CodePage> codePageTable() { return kCodePages; }

const CodePage *findCodePage(int number)
{
    for (const auto &p : kCodePages)
        if (p.number == number)
            return &p;
    return nullptr;
}

const InternationalSet *findInternationalSet(int number)
{
    for (const auto &s : kInternationalSets)
        if (s.number == number)
            return &s;
    return nullptr;
}

std::optional<char32_t> printedCharacter(int codePage, int international, unsigned char byte)
{
    if (international != 0) {
        const auto at = kReplaced.find(static_cast<char>(byte));
        if (at != std::string_view::npos)
            if (const auto *set = findInternationalSet(international))
                return set->characters[at];
    }
    return codePageCharacter(codePage, byte);
}

std::optional<char32_t> codePageCharacter(int number, unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    const CodePage *page = findCodePage(number);
    if (!page)
        return std::nullopt;
    static std::mutex mutex;
    static std::map<int, UpperHalf> converted;
    std::lock_guard lock(mutex);
    auto it = converted.find(number);
    if (it == converted.end())
        it = converted.emplace(number, convertUpperHalf(*page)).first;
    const char32_t c = it->second[byte - 0x80u];
    return c ? std::optional(c) : std::nullopt;
}

} // namespace kt::emu
