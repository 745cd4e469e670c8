#include "bitmap_define_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <new>

#include "bitmap_file.h"
#include "bitmap_header.h"
#include "bitmap_image.h"
#include "bitmap_log.h"
#include "bitmap_results.h"
#include "diag_log.h"

namespace kt::bitmap {
namespace {

constexpr std::size_t kMaxImages = 255;
constexpr std::uint64_t kMaxCommandBytes = std::numeric_limits<std::int32_t>::max();

// The library's one user-visible message. A library on this platform has no
// window of its own, so the text and caption go to standard error.
void reportUnsupportedFormat()
{
    std::fprintf(stderr, "%s: %s\n", "Talvorin POS Printer DLL", "file format is not supported");
}

bool allFilesOpen(std::span<const std::string> files)
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        diag::write(" fn[%ld]: %s \n", static_cast<long>(i), files[i].c_str());
        if (!canOpenFile(files[i]))
            return false;
    }
    diag::write("\n");
    diag::flush();
    return true;
}

std::int32_t readHeaders(std::span<const std::string> files, std::vector<BitmapHeader> &headers,
                         int &error)
{
    for (const std::string &name : files) {
        const std::optional<FileBytes> start = readFileStart(name, kHeaderPrefixBytes);
        if (!start) {
            error = errno;
            return result::cannotOpen;
        }
        const std::optional<BitmapHeader> header = parseHeader(start->bytes, start->fileBytes);
        if (!header) {
            error = EINVAL;
            return result::cannotOpen;
        }
        log::header(*header);
        headers.push_back(*header);
    }
    return result::defined;
}

std::int32_t checkAllConvertible(std::span<const BitmapHeader> headers)
{
    for (const BitmapHeader &header : headers) {
        const Unconvertible why = checkConvertible(header);
        if (why == Unconvertible::UnsupportedDepth)
            reportUnsupportedFormat();
        if (why != Unconvertible::None)
            return result::notConverted;
    }
    return result::defined;
}

// 3 + the blocks; saturates instead of wrapping for absurd headers.
std::uint64_t commandBytes(std::span<const BitmapHeader> headers)
{
    std::uint64_t total = 3;
    for (const BitmapHeader &header : headers)
        if (__builtin_add_overflow(total, header.blockBytes(), &total))
            return std::numeric_limits<std::uint64_t>::max();
    return total;
}

std::int32_t convertAll(std::span<const std::string> files, std::span<const BitmapHeader> headers,
                        std::uint8_t threshold, std::span<std::uint8_t> command, int &error)
{
    std::vector<std::uint8_t> raster;
    std::size_t offset = 3;
    for (std::size_t i = 0; i < files.size(); ++i) {
        // No more than the length measured before: a file that changed in
        // between is refused, and cannot make the read grow without bound.
        const std::optional<FileBytes> file = readFileStart(files[i], headers[i].fileBytes);
        if (!file) {
            error = errno;
            return result::cannotOpen;
        }
        if (file->fileBytes != headers[i].fileBytes || file->bytes.size() != file->fileBytes)
            return result::notConverted;
        const std::size_t block = static_cast<std::size_t>(headers[i].blockBytes());
        if (convertImage(file->bytes, headers[i], threshold, command.subspan(offset, block), raster)
            != Unconvertible::None)
            return result::notConverted;
        offset += block;
    }
    return result::defined;
}

} // namespace

DefineCommand buildDefineCommand(std::span<const std::string> files, std::uint8_t threshold)
{
    DefineCommand out;
    const auto failed = [&out](std::int32_t result, int error) {
        out.result = result;
        out.error = error;
        return out;
    };
    if (files.empty())
        return failed(result::nothingToDefine, EINVAL);
    if (files.size() > kMaxImages)
        return failed(result::listFull, ENOSPC);
    if (!allFilesOpen(files))
        return failed(result::cannotOpen, errno);
    std::vector<BitmapHeader> headers;
    headers.reserve(files.size());
    int error = EINVAL;
    if (const std::int32_t r = readHeaders(files, headers, error); r != result::defined)
        return failed(r, error);
    const std::uint64_t length = commandBytes(headers);
    diag::write(
        " len=%ld \n",
        static_cast<long>(std::min<std::uint64_t>(length, std::numeric_limits<long>::max())));
    if (const std::int32_t r = checkAllConvertible(headers); r != result::defined)
        return failed(r, EINVAL);
    if (length > kMaxCommandBytes)
        return failed(result::noMemory, ENOMEM);
    std::vector<std::uint8_t> command;
    try {
        command.assign(static_cast<std::size_t>(length), 0);
    } catch (const std::bad_alloc &) {
        return failed(result::noMemory, ENOMEM);
    }
    if (const std::int32_t r = convertAll(files, headers, threshold, command, error);
        r != result::defined)
        return failed(r, error);
    command[0] = 0x1C;
    command[1] = 0x71;
    command[2] = static_cast<std::uint8_t>(files.size());
    out.bytes = std::move(command);
    return out;
}

} // namespace kt::bitmap

namespace kt::bitmap {

std::array<std::uint8_t, 4> printCommand(std::uint8_t number, std::int32_t mode)
{
    const std::uint8_t modeChar
        = mode >= 1 && mode <= 3 ? static_cast<std::uint8_t>('0' + mode) : '0';
    return {0x1C, 0x70, number, modeChar};
}

} // namespace kt::bitmap
