#include "command_parser.h"

#include <algorithm>
#include <array>

#include "command_table.h"
#include "parameters.h"

namespace kt::emu {
namespace {

using Bytes = std::span<const std::uint8_t>;

using namespace ctl;

// Bytes that never belong to text or to a parameter value.
bool isControl(std::uint8_t b) { return b < 0x20 && b != HT; }

Command make(CommandKind kind, std::size_t length)
{
    Command c;
    c.kind = kind;
    c.length = length;
    return c;
}

Command unknown(std::size_t length, std::string name)
{
    Command c = make(CommandKind::Unknown, length);
    c.name = std::move(name);
    c.problem = "not a command of this printer";
    return c;
}

Command rejected(std::size_t length, std::string problem)
{
    Command c = make(CommandKind::Rejected, length);
    c.problem = std::move(problem);
    return c;
}

// An unknown two-byte command; when the second byte is itself a control
// byte it starts the next command, so only the prefix is skipped.
Command unknownPrefix(Bytes in, std::string name)
{
    return unknown(isControl(in[1]) ? 1 : 2, std::move(name));
}

// The bytes at hand end inside a command; `wanted` is how many the command
// takes at least (by default one more than there are), so that a long
// command is not cut again before that much has come.
ParseStep needMore(Bytes in, Flush flush, std::size_t wanted = 0)
{
    if (flush != Flush::EndOfStream)
        return ParseStep{std::nullopt, std::max(wanted, in.size() + 1)};
    Command c = make(CommandKind::Truncated, in.size());
    c.problem = "the data ended inside the command";
    return c;
}

// A command of the fixed-length table.
ParseStep parseTable(Bytes in, Flush flush, const TableCommand &e)
{
    const std::size_t length = 2u + e.params;
    if (in.size() < length)
        return needMore(in, flush);
    Command c = make(e.kind, length);
    c.arg = e.arg;
    if (e.params >= 1)
        c.number = e.params == 2 ? in[2] | in[3] << 8 : in[2];
    switch (e.kind) {
    case CommandKind::Style: c.name = mnemonic(e.prefix, e.code); break;
    case CommandKind::Cut: c.name = mnemonic(e.prefix, e.code) + " (" + e.label + ")"; break;
    case CommandKind::DrawerPulse:
        c.name = mnemonic(e.prefix, e.code);
        c.arg = in[3];
        c.arg2 = in[4];
        break;
    case CommandKind::Ignored:
        c.name = mnemonic(e.prefix, e.code);
        for (std::size_t i = 2; i < length; ++i)
            c.name += " " + std::to_string(in[i]);
        c.name += std::string(" (") + e.label + ")";
        break;
    default: break;
    }
    return c;
}

// ESC * m nL nH and the columns: one byte each in the 8-dot modes (m 0,
// 1), three in the 24-dot modes (m 32, 33).
ParseStep parseBitImage(Bytes in, Flush flush)
{
    if (in.size() < 5)
        return needMore(in, flush);
    const int m = in[2];
    if (m != 0 && m != 1 && m != 32 && m != 33)
        return unknown(3, "ESC * mode");
    const std::size_t columns = in[3] | std::size_t{in[4]} << 8;
    const std::size_t length = 5 + columns * (m >= 32 ? 3 : 1);
    if (in.size() < length)
        return needMore(in, flush, length);
    Command c = make(CommandKind::BitImage, length);
    c.number = m;
    c.arg = static_cast<int>(columns);
    c.data.assign(in.begin() + 5, in.begin() + static_cast<std::ptrdiff_t>(length));
    return c;
}

// ESC D n1 ... nk NUL: up to 32 ascending tab positions. A position not
// above the one before ends the command there; what follows is data.
ParseStep parseTabStops(Bytes in, Flush flush)
{
    constexpr std::size_t kMaxStops = 32;
    std::size_t i = 2;
    Command c = make(CommandKind::TabStops, 0);
    while (i < in.size() && in[i] != NUL && c.data.size() < kMaxStops
           && (c.data.empty() || in[i] > c.data.back()))
        c.data.push_back(in[i++]);
    if (i == in.size() && c.data.size() < kMaxStops)
        return needMore(in, flush);
    c.length = i < in.size() && in[i] == NUL ? i + 1 : i;
    return c;
}

ParseStep parseEsc(Bytes in, Flush flush)
{
    if (in.size() < 2)
        return needMore(in, flush);
    if (in[1] == '*')
        return parseBitImage(in, flush);
    if (in[1] == 'D')
        return parseTabStops(in, flush);
    if (const auto *e = findTableCommand(ESC, in[1]))
        return parseTable(in, flush, *e);
    return unknownPrefix(in, "ESC");
}

// DLE DC4 fn ...: the real-time drawer pulse (fn 1) and the other
// real-time requests of a known length.
ParseStep parseDc4(Bytes in, Flush flush)
{
    if (in.size() < 3)
        return needMore(in, flush);
    const int fn = in[2];
    const std::size_t length = fn == 1 || fn == 2 ? 5 : fn == 7 ? 4 : fn == 8 ? 10 : 0;
    if (length == 0)
        return unknown(isControl(in[2]) ? 2 : 3, "DLE DC4");
    if (in.size() < length)
        return needMore(in, flush);
    if (fn != 1) {
        Command c = make(CommandKind::Ignored, length);
        c.name = "DLE DC4 " + std::to_string(fn) + " (real-time request)";
        return c;
    }
    // Pulse on and off are both t x 100 ms.
    Command c = make(CommandKind::DrawerPulse, length);
    c.name = "DLE DC4 1";
    c.number = in[3];
    c.arg = in[4];
    c.arg2 = in[4];
    return c;
}

ParseStep parseDle(Bytes in, Flush flush)
{
    if (in.size() < 2)
        return needMore(in, flush);
    if (in[1] == DC4)
        return parseDc4(in, flush);
    if (in[1] != EOT) {
        if (const auto *e = findTableCommand(DLE, in[1]))
            return parseTable(in, flush, *e);
        return unknownPrefix(in, "DLE");
    }
    if (in.size() < 3)
        return needMore(in, flush);
    if (in[2] < 1 || in[2] > 4)
        return unknown(isControl(in[2]) && in[2] != 0 ? 2 : 3, "DLE EOT");
    Command c = make(CommandKind::RealTimeStatus, 3);
    c.number = in[2];
    return c;
}

// FS q n, then per image xL xH yL yH and nx * ny * 8 bytes of data. The
// images are framed first and copied only once the whole command is there,
// so a long stream is not copied again each time more of it arrives.
ParseStep parseDefineImages(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.size() < 3)
        return needMore(in, flush);
    const int count = in[2];
    std::size_t pos = 3;
    std::size_t total = 0;
    std::string problem;
    std::vector<NvImage> images(static_cast<std::size_t>(count));
    std::vector<std::size_t> starts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (in.size() < pos + 4)
            return needMore(in, flush, pos + 4);
        const auto nx = static_cast<std::uint16_t>(in[pos] | in[pos + 1] << 8);
        const auto ny = static_cast<std::uint16_t>(in[pos + 2] | in[pos + 3] << 8);
        const std::size_t size = std::size_t{nx} * ny * 8;
        if (problem.empty() && (nx == 0 || ny == 0 || nx > 1023 || ny > 288))
            problem = "image " + std::to_string(i + 1) + " has the invalid size "
                + std::to_string(nx) + " x " + std::to_string(ny);
        total += size;
        if (total > limits.nvCapacity) {
            Command c = rejected(pos + 4 + size,
                                 "the images need more than the "
                                     + std::to_string(limits.nvCapacity) + " bytes of NV memory");
            c.number = count;
            c.imagesLeft = count - 1 - i;
            return c;
        }
        if (in.size() < pos + 4 + size)
            return needMore(in, flush, pos + 4 + size);
        images[static_cast<std::size_t>(i)] = NvImage{nx, ny, {}};
        starts[static_cast<std::size_t>(i)] = pos + 4;
        pos += 4 + size;
    }
    if (!problem.empty()) {
        Command c = rejected(pos, problem);
        c.number = count;
        return c;
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto *data = in.data() + starts[i];
        images[i].data.assign(data, data + std::size_t{images[i].nx} * images[i].ny * 8);
    }
    Command c = make(CommandKind::DefineNvImages, pos);
    c.number = count;
    c.images = std::move(images);
    return c;
}

