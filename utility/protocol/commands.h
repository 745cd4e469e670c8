// Every printer command of the settings protocol, with its exact bytes.
// The queries and the write commands are data: one table each.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kt::protocol {

// A command as sent: every byte, trailing zero bytes included.
using Command = std::vector<std::uint8_t>;

enum class Query {
    SW1,
    SW2,
    SW3,
    SW4,
    Language1,
    Language2,
    Language3,
    Language4,
    Language5,
    Language6,
    Language7,
    Printer1,
    Printer2,
    Printer3,
    Printer3a,
    Printer4Cut,
    Printer4Failed,
    Printer5Serial,
    Printer5Date,
    Maker,
};

struct QueryEntry {
    Query query;
    std::string_view tag; // the log line is tag + "-->" + reply
    Command bytes;        // sent whole, trailing zero bytes included
};

const QueryEntry &queryEntry(Query query);
// The query of soft switch 1 to 4.
Query switchQuery(int switchNo);

// Settings written with GS g 8 n: the parameter number, how many data bytes
// follow it and the whole length of the command (zero padded).
enum class Setting {
    SW1,
    SW2,
    SW3,
    SW4,
    CodePage,
    CodePageName,
    InterChars,
    Density,
    New8x16,
    ThaiPass,
};

struct WriteEntry {
    Setting setting;
    std::uint8_t parameter;
    std::size_t dataWidth;
    std::size_t length;
};

const WriteEntry &writeEntry(Setting setting);
Setting switchSetting(int switchNo);

// GS g 8 n followed by the data bytes (cut or zero padded to the setting's
// data width) and zero bytes up to the command's length.
Command writeCommand(Setting setting, std::span<const std::uint8_t> data);

// After a code page write the printer switches its tables; the code page
// name is written only after this pause.
inline constexpr int kCodePageNamePauseMs = 1000;

const Command &unlockCommand(); // GS g u n l NUL
const Command &lockCommand();   // GS g l c k NUL

} // namespace kt::protocol
