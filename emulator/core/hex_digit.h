// One hexadecimal digit of a text file format, either case.
#pragma once

namespace kt::emu {

// The digit's value, or -1 for a character that is none.
constexpr int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace kt::emu
