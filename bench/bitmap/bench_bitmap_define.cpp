// Throughput of turning BMP files into the define command, in bytes of BMP
// input per second: one receipt-wide photo and a full set of small logos.
#include <filesystem>

#include <benchmark/benchmark.h>

#include "bitmap_define_command.h"
#include "bitmap_header.h"
#include "bitmap_image.h"
#include "bmp_writer.h"
#include "temp_dir.h"

namespace {

using kt::test::BmpImage;
using kt::test::makeBmp;

// A picture with light and dark areas in every channel, so that no depth
// converter can take a shortcut on uniform input.
std::uint32_t shade(std::uint32_t x, std::uint32_t y)
{
    const std::uint32_t v = (x * 7 + y * 13 + (x * y) % 97) & 0xFF;
    return v | ((v + 85) & 0xFF) << 8 | ((v + 170) & 0xFF) << 16 | 0xFFu << 24;
}

BmpImage picture(std::uint32_t width, std::uint32_t height, std::uint16_t bits)
{
    return kt::test::patterned(width, height, bits, shade);
}

std::uint64_t totalBytes(const std::vector<std::string> &files)
{
    std::uint64_t total = 0;
    for (const std::string &f : files)
        total += std::filesystem::file_size(f);
    return total;
}

void defineFiles(benchmark::State &state, const std::vector<std::string> &files)
{
    for (auto _ : state) {
        kt::bitmap::DefineCommand command = kt::bitmap::buildDefineCommand(files, 143);
        if (command.result != 0)
            state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(command.bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * totalBytes(files)));
}

void BM_DefinePhoto576x2000(benchmark::State &state)
{
    kt::test::TempDir dir;
    const auto bits = static_cast<std::uint16_t>(state.range(0));
    defineFiles(state, {dir.file("photo.bmp", makeBmp(picture(576, 2000, bits)))});
}
BENCHMARK(BM_DefinePhoto576x2000)->Arg(24)->Arg(32)->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Define255Logos(benchmark::State &state)
{
    kt::test::TempDir dir;
    const std::uint16_t depths[] = {1, 4, 8, 16, 24, 32};
    std::vector<std::string> files;
    for (unsigned i = 0; i < 255; ++i)
        files.push_back(dir.file("logo" + std::to_string(i) + ".bmp",
                                 makeBmp(picture(160 + i % 9, 80 + i % 5, depths[i % 6]))));
    defineFiles(state, files);
}
BENCHMARK(BM_Define255Logos)->Unit(benchmark::kMillisecond);

// The conversion alone, from bytes already in memory.
void BM_ConvertPhotoInMemory(benchmark::State &state)
{
    const std::vector<std::uint8_t> file = makeBmp(picture(576, 2000, 24));
    const auto header = kt::bitmap::parseHeader(file, file.size());
    std::vector<std::uint8_t> block(header->blockBytes());
    std::vector<std::uint8_t> raster;
    for (auto _ : state) {
        kt::bitmap::convertImage(file, *header, 143, block, raster);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ConvertPhotoInMemory)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