ParseStep parseFs(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.size() < 2)
        return needMore(in, flush);
    if (in[1] == 'q')
        return parseDefineImages(in, flush, limits);
    if (in[1] != 'p') {
        if (const auto *e = findTableCommand(FS, in[1]))
            return parseTable(in, flush, *e);
        return unknownPrefix(in, "FS");
    }
    if (in.size() < 4)
        return needMore(in, flush);
    const int mode = in[3] >= '0' ? in[3] - '0' : in[3];
    if (mode < 0 || mode > 3)
        return rejected(4, "print mode " + std::to_string(in[3]) + " is not 0 to 3");
    Command c = make(CommandKind::PrintNvImage, 4);
    c.number = in[2];
    c.arg = mode;
    return c;
}

// GS g 8 n: the value runs to a NUL (consumed, with the NUL padding the
// utility adds, as far as it has arrived), a control byte (which starts the
// next command), or a pause in the data.
ParseStep parseWrite(Bytes in, Flush flush, const ParserLimits &limits)
{
    std::size_t i = 4;
    std::string value;
    while (i < in.size() && !isControl(in[i]) && in[i] != HT)
        value += static_cast<char>(in[i++]);
    const bool terminated = i < in.size();
    if (!terminated && flush == Flush::None && value.size() <= limits.maxValue)
        return needMore(in, flush);
    std::size_t length = i;
    if (terminated && in[i] == NUL) {
        ++length;
        const auto *info = findParameter(in[3]);
        const std::size_t padded = info ? 4 + info->paddedLength : 0;
        while (length < padded && length < in.size() && in[length] == NUL)
            ++length;
    }
    if (value.size() > limits.maxValue) {
        Command c
            = rejected(length, "value longer than " + std::to_string(limits.maxValue) + " bytes");
        c.number = in[3];
        return c;
    }
    Command c = make(CommandKind::WriteParameter, length);
    c.number = in[3];
    c.value = std::move(value);
    return c;
}

