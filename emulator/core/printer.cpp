#include "printer.h"

#include "code_pages.h"
#include "command_names.h"
#include "parameters.h"
#include "png_writer.h"
#include "self_test_page.h"
#include "state_file.h"

namespace kt::emu {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kTextLineRows = 30; // one 12x24 line and its gap

// Replies to queries: "_", the value, NUL.
Bytes framedReply(const std::string &value)
{
    Bytes out;
    out.reserve(value.size() + 2);
    out.push_back('_');
    for (char c : value)
        out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(0);
    return out;
}

// Commands that print or format text keep a composed line; any other
// command first drops a line that holds only blanks, so that the blank a
// client writes as a read filler never reaches the paper.
bool keepsBlankLine(CommandKind k)
{
    return k == CommandKind::Text || k == CommandKind::LineFeed || k == CommandKind::CarriageReturn
        || k == CommandKind::SelectPrintMode || k == CommandKind::SelectCodePage
        || k == CommandKind::Ignored || k == CommandKind::Filler;
}

// Commands that put something on the paper (or feed or cut it).
bool printsOnPaper(CommandKind k)
{
    switch (k) {
    case CommandKind::Text:
    case CommandKind::LineFeed:
    case CommandKind::Cut:
    case CommandKind::FeedLines:
    case CommandKind::FeedDots:
    case CommandKind::SelfTest:
    case CommandKind::PrintNvImage: return true;
    default: return false;
    }
}

} // namespace

Printer::Printer(PrinterSetup s)
    : catalogueModel_(std::move(s.catalogueModel)),
      profile_(std::move(s.profile)),
      state_(std::move(s.state)),
      stateFile_(std::move(s.stateFile)),
      faults_(s.faults),
      conditions_(s.conditions),
      paper_(profile_.paperWidthDots, s.maxPaperRows, std::move(s.fontFile))
{
    codePage_ = defaultCodePage();
    if (s.paperFile)
        live_ = std::make_unique<LivePaper>(*s.paperFile);
}

int Printer::defaultCodePage() const
{
    const auto it = state_.parameters.find(param::CodePage);
    const int n = it == state_.parameters.end() || it->second.empty() ? 0 : std::stoi(it->second);
    return findCodePage(n) ? n : 0;
}

ParserLimits Printer::parserLimits() const
{
    ParserLimits limits;
    limits.nvCapacity = profile_.nvCapacity;
    return limits;
}

Handled Printer::handle(Command c, std::span<const std::uint8_t> bytes, int connection,
                        int commandCount)
{
    std::unique_lock lock(mutex_);
    if (!keepsBlankLine(c.kind) && paper_.lineIsBlank())
        paper_.discardLine();
    Result r = execute(c);

    TranscriptEntry e;
    e.time = std::chrono::system_clock::now();
    e.connection = connection;
    e.bytes.assign(
        bytes.begin(),
        bytes.begin()
            + static_cast<std::ptrdiff_t>(std::min(bytes.size(), TranscriptEntry::kMaxBytes)));
    e.length = c.length;
    e.name = commandName(c);
    e.outcome = std::move(r.outcome);

    ShapedReply shaped = applyFaults(faults_, std::move(r.reply), garbageSeed_);
    Handled h;
    h.reply = shaped.bytes;
    h.delayMs = shaped.delayMs;
    h.drop = faults_.dropAfter > 0 && commandCount >= faults_.dropAfter;
    e.reply = std::move(shaped.bytes);
    e.replyNote = std::move(shaped.note);
    if (h.drop)
        e.replyNote += (e.replyNote.empty() ? "" : ", ") + std::string("connection dropped after ")
            + std::to_string(commandCount) + " commands";
    transcript_.add(std::move(e));
    if (printsOnPaper(c.kind) && !conditions_.stopsPrinting()) {
        paperChanged_ = true;
        lastPrint_ = std::chrono::steady_clock::now();
    }
    std::optional<PaperJob> job = std::exchange(pendingPaper_, std::nullopt);
    changed_.notify_all();
    lock.unlock();
    writePaperJob(std::move(job));
    return h;
}

