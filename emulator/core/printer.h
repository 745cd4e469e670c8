// The printer itself: executes the commands of every connection against
// one model profile, one state, one paper roll and one transcript.
// Thread-safe: the event loop and in-process connections call handle()
// from their own threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "command_parser.h"
#include "commands.h"
#include "conditions.h"
#include "faults.h"
#include "live_paper.h"
#include "model_profile.h"
#include "paper_roll.h"
#include "printer_state.h"
#include "status.h"
#include "transcript.h"

namespace kt::emu {

struct PrinterSetup {
    std::string catalogueModel; // the profile's catalogue name; the state file records it
    ModelProfile profile;
    PrinterState state;
    std::optional<std::filesystem::path> stateFile; // saved after every change of settings
    FaultOptions faults;
    Conditions conditions;
    int maxPaperRows = 100000;
    std::filesystem::path fontFile;                 // the paper's bitmap font
    std::optional<std::filesystem::path> paperFile; // live paper: a PNG, or a receipt directory
};

struct Handled {
    std::vector<std::uint8_t> reply; // what to send back (faults applied)
    int delayMs = 0;                 // how long to wait before sending it
    bool drop = false;               // close the connection after the reply
};

class Printer {
public:
    explicit Printer(PrinterSetup setup);

    // Executes one command received on `connection`, whose raw bytes start
    // with `bytes`; `commandCount` counts the connection's commands so far,
    // this one included (for the drop fault). Records it in the transcript.
    Handled handle(Command command, std::span<const std::uint8_t> bytes, int connection,
                   int commandCount);

    ParserLimits parserLimits() const;
    void setFaults(const FaultOptions &faults);
    FaultOptions faults() const;
    void setCondition(Condition condition, bool on);
    Conditions conditions() const;

    Status openTranscript(const std::filesystem::path &path);
    std::vector<TranscriptEntry> transcript() const;
    std::size_t transcriptCount() const;
    // Blocks until the transcript holds `count` entries or the timeout passes.
    bool waitForTranscript(std::size_t count, std::chrono::milliseconds timeout) const;
    // Blocks until an entry whose name starts with `prefix` is in memory.
    bool waitForCommand(const std::string &prefix, std::chrono::milliseconds timeout) const;

    PrinterState state() const;
    ModelProfile profile() const;
    bool unlocked() const;
    PaperImage paper() const;
    Status writePaper(const std::filesystem::path &path) const;
    // Live paper: writes the roll's PNG when something was printed since
    // it was last written and nothing for `pause` (the receipt directory
    // waits for cuts).
    void writePaperAfterPause(std::chrono::milliseconds pause);
    // The live paper is a receipt directory.
    bool writesReceipts() const { return live_ && live_->receipts(); }
    // At the end: writes the roll's PNG (a receipt directory keeps only
    // what was cut) and names every live paper write that failed.
    Status finishPaper();
    // Saves the state file now (the counters change without a save);
    // succeeds at once without a state file.
    Status saveState();

private:
    struct Result {
        std::vector<std::uint8_t> reply;
        std::string outcome;
    };
    Result execute(Command &c);
    Result readParameter(int number) const;
    Result writeParameter(int number, const std::string &value);
    Result readIdentity(int k) const;
    Result statusReply(int n) const;
    Result defineImages(std::vector<NvImage> images);
    Result printImage(int number, int mode);
    Result selfTest();
    // Replaces the state with `next` if it can be saved; the outcome text.
    std::string commit(PrinterState next, const std::string &applied);
    void cut();
    int defaultCodePage() const;
    void writePaperJob(std::optional<PaperJob> job);
    void printPendingLine();
    void countLines(int lines);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    const std::string catalogueModel_;
    const ModelProfile profile_;
    PrinterState state_;
    const std::optional<std::filesystem::path> stateFile_;
    FaultOptions faults_;
    Conditions conditions_;
    std::uint32_t garbageSeed_ = 1;
    bool unlocked_ = false;
    std::uint8_t printMode_ = 0;
    int codePage_ = 0; // ESC t; parameter 33 at start and after ESC @
    PaperRoll paper_;
    std::unique_ptr<LivePaper> live_;
    std::optional<PaperJob> pendingPaper_; // made by a cut, written after the lock is released
    bool paperChanged_ = false;            // printed on since the roll's PNG was written
    std::chrono::steady_clock::time_point lastPrint_;
    std::vector<std::string> paperErrors_;
    Transcript transcript_;
};

} // namespace kt::emu
