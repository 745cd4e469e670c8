// The printer's character code tables: which code page numbers exist (the
// numbers ESC t n selects and parameter 33 holds) and which character each
// byte from 80 to FF is in them. The characters come from the C library's
// converters, looked up once per code page.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace kt::emu {

struct CodePage {
    int number;               // ESC t n, parameter 33
    std::string_view name;    // "850 Multilingual (LatinI)"
    std::string_view charset; // the converter's name: "IBM850"
};

// Every code page of the printer, by ascending number.
std::span<const CodePage> codePageTable();
const CodePage *findCodePage(int number);

// The Unicode character `byte` prints as in code page `number`: bytes below
// 80 are ASCII in every page; nothing for a byte the page leaves empty or
// an unknown page.
std::optional<char32_t> codePageCharacter(int number, unsigned char byte);

// An international character set (ESC R n): the characters it puts in
// place of the twelve ASCII codes 23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E.
struct InternationalSet {
    int number;
    std::string_view name;
    std::u32string_view characters; // twelve, in the order of the codes above
};

const InternationalSet *findInternationalSet(int number);

// The character `byte` prints as with code page `codePage` and the
// international set `international` (which changes only ASCII codes).
std::optional<char32_t> printedCharacter(int codePage, int international, unsigned char byte);

} // namespace kt::emu