// GS g u n l / GS g l c k, with the NUL that follows them when it is there.
ParseStep parseKeyword(Bytes in, Flush flush, CommandKind kind, const char *rest)
{
    if (in.size() < 5)
        return needMore(in, flush);
    if (in[3] != static_cast<std::uint8_t>(rest[0]) || in[4] != static_cast<std::uint8_t>(rest[1]))
        return unknown(3, "GS g");
    return make(kind, in.size() > 5 && in[5] == NUL ? 6 : 5);
}

ParseStep parseGsG(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.size() < 3)
        return needMore(in, flush);
    switch (in[2]) {
    case '4': {
        if (in.size() < 4)
            return needMore(in, flush);
        Command c = make(CommandKind::ReadParameter, in.size() > 4 && in[4] == NUL ? 5 : 4);
        c.number = in[3];
        return c;
    }
    case '8':
        if (in.size() < 4)
            return needMore(in, flush);
        return parseWrite(in, flush, limits);
    case 'u': return parseKeyword(in, flush, CommandKind::Unlock, "nl");
    case 'l': return parseKeyword(in, flush, CommandKind::Lock, "ck");
    default: return unknown(isControl(in[2]) ? 2 : 3, "GS g");
    }
}

// GS ( k pL pH cn fn ...: the two-dimensional code functions, taken once
// the whole command is there.
ParseStep parseSymbol(Bytes in, Flush flush, std::size_t length)
{
    if (length < 7)
        return rejected(length, "a two-dimensional code function takes at least 2 bytes");
    if (in.size() < length)
        return needMore(in, flush, length);
    Command c = make(CommandKind::Symbol, length);
    c.number = in[5];
    c.arg = in[6];
    c.data.assign(in.begin() + 7, in.begin() + static_cast<std::ptrdiff_t>(length));
    return c;
}

// GS ( fn pL pH and pL + 256 * pH bytes of data.
ParseStep parseGsParen(Bytes in, Flush flush)
{
    if (in.size() < 5)
        return needMore(in, flush);
    const std::size_t length = 5 + (in[3] | std::size_t{in[4]} << 8);
    if (in[2] == 'k')
        return parseSymbol(in, flush, length);
    if (in[2] != 'A')
        return unknown(length, "GS ( " + std::string(1, static_cast<char>(in[2])));
    if (length != 7)
        return rejected(length, "self test takes 2 bytes of data");
    if (in.size() < 7)
        return needMore(in, flush, 7);
    Command c = make(CommandKind::SelfTest, 7);
    c.number = in[5];
    c.arg = in[6];
    return c;
}

// GS V m [n]: cuts, the forms with n feeding n dots first.
ParseStep parseCut(Bytes in, Flush flush)
{
    if (in.size() < 3)
        return needMore(in, flush);
    const int m = in[2];
    static const char *const kinds[] = {"full cut", "partial cut"};
    if (m == 0 || m == 1 || m == '0' || m == '1') {
        Command c = make(CommandKind::Cut, 3);
        c.arg = m & 1;
        c.name = "GS V " + std::to_string(m) + " (" + kinds[c.arg] + ")";
        return c;
    }
    if (m != 65 && m != 66 && m != 97 && m != 98 && m != 103 && m != 104)
        return unknown(isControl(in[2]) ? 2 : 3, "GS V");
    if (in.size() < 4)
        return needMore(in, flush);
    Command c = make(CommandKind::Cut, 4);
    c.arg = m % 2 ? 0 : 1;
    c.feed = in[3];
    c.name = "GS V " + std::to_string(m) + " " + std::to_string(in[3]) + " (feed and "
        + kinds[c.arg] + ")";
    return c;
}

