// Helpers of the emulator tests: byte strings from hex, paths in a scratch
// directory, bounded reads from a descriptor.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace kt::test {

using Bytes = std::vector<std::uint8_t>;

// "1D 67 34 27" -> bytes; text in quotes is taken as it stands: "1D 'AB' 00".
Bytes hex(const std::string &text);
std::string text(const Bytes &bytes);
Bytes operator+(Bytes a, const Bytes &b);

// A path in a scratch directory.
std::filesystem::path in(const TempDir &dir, const std::string &name);

// Reads until `want` bytes have come or `ms` milliseconds have passed.
Bytes readFor(int fd, std::size_t want, int ms);
// Reads until the peer closes or `ms` pass; true when it closed.
bool waitForClose(int fd, int ms);

std::string readFile(const std::filesystem::path &path);
void writeFile(const std::filesystem::path &path, const std::string &content);

// A TCP connection to 127.0.0.1:port, made within `ms` milliseconds; -1
// on failure or time-out.
int connectTcp(std::uint16_t port, int ms = 10000);

} // namespace kt::test
