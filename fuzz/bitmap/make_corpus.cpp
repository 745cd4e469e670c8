// Writes the seed corpus of fuzz_bitmap: small BMP files of every depth,
// odd and even widths, and a few with a header field off by a little.
// Usage: make_bitmap_corpus DIRECTORY
#include <cstdio>
#include <string>

#include "bmp_writer.h"

using namespace kt::test;

namespace {

std::uint32_t checker(std::uint32_t x, std::uint32_t y)
{
    return (x + y) % 2 ? 0xFFFFFFFFu : 0x10203040u;
}

BmpImage image(std::uint32_t width, std::uint32_t height, std::uint16_t bits)
{
    return patterned(width, height, bits, checker);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::uint16_t depths[] = {1, 4, 8, 16, 24, 32};
    for (const std::uint16_t bits : depths)
        for (const auto &[w, h] :
             {std::pair<std::uint32_t, std::uint32_t>{10, 10}, {17, 3}, {1, 9}}) {
            const std::string name
                = std::to_string(bits) + "bpp-" + std::to_string(w) + "x" + std::to_string(h);
            writeFile(dir + "/" + name + ".bmp", makeBmp(image(w, h, bits)));
        }
    std::vector<std::uint8_t> unpadded = makeBmp(image(5, 4, 24));
    unpadded.resize(unpadded.size() - 1);
    writeFile(dir + "/24bpp-last-row-unpadded.bmp", unpadded);
    std::vector<std::uint8_t> topDown = makeBmp(image(8, 8, 24));
    put32(topDown, kHeightAt, static_cast<std::uint32_t>(-8));
    writeFile(dir + "/24bpp-top-down.bmp", topDown);
    std::vector<std::uint8_t> fields = makeBmp(image(16, 2, 32));
    put32(fields, kCompressionAt, 3);
    writeFile(dir + "/32bpp-bitfields.bmp", fields);
    std::vector<std::uint8_t> whiteFirst = makeBmp({9, 9, 1, whiteFirstPalette(), checker});
    writeFile(dir + "/1bpp-white-first.bmp", whiteFirst);
    BmpImage later{9, 9, 1, whiteFirstPalette(), checker, 124};
    writeFile(dir + "/1bpp-124-byte-header.bmp", makeBmp(later));
    return 0;
}