Printer::Result Printer::execute(Command &c)
{
    if (printsOnPaper(c.kind) && conditions_.stopsPrinting())
        return {{}, "not printed: " + describeConditions(conditions_)};
    switch (c.kind) {
    case CommandKind::Filler:
    case CommandKind::CarriageReturn:
    case CommandKind::Ignored: return {};
    case CommandKind::Text: countLines(paper_.addText(c.value, printMode_, codePage_)); return {};
    case CommandKind::LineFeed:
        paper_.printLine();
        countLines(1);
        return {};
    case CommandKind::ReadParameter: return readParameter(c.number);
    case CommandKind::WriteParameter: return writeParameter(c.number, c.value);
    case CommandKind::Unlock: unlocked_ = true; return {{}, "unlocked: parameter writes are taken"};
    case CommandKind::Lock: unlocked_ = false; return {{}, "locked"};
    case CommandKind::ReadIdentity: return readIdentity(c.number);
    case CommandKind::RealTimeStatus: return statusReply(c.number);
    case CommandKind::SelectPrintMode: printMode_ = static_cast<std::uint8_t>(c.number); return {};
    case CommandKind::SelectCodePage:
        if (!findCodePage(c.number))
            return {{}, "no code page " + std::to_string(c.number) + ": the code page is kept"};
        codePage_ = c.number;
        return {};
    case CommandKind::Initialize: {
        const bool dropped = !paper_.lineIsEmpty();
        paper_.discardLine();
        printMode_ = 0;
        codePage_ = defaultCodePage();
        return {{}, dropped ? "unprinted text discarded" : ""};
    }
    case CommandKind::Cut:
        printPendingLine();
        cut();
        return {};
    case CommandKind::FeedLines:
        printPendingLine();
        paper_.feed(c.number * kTextLineRows);
        return {};
    case CommandKind::FeedDots:
        printPendingLine();
        paper_.feed(c.number);
        return {};
    case CommandKind::SelfTest: return selfTest();
    case CommandKind::DefineNvImages: return defineImages(std::move(c.images));
    case CommandKind::PrintNvImage: return printImage(c.number, c.arg);
    case CommandKind::Unknown:
    case CommandKind::Truncated:
    case CommandKind::Rejected: return {{}, c.problem};
    }
    return {};
}

Printer::Result Printer::readParameter(int number) const
{
    if (!findParameter(number))
        return {{}, "unknown parameter: not answered"};
    auto it = state_.parameters.find(number);
    return {framedReply(it == state_.parameters.end() ? std::string() : it->second), {}};
}

Printer::Result Printer::writeParameter(int number, const std::string &value)
{
    const auto *info = findParameter(number);
    if (!info)
        return {{}, "ignored: unknown parameter"};
    if (!unlocked_)
        return {{}, "ignored: the printer is locked"};
    if (auto checked = checkValue(*info, value); !checked)
        return {{}, "rejected: the value is " + checked.error()};
    if (faults_.forgetWrites)
        return {{}, "acknowledged but not stored (forget-writes fault)"};
    PrinterState next = state_;
    next.parameters[number] = value;
    return {{}, commit(std::move(next), "applied")};
}

Printer::Result Printer::readIdentity(int k) const
{
    const std::string *value = k == 'A' ? &profile_.firmware
        : k == 'B'                      ? &profile_.maker
        : k == 'C'                      ? &profile_.model
        : k == 'D'                      ? &profile_.serial
        : k == 'E'                      ? &profile_.fontRom
                                        : nullptr;
    if (!value)
        return {{}, "unknown identity item: not answered"};
    return {framedReply(*value), {}};
}

Printer::Result Printer::statusReply(int n) const
{
    Conditions now = conditions_;
    if (paper_.full())
        now.set(Condition::PaperEnd, true); // the roll has run out
    return {{kt::emu::realTimeStatus(now, n)}, {}};
}

Printer::Result Printer::defineImages(std::vector<NvImage> images)
{
    const std::string stored = "stored " + std::to_string(images.size()) + " NV images";
    // Everything but the old images, which are replaced, is copied.
    std::vector<NvImage> old = std::move(state_.images);
    PrinterState next = state_;
    state_.images = std::move(old);
    next.images = std::move(images);
    return {{}, commit(std::move(next), stored)};
}

Printer::Result Printer::printImage(int number, int mode)
{
    if (number < 1 || static_cast<std::size_t>(number) > state_.images.size())
        return {{}, "no NV image " + std::to_string(number) + " is stored: nothing printed"};
    printPendingLine();
    const NvImage &img = state_.images[static_cast<std::size_t>(number - 1)];
    paper_.printImage(img, mode & 1 ? 2 : 1, mode & 2 ? 2 : 1);
    return {{},
            "printed " + std::to_string(img.nx * 8) + " x " + std::to_string(img.ny * 8) + " dots"};
}

