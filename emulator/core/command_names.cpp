#include "command_names.h"

#include "barcode_commands.h"
#include "parameters.h"
#include "print_style.h"

namespace kt::emu {
namespace {

std::string parameterName(int n)
{
    const auto *info = findParameter(n);
    return info ? std::string(info->name) : "unknown parameter";
}

std::string quoted(const std::string &s)
{
    std::string out = "\"";
    for (unsigned char c : s)
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.';
    return out + "\"";
}

std::string identityLetter(int k)
{
    if (k >= 0x21 && k < 0x7F)
        return std::string(1, static_cast<char>(k));
    return std::to_string(k);
}

} // namespace

const char *identityItemName(int k)
{
    switch (k) {
    case 'A': return "firmware revision";
    case 'B': return "maker name";
    case 'C': return "model name";
    case 'D': return "serial number";
    case 'E': return "font ROM";
    default: return nullptr;
    }
}

std::string commandName(const Command &c)
{
    const std::string n = std::to_string(c.number);
    switch (c.kind) {
    case CommandKind::Filler: return "NUL (filler)";
    case CommandKind::Text: return "text " + quoted(c.value);
    case CommandKind::LineFeed: return "LF (print line)";
    case CommandKind::CarriageReturn: return "CR";
    case CommandKind::ReadParameter:
        return "GS g 4 n=" + n + " (read " + parameterName(c.number) + ")";
    case CommandKind::WriteParameter:
        return "GS g 8 n=" + n + " (write " + parameterName(c.number) + ") " + quoted(c.value);
    case CommandKind::Unlock: return "GS g u n l NUL (unlock)";
    case CommandKind::Lock: return "GS g l c k NUL (lock)";
    case CommandKind::ReadIdentity: {
        const char *item = identityItemName(c.number);
        return "GS I k=" + identityLetter(c.number) + " (" + (item ? item : "unknown identity item")
            + ")";
    }
    case CommandKind::RealTimeStatus: return "DLE EOT n=" + n + " (real-time status)";
    case CommandKind::SelectPrintMode: return "ESC ! n=" + n + " (select print mode)";
    case CommandKind::SelectCodePage: return "ESC t n=" + n + " (select character code table)";
    case CommandKind::Initialize: return "ESC @ (initialize printer)";
    case CommandKind::Cut: return c.name;
    case CommandKind::FeedLines: return "ESC d n=" + n + " (print and feed lines)";
    case CommandKind::FeedDots: return "ESC J n=" + n + " (print and feed dots)";
    case CommandKind::Style: {
        const auto setting = static_cast<Setting>(c.arg);
        return c.name + (setting == Setting::DefaultSpacing ? "" : " " + n) + " ("
            + describeSetting(setting, c.number) + ")";
    }
    case CommandKind::TabStops: {
        std::string out = "ESC D";
        for (auto stop : c.data)
            out += " " + std::to_string(stop);
        return out + " NUL (set tab positions)";
    }
    case CommandKind::Barcode: return "GS k " + n + " " + describeBarcode(c.number, c.value);
    case CommandKind::Symbol: return "GS ( k " + describeSymbolFunction(c.number, c.arg, c.data);
    case CommandKind::RasterImage:
        return "GS v 0 " + n + " (raster image " + std::to_string(c.arg * 8) + " x "
            + std::to_string(c.arg2) + " dots)";
    case CommandKind::BitImage:
        return "ESC * " + n + " " + std::to_string(c.arg) + " (bit image of "
            + std::to_string(c.arg) + " columns)";
    case CommandKind::DrawerPulse:
        return c.name + " " + n + " " + std::to_string(c.arg)
            + (c.name == "ESC p" ? " " + std::to_string(c.arg2) : "") + " (drawer pulse)";
    case CommandKind::AutoStatusBack:
        return "GS a " + n
            + (c.number ? " (automatic status back on)" : " (automatic status back off)");
    case CommandKind::TransmitStatus: return "GS r " + n + " (transmit status)";
    case CommandKind::Ignored: return c.name + ", no effect";
    case CommandKind::SelfTest:
        return "GS ( A n=" + n + " m=" + std::to_string(c.arg) + " (self test)";
    case CommandKind::DefineNvImages: return "FS q n=" + n + " (define NV images)";
    case CommandKind::PrintNvImage:
        return "FS p n=" + n + " m=" + std::to_string(c.arg) + " (print NV image)";
    case CommandKind::Unknown: return "unknown " + c.name + " (skipped)";
    case CommandKind::Truncated: return "truncated command (skipped)";
    case CommandKind::Rejected: return "rejected command (skipped): " + c.problem;
    }
    return "?";
}

} // namespace kt::emu
