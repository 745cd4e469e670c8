// The transcript: every command received, what it was, what the printer
// did and what it answered; kept in memory and appended to a file.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "status.h"

namespace kt::emu {

struct TranscriptEntry {
    std::chrono::system_clock::time_point time;
    int connection = 0;              // which client connection it came on
    std::vector<std::uint8_t> bytes; // the command's first bytes (kMaxBytes at most)
    std::size_t length = 0;          // the command's whole length
    std::string name;                // "GS g 4 n=39 (read soft switch 1)"
    std::string outcome;             // what the printer did, when worth saying
    std::vector<std::uint8_t> reply; // the bytes answered, faults applied
    std::string replyNote;           // how a fault changed the answer

    static constexpr std::size_t kMaxBytes = 64;
};

// One line: time, connection, bytes in hexadecimal, name, outcome, answer.
std::string formatEntry(const TranscriptEntry &entry);

// Bytes as "1D 67 34 27".
std::string hexBytes(const std::vector<std::uint8_t> &bytes);

class Transcript {
public:
    Transcript() = default;
    ~Transcript();
    Transcript(const Transcript &) = delete;
    Transcript &operator=(const Transcript &) = delete;

    // Appends every later entry to the file (created if missing). A FIFO
    // without a reader is refused rather than waited for, and a full pipe
    // loses lines rather than holding the printer.
    Status openFile(const std::filesystem::path &path);
    void add(TranscriptEntry entry);
    // The entries kept in memory: the latest kMemoryEntries.
    std::vector<TranscriptEntry> entries() const { return {entries_.begin(), entries_.end()}; }
    const std::deque<TranscriptEntry> &kept() const { return entries_; }
    // Entries added so far, including those no longer kept in memory.
    std::size_t count() const { return count_; }

    static constexpr std::size_t kMemoryEntries = 10000;

private:
    std::deque<TranscriptEntry> entries_;
    std::size_t count_ = 0;
    FILE *file_ = nullptr;
};

} // namespace kt::emu
