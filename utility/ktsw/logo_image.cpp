#include "logo_image.h"

#include <cerrno>
#include <cstring>

#include <png.h>

#include "bitmap_file.h"
#include "bitmap_header.h"
#include "bitmap_image.h"
#include "settings.h"

namespace kt::ktsw {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// The largest PNG side taken: the define command's size fields hold 16 bits
// of 8-dot units.
constexpr std::uint32_t kMaxSide = 8 * 0xFFFF;

void putLittle(std::vector<std::uint8_t> &out, std::size_t at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

const char *whyUnconvertible(bitmap::Unconvertible why)
{
    switch (why) {
    case bitmap::Unconvertible::UnsupportedDepth: return "file format is not supported";
    case bitmap::Unconvertible::Compressed: return "compressed bitmaps are not supported";
    case bitmap::Unconvertible::TopDown: return "top-down bitmaps are not supported";
    case bitmap::Unconvertible::DataSize: return "the pixel data does not match the size";
    case bitmap::Unconvertible::TooLarge: return "the image is too large";
    case bitmap::Unconvertible::Changed: return "the file changed while it was read";
    case bitmap::Unconvertible::None: break;
    }
    return "cannot be converted";
}

bool isPng(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= sizeof kPngSignature
        && std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0;
}

} // namespace

Result<std::vector<std::uint8_t>> pngAsBitmap(std::span<const std::uint8_t> png)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return Failure{kExitUsage, std::string("not a readable PNG: ") + image.message};
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide
        || image.height > kMaxSide) {
        png_image_free(&image);
        return Failure{kExitUsage, "the PNG image is too large or empty"};
    }
    image.format = PNG_FORMAT_BGR;
    const std::size_t stride = (3 * std::size_t{image.width} + 3) / 4 * 4;
    const std::size_t pixelBytes = stride * image.height;
    std::vector<std::uint8_t> bmp(54 + pixelBytes, 0);
    png_color white{255, 255, 255};
    // A negative stride makes libpng write the bottom row first, as a BMP
    // stores it.
    if (!png_image_finish_read(&image, &white, bmp.data() + 54, -static_cast<png_int_32>(stride),
                               nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        return Failure{kExitUsage, "the PNG image cannot be decoded: " + message};
    }
    bmp[0] = 'B';
    bmp[1] = 'M';
    putLittle(bmp, 2, static_cast<std::uint32_t>(bmp.size()), 4);
    putLittle(bmp, 10, 54, 4);
    putLittle(bmp, 14, 40, 4);
    putLittle(bmp, 18, image.width, 4);
    putLittle(bmp, 22, image.height, 4);
    putLittle(bmp, 26, 1, 2);
    putLittle(bmp, 28, 24, 2);
    putLittle(bmp, 34, static_cast<std::uint32_t>(pixelBytes), 4);
    return bmp;
}

Result<LogoImage> loadLogo(const std::string &path)
{
    const auto refused = [&path](const std::string &why) {
        return Failure{kExitUsage, path + ": " + why};
    };
    if (!bitmap::canOpenFile(path))
        return refused(errno == 0 ? "not a regular file" : std::strerror(errno));
    auto file = bitmap::readFileStart(path);
    if (!file)
        return refused(std::strerror(errno));
    std::vector<std::uint8_t> bytes = std::move(file->bytes);
    if (isPng(bytes)) {
        auto converted = pngAsBitmap(bytes);
        if (!converted.ok())
            return refused(converted.failure().message);
        bytes = std::move(converted.value());
    }
    const auto header = bitmap::parseHeader(bytes, bytes.size());
    if (!header)
        return refused("neither a BMP nor a PNG image");
    if (const auto why = bitmap::checkConvertible(*header); why != bitmap::Unconvertible::None)
        return refused(whyUnconvertible(why));
    LogoImage logo{path, header->width, header->height, {}};
    logo.block.resize(static_cast<std::size_t>(header->blockBytes()));
    std::vector<std::uint8_t> raster;
    const auto why
        = bitmap::convertImage(bytes, *header, settings::colourThreshold(), logo.block, raster);
    if (why != bitmap::Unconvertible::None)
        return refused(whyUnconvertible(why));
    return logo;
}

protocol::Command defineCommand(const std::vector<LogoImage> &images)
{
    protocol::Command command{0x1C, 0x71, static_cast<std::uint8_t>(images.size())};
    for (const LogoImage &image : images)
        command.insert(command.end(), image.block.begin(), image.block.end());
    return command;
}

} // namespace kt::ktsw
