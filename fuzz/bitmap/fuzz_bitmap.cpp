// Arbitrary bytes as a BMP file through the header checks, the row reader
// and the rotation (nothing is sent). Besides the sanitizers' checks, a file
// whose header passes must convert, and dot columns beyond the width and
// blank rows above the image must stay empty.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap_header.h"
#include "bitmap_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace kt::bitmap;
    const std::span<const std::uint8_t> file(data, size);
    const std::optional<BitmapHeader> header = parseHeader(file, size);
    if (!header || checkConvertible(*header) != Unconvertible::None)
        return 0;
    std::vector<std::uint8_t> block(header->blockBytes());
    std::vector<std::uint8_t> raster;
    const std::uint8_t threshold = data[size / 2];
    if (convertImage(file, *header, threshold, block, raster) != Unconvertible::None)
        __builtin_trap();

    const std::uint64_t ny = header->ny();
    const std::uint8_t *columns = block.data() + 4;
    for (std::uint64_t c = header->width; c < 8 * header->nx(); ++c)
        for (std::uint64_t k = 0; k < ny; ++k)
            if (columns[c * ny + k] != 0)
                __builtin_trap();
    const std::uint64_t blankRows = 8 * ny - header->height;
    // The top byte of a column holds the blank rows in its high bits.
    const unsigned imageBits = 0xFFu >> blankRows;
    for (std::uint64_t c = 0; c < header->width; ++c)
        if (columns[c * ny] & ~imageBits)
            __builtin_trap();
    return 0;
}