// GS k m d1 ... dk NUL (m 0 to 6) or GS k m n d1 ... dn (m 65 to 73).
// The first form's data ends at its NUL; any other control byte ends it
// too, unconsumed, so that a missing NUL never swallows what follows.
ParseStep parseBarcode(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.size() < 3)
        return needMore(in, flush);
    const int m = in[2];
    Command c = make(CommandKind::Barcode, 0);
    c.number = m;
    if (m >= 65 && m <= 73) {
        if (in.size() < 4)
            return needMore(in, flush);
        const std::size_t length = 4u + in[3];
        if (in.size() < length)
            return needMore(in, flush, length);
        c.length = length;
        c.value.assign(in.begin() + 4, in.begin() + static_cast<std::ptrdiff_t>(length));
        return c;
    }
    if (m > 6)
        return unknown(isControl(in[2]) ? 2 : 3, "GS k system");
    std::size_t i = 3;
    while (i < in.size() && in[i] >= 0x20 && i - 3 < limits.maxText)
        ++i;
    if (i == in.size())
        return needMore(in, flush);
    c.value.assign(in.begin() + 3, in.begin() + static_cast<std::ptrdiff_t>(i));
    if (in[i] != NUL)
        return rejected(i, "barcode data not ended by NUL");
    c.length = i + 1;
    return c;
}

// GS v 0 m xL xH yL yH and x * y bytes: x bytes a row, y rows.
ParseStep parseRaster(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.size() < 8)
        return needMore(in, flush);
    if (in[2] != '0')
        return unknown(isControl(in[2]) ? 2 : 3, "GS v");
    const std::size_t x = in[4] | std::size_t{in[5]} << 8, y = in[6] | std::size_t{in[7]} << 8;
    const std::size_t length = 8 + x * y;
    if (x == 0 || y == 0)
        return rejected(
            length, "raster image of " + std::to_string(x) + " x " + std::to_string(y) + " bytes");
    if (x * y > limits.maxRaster)
        return rejected(length,
                        "raster image of " + std::to_string(x * y)
                            + " bytes, more than the print buffer's "
                            + std::to_string(limits.maxRaster));
    if (in.size() < length)
        return needMore(in, flush, length);
    Command c = make(CommandKind::RasterImage, length);
    c.number = in[3];
    c.arg = static_cast<int>(x);
    c.arg2 = static_cast<int>(y);
    c.data.assign(in.begin() + 8, in.begin() + static_cast<std::ptrdiff_t>(length));
    return c;
}

// GS 8 L p1 p2 p3 p4 and p1 + ... + p4 * 2^24 bytes: graphics data in the
// long form, skipped by its length.
ParseStep parseLongGraphics(Bytes in, Flush flush)
{
    if (in.size() < 3)
        return needMore(in, flush);
    if (in[2] != 'L')
        return unknownPrefix(in, "GS");
    if (in.size() < 7)
        return needMore(in, flush);
    const std::size_t size
        = in[3] | std::size_t{in[4]} << 8 | std::size_t{in[5]} << 16 | std::size_t{in[6]} << 24;
    return unknown(7 + size, "GS 8 L");
}

ParseStep parseGs(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.size() < 2)
        return needMore(in, flush);
    switch (in[1]) {
    case 'g': return parseGsG(in, flush, limits);
    case '(': return parseGsParen(in, flush);
    case 'V': return parseCut(in, flush);
    case 'k': return parseBarcode(in, flush, limits);
    case 'v': return parseRaster(in, flush, limits);
    case '8': return parseLongGraphics(in, flush);
    default:
        if (const auto *e = findTableCommand(GS, in[1]))
            return parseTable(in, flush, *e);
        return unknownPrefix(in, "GS");
    }
}

} // namespace

std::optional<Command> parseCommand(Bytes in, Flush flush, const ParserLimits &limits)
{
    return parseNext(in, flush, limits).command;
}

ParseStep parseNext(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.empty())
        return ParseStep{std::nullopt, 1};
    const std::uint8_t b = in[0];
    if (!isControl(b)) {
        std::size_t n = 0;
        while (n < in.size() && n < limits.maxText && !isControl(in[n]))
            ++n;
        Command c = make(CommandKind::Text, n);
        c.value.assign(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n));
        return c;
    }
    switch (b) {
    case NUL: {
        std::size_t n = 0;
        while (n < in.size() && in[n] == NUL)
            ++n;
        return make(CommandKind::Filler, n);
    }
    case LF: return make(CommandKind::LineFeed, 1);
    case CR: return make(CommandKind::CarriageReturn, 1);
    case DLE: return parseDle(in, flush);
    case ESC: return parseEsc(in, flush);
    case FS: return parseFs(in, flush, limits);
    case GS: return parseGs(in, flush, limits);
    default: return unknown(1, "control byte");
    }
}

} // namespace kt::emu
