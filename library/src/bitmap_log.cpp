#include "bitmap_log.h"

#include <vector>

#include "diag_log.h"

namespace kt::bitmap::log {

void header(const BitmapHeader &h)
{
    if (!diag::active())
        return;
    diag::write(" bsize=%ld, boff=%ld, bmw=%ld, bmh=%ld, bits=%ld, rgb=%x \n",
                static_cast<long>(h.fileSizeField), static_cast<long>(h.dataOffset),
                static_cast<long>(h.width), static_cast<long>(h.height),
                static_cast<long>(h.bitsPerPixel), static_cast<unsigned>(h.paletteBlue));
    if (const std::optional<RowLayout> layout = rowLayout(h))
        diag::write(" bmx=%ld bmy=%ld bx=%ld sk=%ld bsz=%ld \n", static_cast<long>(h.nx()),
                    static_cast<long>(h.ny()), static_cast<long>(layout->rowBytes),
                    static_cast<long>(layout->padding), static_cast<long>(h.blockBytes()));
}

void pixels(const BitmapHeader &h, std::span<const std::uint8_t> file)
{
    if (!diag::active() || (h.bitsPerPixel != 24 && h.bitsPerPixel != 32))
        return;
    const std::optional<RowLayout> layout = rowLayout(h);
    const unsigned size = h.bitsPerPixel / 8u;
    for (std::uint64_t row = 0; row < h.height; ++row) {
        const std::uint8_t *p = file.data() + h.dataOffset + row * layout->stride();
        for (std::uint64_t x = 0; x < h.width; ++x, p += size) {
            if (size == 3)
                diag::write(" %x,%x,%x \n", p[0], p[1], p[2]);
            else
                diag::write(" %x,%x,%x,%x \n", p[0], p[1], p[2], p[3]);
        }
    }
}

void rows(const BitmapHeader &h, std::span<const std::uint8_t> blockStart,
          std::span<const std::uint8_t> raster)
{
    if (!diag::active())
        return;
    diag::write(" k=%ld, bsz=%ld \n", static_cast<long>(h.nx() * h.height + 4),
                static_cast<long>(h.blockBytes()));
    std::size_t shown = 0;
    for (std::uint8_t b : blockStart.first(4)) {
        diag::write(" %x ", b);
        ++shown;
    }
    for (std::size_t i = 0; shown < 16 && i < raster.size(); ++i, ++shown)
        diag::write(" %x ", raster[i]);
    diag::write("\n");
}

void rotation(const BitmapHeader &h)
{
    if (!diag::active())
        return;
    const std::uint64_t nx = h.nx();
    const std::uint64_t ny = h.ny();
    diag::write(" bmx=%d, bmy=%d, bsz=%d \n", static_cast<int>(8 * nx), static_cast<int>(8 * ny),
                static_cast<int>(h.imageBytes()));
    std::vector<std::uint8_t> visits(nx * 8 * ny, 0);
    std::uint64_t count = 0;
    for (std::uint64_t c = 0; c < 8 * nx; ++c)
        for (std::uint64_t k = 0; k < ny; ++k)
            for (std::uint64_t l = 0; l < 8; ++l, ++count)
                ++visits[(8 * ny - 1 - (8 * k + l)) * nx + c / 8];
    diag::write(" n=%d, cnt=%d \n", static_cast<int>(h.imageBytes()), static_cast<int>(count));
    for (std::size_t i = 0; i < visits.size(); ++i)
        if (visits[i] != 8)
            diag::write(" xx[%lu] = %d \n", static_cast<unsigned long>(i), visits[i]);
}

} // namespace kt::bitmap::log
