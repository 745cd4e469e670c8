// The printer itself: executes the commands of every connection against
// one model profile, one state, one paper roll and one transcript.
// Thread-safe: the event loop and in-process connections call handle()
// from their own threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "barcode_commands.h"
#include "command_parser.h"
#include "commands.h"
#include "conditions.h"
#include "faults.h"
#include "live_paper.h"
#include "model_profile.h"
#include "paper_roll.h"
#include "print_style.h"
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

    // Automatic status back: `listener` is called (without the printer's
    // lock) whenever a status message waits for a connection that enabled
    // it; the connection then takes its messages, oldest first.
    void setStatusListener(std::function<void()> listener);
    std::vector<std::uint8_t> takeStatusMessages(int connection);
    // The connection is gone: its automatic status back ends.
    void endConnection(int connection);

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
    Result execute(Command &c, int connection);
    Result setStyle(Setting setting, int value);
    Result printBarcode(int m, const std::string &data);
    Result codeFunction(int cn, int fn, std::span<const std::uint8_t> params);
    Result printRaster(const Command &c);
    Result printBitImage(const Command &c);
    Result autoStatusBack(int connection, int mask);
    // Lays a block on the paper in the print area; the outcome.
    std::string printBlock(const DotMatrix &block, const char *what, bool clip);
    std::string tooWide(const char *what, int width) const;
    void applyLayout();
    // The conditions as a client sees them: an exhausted roll is a paper end.
    Conditions effectiveConditions() const;
    // Queues a status message for every connection that asked to be told
    // of the change since the last one; true when any was queued.
    bool queueStatusChange();
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
    PrintStyle style_; // the code page: parameter 33 at start and after ESC @
    CodeSettings codes_;
    std::set<std::string> unknownSeen_; // unknown commands are told once per kind
    struct StatusWatch {
        int mask = 0;
        std::vector<std::uint8_t> pending;
    };
    std::map<int, StatusWatch> statusWatches_; // by connection
    AutoStatus lastStatus_{};
    std::function<void()> statusListener_;
    PaperRoll paper_;
    std::unique_ptr<LivePaper> live_;
    std::optional<PaperJob> pendingPaper_; // made by a cut, written after the lock is released
    bool paperChanged_ = false;            // printed on since the roll's PNG was written
    std::chrono::steady_clock::time_point lastPrint_;
    std::vector<std::string> paperErrors_;
    Transcript transcript_;
};

} // namespace kt::emu
