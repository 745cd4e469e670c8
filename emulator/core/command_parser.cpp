#include "command_parser.h"

#include <algorithm>
#include <array>

#include "parameters.h"

namespace kt::emu {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint8_t NUL = 0x00, EOT = 0x04, HT = 0x09, LF = 0x0A, CR = 0x0D, DLE = 0x10,
                       ESC = 0x1B, FS = 0x1C, GS = 0x1D;

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

struct EscEntry {
    std::uint8_t code;
    std::size_t params;
    CommandKind kind;
    int arg;
    const char *name;
};

constexpr std::array<EscEntry, 14> kEscTable{{
    {'!', 1, CommandKind::SelectPrintMode, 0, "select print mode"},
    {'@', 0, CommandKind::Initialize, 0, "initialize printer"},
    {'i', 0, CommandKind::Cut, 0, "full cut"},
    {'m', 0, CommandKind::Cut, 1, "partial cut"},
    {'d', 1, CommandKind::FeedLines, 0, "print and feed lines"},
    {'J', 1, CommandKind::FeedDots, 0, "print and feed dots"},
    {'a', 1, CommandKind::Ignored, 0, "select justification"},
    {'E', 1, CommandKind::Ignored, 0, "emphasis on/off"},
    {'-', 1, CommandKind::Ignored, 0, "underline on/off"},
    {'2', 0, CommandKind::Ignored, 0, "default line spacing"},
    {'3', 1, CommandKind::Ignored, 0, "set line spacing"},
    {'t', 1, CommandKind::Ignored, 0, "select character code table"},
    {'R', 1, CommandKind::Ignored, 0, "select international character set"},
    {'M', 1, CommandKind::Ignored, 0, "select character font"},
}};

ParseStep parseEsc(Bytes in, Flush flush)
{
    if (in.size() < 2)
        return needMore(in, flush);
    for (const auto &e : kEscTable) {
        if (e.code != in[1])
            continue;
        if (in.size() < 2 + e.params)
            return needMore(in, flush);
        Command c = make(e.kind, 2 + e.params);
        c.name = std::string("ESC ") + static_cast<char>(e.code) + " (" + e.name + ")";
        c.arg = e.arg;
        if (e.params)
            c.number = in[2];
        return c;
    }
    return unknownPrefix(in, "ESC");
}

ParseStep parseDle(Bytes in, Flush flush)
{
    if (in.size() < 2)
        return needMore(in, flush);
    if (in[1] != EOT)
        return unknownPrefix(in, "DLE");
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
    if (in[1] != 'p')
        return unknownPrefix(in, "FS");
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

// GS ( fn pL pH and pL + 256 * pH bytes of data.
ParseStep parseGsParen(Bytes in, Flush flush)
{
    if (in.size() < 5)
        return needMore(in, flush);
    const std::size_t length = 5 + (in[3] | std::size_t{in[4]} << 8);
    if (in[2] != 'A')
        return unknown(length, "GS (");
    if (length != 7)
        return rejected(length, "self test takes 2 bytes of data");
    if (in.size() < 7)
        return needMore(in, flush, 7);
    Command c = make(CommandKind::SelfTest, 7);
    c.number = in[5];
    c.arg = in[6];
    return c;
}

ParseStep parseGs(Bytes in, Flush flush, const ParserLimits &limits)
{
    if (in.size() < 2)
        return needMore(in, flush);
    switch (in[1]) {
    case 'g': return parseGsG(in, flush, limits);
    case '(': return parseGsParen(in, flush);
    case 'I': {
        if (in.size() < 3)
            return needMore(in, flush);
        Command c = make(CommandKind::ReadIdentity, 3);
        c.number = in[2];
        return c;
    }
    case 'V': {
        if (in.size() < 3)
            return needMore(in, flush);
        const int m = in[2];
        if (m == 0 || m == 1 || m == '0' || m == '1') {
            Command c = make(CommandKind::Cut, 3);
            c.arg = m & 1;
            c.name = c.arg ? "GS V (partial cut)" : "GS V (full cut)";
            return c;
        }
        if (m != 65 && m != 66)
            return unknown(isControl(in[2]) ? 2 : 3, "GS V");
        if (in.size() < 4)
            return needMore(in, flush);
        Command c = make(CommandKind::Cut, 4);
        c.arg = m - 65;
        c.name = c.arg ? "GS V (feed and partial cut)" : "GS V (feed and full cut)";
        return c;
    }
    case '!': {
        if (in.size() < 3)
            return needMore(in, flush);
        Command c = make(CommandKind::Ignored, 3);
        c.name = "GS ! (select character size)";
        return c;
    }
    default: return unknownPrefix(in, "GS");
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
