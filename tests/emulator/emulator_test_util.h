// Helpers of the emulator tests: byte strings from hex, paths in a scratch
// directory, bounded reads from a descriptor.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tcp_connect.h"
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

// Writes all of `bytes`; false when the descriptor took less.
bool sendAll(int fd, const Bytes &bytes);
// Sends a query and reads until `want` bytes of answer have come (or `ms` pass).
Bytes ask(int fd, const Bytes &query, std::size_t want, int ms);
// A terminal opened raw, as a serial port; -1 on failure.
int openSerial(const std::string &path);

// A client of an emulator's control socket: one line out, one line back.
class ControlClient {
public:
    explicit ControlClient(const std::filesystem::path &path);
    ~ControlClient();
    ControlClient(const ControlClient &) = delete;
    ControlClient &operator=(const ControlClient &) = delete;

    bool connected() const { return fd_ >= 0; }
    // The answer line without its newline; "(no answer)" on time-out.
    std::string ask(const std::string &line);

private:
    int fd_ = -1;
};

} // namespace kt::test
