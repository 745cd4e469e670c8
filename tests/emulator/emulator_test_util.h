// Helpers of the emulator tests: byte strings from hex, a scratch
// directory, bounded reads from a descriptor.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kt::emu::test {

using Bytes = std::vector<std::uint8_t>;

// "1D 67 34 27" -> bytes; text in quotes is taken as it stands: "1D 'AB' 00".
Bytes hex(const std::string &text);
std::string text(const Bytes &bytes);
Bytes operator+(Bytes a, const Bytes &b);

// A fresh directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::filesystem::path &path() const { return path_; }
    std::filesystem::path operator/(const std::string &name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Reads until `want` bytes have come or `ms` milliseconds have passed.
Bytes readFor(int fd, std::size_t want, int ms);
// Reads until the peer closes or `ms` pass; true when it closed.
bool waitForClose(int fd, int ms);

std::string readFile(const std::filesystem::path &path);
void writeFile(const std::filesystem::path &path, const std::string &content);

// A TCP connection to 127.0.0.1:port; -1 on failure.
int connectTcp(std::uint16_t port);

} // namespace kt::emu::test
