// The printed paper while the printer runs: either one PNG of the whole
// roll, rewritten after every cut and after a pause in printing, or a
// directory that gets one PNG per receipt ("receipt-0001.png", ...) as
// soon as the receipt is cut, and nothing else.
//
// The printer makes the images under its lock (a copy of the rows) and
// writes them after releasing it, so that encoding a PNG holds up no one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>

#include "paper_roll.h"
#include "status.h"

namespace kt::emu {

struct PaperJob {
    PaperImage image;
    std::filesystem::path path;
    std::uint64_t version = 0; // of the roll file: an older one is never written over a newer
};

class LivePaper {
public:
    // A receipt directory when `target` is a directory or ends with "/"
    // (made when missing), else the roll's PNG file. Receipts are numbered
    // on from the highest number already in the directory. Throws
    // std::runtime_error when the directory cannot be made.
    explicit LivePaper(const std::filesystem::path &target);

    bool receipts() const { return receipts_; }

    // After a cut at dot row `cutRow` of `roll`: the receipt that ends
    // there, or the whole roll.
    PaperJob afterCut(const PaperImage &roll, int cutRow);
    // The whole roll (after a pause in printing, at the end); nothing in
    // the receipt mode, where only cuts make files.
    std::optional<PaperJob> wholeRoll(const PaperImage &roll);

    // Writes a job atomically. Thread-safe.
    Status write(const PaperJob &job);

private:
    std::filesystem::path target_;
    bool receipts_ = false;
    int nextReceipt_ = 1;
    int receiptTop_ = 0; // the dot row where the receipt being printed starts
    std::uint64_t versions_ = 0;

    std::mutex writeMutex_; // guards written_
    std::uint64_t written_ = 0;
};

// "receipt-0001.png" for receipt 1.
std::string receiptName(int number);

} // namespace kt::emu
