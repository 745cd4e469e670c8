#include "state_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "atomic_file.h"
#include "fd_io.h"
#include "hex_digit.h"
#include "parameters.h"

namespace kt::emu {
namespace {

constexpr const char *kFormat = "1";
constexpr const char *kEndLine = "end";
constexpr const char *kHex = "0123456789abcdef";

// Values are kept readable: only the backslash, control bytes and bytes
// from 7F up are written as \xHH.
std::string escape(const std::string &v)
{
    std::string out;
    for (unsigned char c : v) {
        if (c == '\\' || c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

[[noreturn]] void fail(int line, const std::string &what)
{
    throw StateFileError("line " + std::to_string(line) + ": " + what);
}

std::string unescape(const std::string &v, int line)
{
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\') {
            out += v[i];
            continue;
        }
        if (i + 3 >= v.size() || v[i + 1] != 'x')
            fail(line, "bad escape");
        const int hi = hexDigit(v[i + 2]), lo = hexDigit(v[i + 3]);
        if (hi < 0 || lo < 0)
            fail(line, "bad escape");
        out += static_cast<char>(hi * 16 + lo);
        i += 3;
    }
    return out;
}

std::string imageLine(const NvImage &img)
{
    std::string out = std::to_string(img.nx) + " " + std::to_string(img.ny) + " ";
    out.reserve(out.size() + img.data.size() * 2);
    for (std::uint8_t b : img.data) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

NvImage parseImage(const std::string &v, int line)
{
    std::istringstream in(v);
    unsigned long nx = 0, ny = 0;
    std::string hex;
    if (!(in >> nx >> ny >> hex))
        fail(line, "an image is \"NX NY HEX\"");
    in >> std::ws;
    if (!in.eof())
        fail(line, "an image is \"NX NY HEX\"");
    if (nx < 1 || nx > 1023 || ny < 1 || ny > 288)
        fail(line, "image size out of range");
    if (hex.size() != nx * ny * 8 * 2)
        fail(line, "image data does not match its size");
    NvImage img{static_cast<std::uint16_t>(nx), static_cast<std::uint16_t>(ny), {}};
    img.data.resize(hex.size() / 2);
    for (std::size_t i = 0; i < img.data.size(); ++i) {
        const int hi = hexDigit(hex[2 * i]), lo = hexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            fail(line, "image data is not hexadecimal");
        img.data[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return img;
}

} // namespace

std::string formatState(const std::string &model, const PrinterState &state)
{
    std::string out = "# kt-emulator printer state; written whole by the emulator\n";
    out += std::string("format=") + kFormat + "\n";
    out += "model=" + escape(model) + "\n";
    for (const auto &[number, value] : state.parameters)
        if (const auto *info = findParameter(number))
            out += std::string(info->key) + "=" + escape(value) + "\n";
    for (const auto &img : state.images)
        out += "image=" + imageLine(img) + "\n";
    out += std::string(kEndLine) + "\n";
    return out;
}

PrinterState parseState(const std::string &text, const std::string &model,
                        const ModelProfile &profile)
{
    PrinterState state = defaultState(profile);
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    bool sawFormat = false, sawModel = false, sawEnd = false;
    std::size_t imageBytes = 0;
    while (std::getline(in, raw)) {
        ++line;
        if (sawEnd)
            fail(line, "text after the end line");
        if (raw.empty() || raw[0] == '#')
            continue;
        if (raw == kEndLine) {
            sawEnd = true;
            continue;
        }
        const auto eq = raw.find('=');
        if (eq == std::string::npos)
            fail(line, "expected KEY=VALUE");
        const std::string key = raw.substr(0, eq);
        const std::string value = unescape(raw.substr(eq + 1), line);
        if (key == "format") {
            if (value != kFormat)
                fail(line, "unsupported format " + value);
            sawFormat = true;
        } else if (key == "model") {
            if (value != model)
                fail(line, "the state belongs to model " + value + ", not " + model);
            sawModel = true;
        } else if (key == "image") {
            if (state.images.size() == 255)
                fail(line, "more than 255 images");
            state.images.push_back(parseImage(value, line));
            imageBytes += state.images.back().data.size();
            if (imageBytes > profile.nvCapacity)
                fail(line, "images exceed the NV memory");
        } else if (const auto *info = findParameter(key)) {
            if (auto checked = checkValue(*info, value); !checked)
                fail(line, key + ": " + checked.error());
            state.parameters[info->number] = value;
        } else {
            fail(line, "unknown key " + key);
        }
    }
    if (!sawFormat || !sawModel)
        fail(line, "the format and model lines are missing");
    if (!sawEnd)
        fail(line, "the end line is missing (the file is incomplete)");
    return state;
}

std::size_t maxStateFileBytes(const ModelProfile &profile)
{
    // Two hex digits per NV byte, a header line per image, and room for the
    // parameters and comments.
    return profile.nvCapacity * 2 + 255 * 32 + 64 * 1024;
}

Result<PrinterState> loadState(const std::filesystem::path &path, const std::string &model,
                               const ModelProfile &profile)
{
    const auto fail
        = [&path](const std::string &why) { return Status::failure(path.string() + ": " + why); };
    // Without O_NONBLOCK a FIFO would hold the start until a writer came.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) {
        if (errno == ENOENT)
            return defaultState(profile);
        return fail(std::string("cannot be read: ") + std::strerror(errno));
    }
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0)
        return fail(std::string("cannot be read: ") + std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return fail("is a directory");
    if (!S_ISREG(st.st_mode))
        return fail("is not a regular file");
    const std::size_t limit = maxStateFileBytes(profile);
    // A file still growing is read no further than the limit.
    std::string text;
    char buf[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(std::string("read error: ") + std::strerror(errno));
        if (n == 0)
            break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > limit)
            return fail("larger than the " + std::to_string(limit)
                        + " bytes a state of this model takes");
    }
    try {
        return parseState(text, model, profile);
    } catch (const StateFileError &e) {
        return fail(e.what());
    }
}

Status saveState(const std::filesystem::path &path, const std::string &model,
                 const PrinterState &state)
{
    const std::string text = formatState(model, state);
    return writeFileAtomically(
        path, [&](FILE *f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); });
}

} // namespace kt::emu
