#include "protocol/commands.h"

#include <algorithm>
#include <array>

namespace kt::protocol {
namespace {

constexpr std::uint8_t GS = 0x1D;

// Parameter read GS g 4 n, with or without the trailing NUL.
Command readParameter(std::uint8_t n, bool trailingNul)
{
    Command c{GS, 0x67, 0x34, n};
    if (trailingNul)
        c.push_back(0x00);
    return c;
}

Command identity(char item) { return {GS, 0x49, static_cast<std::uint8_t>(item)}; }

const std::array<QueryEntry, 20> &queries()
{
    static const std::array<QueryEntry, 20> table{{
        {Query::SW1, "getSW1", readParameter(0x27, true)},
        {Query::SW2, "getSW2", readParameter(0x28, true)},
        {Query::SW3, "getSW3", readParameter(0x29, true)},
        {Query::SW4, "getSW4", readParameter(0x2A, true)},
        {Query::Language1, "getLanguageInfo1", readParameter(0x24, false)},
        {Query::Language2, "getLanguageInfo2", identity('E')},
        {Query::Language3, "getLanguageInfo3", readParameter(0x21, false)},
        {Query::Language4, "getLanguageInfo4", readParameter(0x22, false)},
        {Query::Language5, "getLanguageInfo5", readParameter(0x30, true)},
        {Query::Language6, "getLanguageInfo6", readParameter(0x25, true)},
        {Query::Language7, "getLanguageInfo7", readParameter(0x2B, true)},
        {Query::Printer1, "getPrinterInfo1", identity('C')},
        {Query::Printer2, "getPrinterInfo2", identity('A')},
        {Query::Printer3, "getPrinterInfo3", readParameter(0x10, false)},
        {Query::Printer3a, "getPrinterInfo3a", readParameter(0x1B, false)},
        {Query::Printer4Cut, "getPrinterInfo4", readParameter(0x15, false)},
        {Query::Printer4Failed, "getPrinterInfo4", readParameter(0x16, false)},
        {Query::Printer5Serial, "getPrinterInfo5", identity('D')},
        {Query::Printer5Date, "getPrinterInfo5", readParameter(0x09, false)},
        {Query::Maker, "getMakerInfo", identity('B')},
    }};
    return table;
}

constexpr std::array<WriteEntry, 10> kWrites{{
    {Setting::SW1, 0x27, 3, 8},
    {Setting::SW2, 0x28, 3, 8},
    {Setting::SW3, 0x29, 3, 8},
    {Setting::SW4, 0x2A, 3, 8},
    {Setting::CodePage, 0x21, 3, 8},
    {Setting::CodePageName, 0x24, 20, 25},
    {Setting::InterChars, 0x22, 2, 7},
    {Setting::Density, 0x30, 1, 7},
    {Setting::New8x16, 0x25, 2, 8},
    {Setting::ThaiPass, 0x2B, 3, 12},
}};

} // namespace

const QueryEntry &queryEntry(Query query) { return queries()[static_cast<std::size_t>(query)]; }

Query switchQuery(int switchNo)
{
    return static_cast<Query>(static_cast<int>(Query::SW1) + std::clamp(switchNo, 1, 4) - 1);
}

const WriteEntry &writeEntry(Setting setting) { return kWrites[static_cast<std::size_t>(setting)]; }

Setting switchSetting(int switchNo)
{
    return static_cast<Setting>(static_cast<int>(Setting::SW1) + std::clamp(switchNo, 1, 4) - 1);
}

Command writeCommand(Setting setting, std::span<const std::uint8_t> data)
{
    const WriteEntry &entry = writeEntry(setting);
    Command c;
    c.reserve(entry.length);
    for (std::uint8_t b : {GS, std::uint8_t{0x67}, std::uint8_t{0x38}, entry.parameter})
        c.push_back(b);
    for (std::size_t i = 0; i < entry.dataWidth && i < data.size(); ++i)
        c.push_back(data[i]);
    c.resize(entry.length, 0x00);
    return c;
}

const Command &unlockCommand()
{
    static const Command c{GS, 0x67, 'u', 'n', 'l', 0x00};
    return c;
}

const Command &lockCommand()
{
    static const Command c{GS, 0x67, 'l', 'c', 'k', 0x00};
    return c;
}

} // namespace kt::protocol