Printer::Result Printer::selfTest()
{
    printPendingLine();
    const SelfTestPage page = selfTestPage(profile_, state_);
    countLines(paper_.addText(page.title, printmode::DoubleWidth | printmode::Emphasis));
    paper_.printLine();
    countLines(1);
    for (const auto &line : page.lines) {
        countLines(paper_.addText(line, printmode::SmallFont));
        paper_.printLine();
        countLines(1);
    }
    paper_.feed(kTextLineRows);
    cut();
    return {{}, "self-test page printed"};
}

void Printer::cut()
{
    const int row = paper_.cut();
    incrementCounter(state_, param::CutCount);
    if (live_) {
        pendingPaper_ = live_->afterCut(paper_.image(), row);
        paperChanged_ = false;
    }
}

void Printer::writePaperJob(std::optional<PaperJob> job)
{
    if (!job)
        return;
    if (auto written = live_->write(*job); !written) {
        std::lock_guard lock(mutex_);
        if (paperErrors_.size() < 10)
            paperErrors_.push_back(written.error());
    }
}

void Printer::writePaperAfterPause(std::chrono::milliseconds pause)
{
    std::optional<PaperJob> job;
    {
        std::lock_guard lock(mutex_);
        if (!live_ || !paperChanged_ || std::chrono::steady_clock::now() - lastPrint_ < pause)
            return;
        paperChanged_ = false;
        job = live_->wholeRoll(paper_.image());
    }
    writePaperJob(std::move(job));
}

Status Printer::finishPaper()
{
    std::optional<PaperJob> job;
    {
        std::lock_guard lock(mutex_);
        if (live_)
            job = live_->wholeRoll(paper_.image());
    }
    writePaperJob(std::move(job));
    std::lock_guard lock(mutex_);
    std::string all;
    for (const auto &e : paperErrors_)
        all += (all.empty() ? "" : "; ") + e;
    return all.empty() ? Status::success() : Status::failure(all);
}

std::string Printer::commit(PrinterState next, const std::string &applied)
{
    if (stateFile_) {
        if (auto saved = kt::emu::saveState(*stateFile_, catalogueModel_, next); !saved)
            return "not applied: " + saved.error();
    }
    state_ = std::move(next);
    return applied;
}

void Printer::printPendingLine()
{
    if (paper_.lineIsEmpty())
        return;
    paper_.printLine();
    countLines(1);
}

void Printer::countLines(int lines)
{
    for (int i = 0; i < lines; ++i)
        incrementCounter(state_, param::LinesPrinted);
}

void Printer::setFaults(const FaultOptions &faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

FaultOptions Printer::faults() const
{
    std::lock_guard lock(mutex_);
    return faults_;
}

void Printer::setCondition(Condition condition, bool on)
{
    std::lock_guard lock(mutex_);
    conditions_.set(condition, on);
}

Conditions Printer::conditions() const
{
    std::lock_guard lock(mutex_);
    return conditions_;
}

Status Printer::openTranscript(const std::filesystem::path &path)
{
    std::lock_guard lock(mutex_);
    return transcript_.openFile(path);
}

std::vector<TranscriptEntry> Printer::transcript() const
{
    std::lock_guard lock(mutex_);
    return transcript_.entries();
}

std::size_t Printer::transcriptCount() const
{
    std::lock_guard lock(mutex_);
    return transcript_.count();
}

bool Printer::waitForTranscript(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return transcript_.count() >= count; });
}

bool Printer::waitForCommand(const std::string &prefix, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        for (const auto &e : transcript_.kept())
            if (e.name.rfind(prefix, 0) == 0)
                return true;
        return false;
    });
}

PrinterState Printer::state() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

ModelProfile Printer::profile() const { return profile_; }

bool Printer::unlocked() const
{
    std::lock_guard lock(mutex_);
    return unlocked_;
}

PaperImage Printer::paper() const
{
    std::lock_guard lock(mutex_);
    return paper_.image();
}

Status Printer::writePaper(const std::filesystem::path &path) const
{
    return writePaperPng(paper(), path);
}

Status Printer::saveState()
{
    std::lock_guard lock(mutex_);
    if (!stateFile_)
        return Status::success();
    return kt::emu::saveState(*stateFile_, catalogueModel_, state_);
}

} // namespace kt::emu
