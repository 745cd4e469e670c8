// Reading bitmap files: whole, in large reads, and only regular files.
// A FIFO or a device given as a bitmap name would block the read or never
// end, so such names count as files that cannot be opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kt::bitmap {

struct FileBytes {
    std::vector<std::uint8_t> bytes; // at most the bytes asked for
    std::uint64_t fileBytes = 0;     // the file's whole length
};

// True when the name is a regular file that can be opened for reading.
// Failures here and below leave errno telling why.
bool canOpenFile(const std::string &path);

// Reads up to `limit` bytes from the start of the file (all of it for the
// default). Empty when the file cannot be opened or read.
std::optional<FileBytes> readFileStart(const std::string &path, std::uint64_t limit = UINT64_MAX);

} // namespace kt::bitmap
