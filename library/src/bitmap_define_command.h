// Building the define command FS q (1C 71 n, then one block per image) from
// a list of BMP files. Only one file's bytes and one image's raster are held
// besides the command itself.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kt::bitmap {

struct DefineCommand {
    std::int32_t result = 0;         // a code of bitmap_results.h
    int error = 0;                   // the system error number behind a failure
    std::vector<std::uint8_t> bytes; // the whole command when result is 0
};

// Checks every file, measures the command, then converts the files in list
// order. Fails with 2 when a file cannot be opened or is not a bitmap, 6
// when one cannot be converted (checked for all files before any memory is
// set aside), 3 when the command cannot be held (or exceeds what one send
// can carry), 7 for an empty list; nothing half-built is returned. A file's
// own error is kept (ENOENT, EACCES, ...); a file that is no bitmap, or
// cannot be converted, or an empty list is EINVAL.
DefineCommand buildDefineCommand(std::span<const std::string> files, std::uint8_t threshold);

// FS p n m: print stored image n (1 to 255) in mode m, sent as the
// character "1", "2" or "3"; any other mode is "0".
std::array<std::uint8_t, 4> printCommand(std::uint8_t number, std::int32_t mode);

} // namespace kt::bitmap
