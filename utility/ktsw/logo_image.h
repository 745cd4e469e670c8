// Logos for the printer's non-volatile memory: a BMP file converted as the
// library converts it, or a PNG file decoded into the same in-memory BMP
// form first (transparent pixels count as white), so that both are
// thresholded alike.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "outcome.h"
#include "protocol/commands.h"

namespace kt::ktsw {

struct LogoImage {
    std::string file;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> block; // xL xH yL yH and the dots in column order
};

// The image of one file; a usage failure naming the file and the reason.
Result<LogoImage> loadLogo(const std::string &path);

// A 24-bit bottom-up BMP of the PNG file's pixels composed over white.
Result<std::vector<std::uint8_t>> pngAsBitmap(std::span<const std::uint8_t> png);

// FS q n and the images' blocks, numbered 1 to n in order.
protocol::Command defineCommand(const std::vector<LogoImage> &images);

inline constexpr std::size_t kMaxLogos = 255;

} // namespace kt::ktsw
