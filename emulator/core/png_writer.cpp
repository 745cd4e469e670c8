#include "png_writer.h"

#include <cstdio>
#include <vector>

#include <png.h>

#include "atomic_file.h"

namespace kt::emu {
namespace {

constexpr int kBlankRows = 8;

// libpng reports errors by longjmp; this frame holds nothing that needs
// unwinding, and every row is prepared before the first libpng call.
bool encode(FILE *f, int width, int height, std::vector<png_bytep> &rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 1,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

Status writePaperPng(const PaperImage &paper, const std::filesystem::path &path)
{
    const int width = paper.width > 0 ? paper.width : 1;
    const int stride = (width + 7) / 8;
    const int height = paper.height > 0 ? paper.height : kBlankRows;
    // In a 1-bit grey PNG a 1 is white: the dots are inverted.
    std::vector<png_byte> pixels(static_cast<std::size_t>(stride * height), 0xFF);
    for (std::size_t i = 0; i < paper.bits.size() && i < pixels.size(); ++i)
        pixels[i] = static_cast<png_byte>(~paper.bits[i]);
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<std::size_t>(y)] = &pixels[static_cast<std::size_t>(y * stride)];
    return writeFileAtomically(path, [&](FILE *f) { return encode(f, width, height, rows); });
}

} // namespace kt::emu
