#include "bitmap_image.h"

#include <algorithm>

#include "bitmap_log.h"
#include "bitmap_raster.h"
#include "bitmap_reader.h"

namespace kt::bitmap {
namespace {

bool sameImage(const BitmapHeader &a, const BitmapHeader &b)
{
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel;
}

void putSize(std::uint8_t *at, std::uint64_t value)
{
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8 & 0xFF);
}

} // namespace

Unconvertible convertImage(std::span<const std::uint8_t> file, const BitmapHeader &planned,
                           std::uint8_t threshold, std::span<std::uint8_t> block,
                           std::vector<std::uint8_t> &raster)
{
    const std::optional<BitmapHeader> header = parseHeader(file, file.size());
    if (!header || !sameImage(*header, planned) || block.size() != header->blockBytes())
        return Unconvertible::Changed;
    log::header(*header);
    if (const Unconvertible why = checkConvertible(*header); why != Unconvertible::None)
        return why;

    const std::uint64_t nx = header->nx();
    const std::uint64_t ny = header->ny();
    const std::uint64_t storedBytes = nx * header->height;
    raster.resize(header->imageBytes());
    // Rows from the height up to the multiple of 8 stay blank.
    std::fill(raster.begin() + static_cast<std::ptrdiff_t>(storedBytes), raster.end(), 0);
    readRows(*header, file, threshold, raster);
    putSize(block.data(), nx);
    putSize(block.data() + 2, ny);
    log::pixels(*header, file);
    log::rows(*header, block, raster);

    rotateToColumns(raster, nx, ny, block.subspan(4));
    log::rotation(*header);
    return Unconvertible::None;
}

} // namespace kt::bitmap
