#include "printer.h"

#include "barcode_symbols.h"
#include "code_pages.h"
#include "command_names.h"
#include "parameters.h"
#include "png_writer.h"
#include "self_test_page.h"
#include "state_file.h"

namespace kt::emu {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kTextLineRows = 30;             // one 12x24 line and its gap
constexpr std::size_t kMaxPendingStatus = 64; // bytes of status messages a connection may owe
constexpr int kHriGap = 4;                    // dots between a barcode and its text
constexpr int kPrintSymbol = 81;              // GS ( k function that prints the stored symbol

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
        || k == CommandKind::Ignored || k == CommandKind::Filler || k == CommandKind::Style
        || k == CommandKind::TabStops || k == CommandKind::BitImage;
}

// Commands that put something on the paper (or feed or cut it).
bool printsOnPaper(const Command &c)
{
    switch (c.kind) {
    case CommandKind::Text:
    case CommandKind::LineFeed:
    case CommandKind::Cut:
    case CommandKind::FeedLines:
    case CommandKind::FeedDots:
    case CommandKind::SelfTest:
    case CommandKind::PrintNvImage:
    case CommandKind::Barcode:
    case CommandKind::RasterImage:
    case CommandKind::BitImage: return true;
    case CommandKind::Symbol: return c.arg == kPrintSymbol;
    default: return false;
    }
}

std::string dotSize(const DotMatrix &m)
{
    return std::to_string(m.width) + " x " + std::to_string(m.height) + " dots";
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
    style_.codePage = defaultCodePage();
    lastStatus_ = autoStatus(effectiveConditions());
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
    Result r = execute(c, connection);

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
    if (printsOnPaper(c) && !conditions_.stopsPrinting()) {
        paperChanged_ = true;
        lastPrint_ = std::chrono::steady_clock::now();
    }
    std::optional<PaperJob> job = std::exchange(pendingPaper_, std::nullopt);
    const bool statusQueued = queueStatusChange(); // the roll may have run out
    const auto listener = statusQueued ? statusListener_ : nullptr;
    changed_.notify_all();
    lock.unlock();
    writePaperJob(std::move(job));
    if (listener)
        listener();
    return h;
}

Printer::Result Printer::execute(Command &c, int connection)
{
    if (printsOnPaper(c) && conditions_.stopsPrinting())
        return {{}, "not printed: " + describeConditions(conditions_)};
    switch (c.kind) {
    case CommandKind::Filler:
    case CommandKind::CarriageReturn:
    case CommandKind::Ignored: return {};
    case CommandKind::Text:
        countLines(
            paper_.addText(c.value, style_.charStyle(), style_.codePage, style_.international));
        return {};
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
    case CommandKind::SelectPrintMode: return setStyle(Setting::PrintMode, c.number);
    case CommandKind::SelectCodePage: return setStyle(Setting::CodePage, c.number);
    case CommandKind::Style: return setStyle(static_cast<Setting>(c.arg), c.number);
    case CommandKind::TabStops:
        style_.tabStops.assign(c.data.begin(), c.data.end());
        applyLayout();
        return {};
    case CommandKind::Initialize: {
        const bool dropped = !paper_.lineIsEmpty();
        paper_.discardLine();
        style_ = PrintStyle{};
        style_.codePage = defaultCodePage();
        codes_ = CodeSettings{};
        applyLayout();
        return {{}, dropped ? "unprinted text discarded" : ""};
    }
    case CommandKind::Cut:
        printPendingLine();
        paper_.feed(c.feed);
        cut();
        return {};
    case CommandKind::Barcode: return printBarcode(c.number, c.value);
    case CommandKind::Symbol: return codeFunction(c.number, c.arg, c.data);
    case CommandKind::RasterImage: return printRaster(c);
    case CommandKind::BitImage: return printBitImage(c);
    case CommandKind::DrawerPulse:
        return {{},
                "pulse on drawer connector pin " + std::string(c.number & 1 ? "5" : "2")
                    + (c.name == "ESC p" ? ", " + std::to_string(c.arg * 2) + " ms on, "
                               + std::to_string(c.arg2 * 2) + " ms off"
                                         : ", " + std::to_string(c.arg * 100) + " ms")};
    case CommandKind::AutoStatusBack: return autoStatusBack(connection, c.number);
    case CommandKind::TransmitStatus: {
        const auto status = transmitStatus(effectiveConditions(), c.number);
        if (!status)
            return {{}, "no status of kind " + std::to_string(c.number) + ": not answered"};
        return {{*status}, {}};
    }
    case CommandKind::FeedLines:
        printPendingLine();
        paper_.feed(c.number * style_.lineSpacing);
        return {};
    case CommandKind::FeedDots:
        printPendingLine();
        paper_.feed(c.number);
        return {};
    case CommandKind::SelfTest: return selfTest();
    case CommandKind::DefineNvImages: return defineImages(std::move(c.images));
    case CommandKind::PrintNvImage: return printImage(c.number, c.arg);
    case CommandKind::Unknown:
        // Told once per kind, so that a client's unknown command does not
        // bury the transcript in the same warning.
        return {{}, unknownSeen_.insert(c.name).second ? c.problem + ": skipped" : ""};
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
    return {{kt::emu::realTimeStatus(effectiveConditions(), n)}, {}};
}

Conditions Printer::effectiveConditions() const
{
    Conditions now = conditions_;
    if (paper_.full())
        now.set(Condition::PaperEnd, true); // the roll has run out
    return now;
}

Printer::Result Printer::setStyle(Setting setting, int value)
{
    if (setting == Setting::AbsolutePosition || setting == Setting::RelativePosition) {
        // ESC \ takes a signed distance; the printer does not move left of
        // what the line already holds.
        const int distance = value >= 0x8000 ? value - 0x10000 : value;
        const int to = setting == Setting::AbsolutePosition ? value : paper_.position() + distance;
        if (!paper_.moveTo(to))
            return {{},
                    "position " + std::to_string(to) + " is not ahead in the print area: ignored"};
        return {};
    }
    std::string outcome = applySetting(style_, setting, value);
    applyLayout();
    return {{}, std::move(outcome)};
}

void Printer::applyLayout()
{
    LineLayout layout;
    layout.left = style_.leftMargin;
    layout.width = style_.printWidth;
    layout.justify = style_.justify;
    layout.spacing = style_.lineSpacing;
    layout.upsideDown = style_.upsideDown;
    layout.tabColumns = style_.tabStops;
    paper_.setLayout(std::move(layout));
}

std::string Printer::printBlock(const DotMatrix &block, const char *what, bool clip)
{
    printPendingLine();
    if (!paper_.printBlock(block, clip))
        return tooWide(what, block.width);
    return std::string("printed ") + what + " of " + dotSize(block);
}

// Symbols wider than the print area are not printed: told before their
// dots are made, which for a large symbol would take megabytes.
std::string Printer::tooWide(const char *what, int width) const
{
    return std::string("not printed: the ") + what + " is " + std::to_string(width)
        + " dots wide, the print area " + std::to_string(paper_.areaWidth());
}

Printer::Result Printer::printBarcode(int m, const std::string &data)
{
    const auto *system = findBarcodeSystem(m);
    auto text = system ? barcodeData(*system, data) : Status::failure("no barcode system");
    if (!text)
        return {{}, "not printed: " + text.error()};
    auto symbol = encodeSymbol(system->symbology, *text);
    if (!symbol)
        return {{}, "not printed: " + symbol.error()};
    ScaledSymbol bars{std::move(symbol->modules), style_.barcodeWidth, style_.barcodeHeight};
    if (bars.width() > paper_.areaWidth())
        return {{}, tooWide(system->name, bars.width())};
    std::vector<DotMatrix> parts;
    CharStyle hriStyle;
    hriStyle.smallFont = style_.hriSmallFont;
    const DotMatrix hri = paper_.textBlock(symbol->text, hriStyle);
    if (style_.hriPosition & 1)
        parts.push_back(hri);
    parts.push_back(bars.dots());
    if (style_.hriPosition & 2)
        parts.push_back(hri);
    return {{}, printBlock(stacked(parts, kHriGap), system->name, false)};
}

Printer::Result Printer::codeFunction(int cn, int fn, std::span<const std::uint8_t> params)
{
    const CodeFunctionResult r = runCodeFunction(codes_, cn, fn, params);
    if (r.action == CodeAction::None)
        return {{}, r.outcome};
    const auto symbol = storedSymbol(codes_, cn);
    if (r.action == CodeAction::TransmitSize)
        return {sizeInformation(cn, symbol), {}};
    if (!symbol)
        return {{}, "not printed: " + symbol.error()};
    const char *what = cn == 49 ? "QR code" : "PDF417 symbol";
    if (symbol->width() > paper_.areaWidth())
        return {{}, tooWide(what, symbol->width())};
    return {{}, printBlock(symbol->dots(), what, false)};
}

// GS v 0: m 0 to 3 (or "0" to "3"), bit 0 doubling the width, bit 1 the
// height. What lies beyond the print area is cut off.
Printer::Result Printer::printRaster(const Command &c)
{
    const int m = c.number & 3;
    const DotMatrix image = rasterDots(c.data, c.arg, c.arg2).scaled(m & 1 ? 2 : 1, m & 2 ? 2 : 1);
    return {{}, printBlock(image, "raster image", true)};
}

// ESC *: the 8-dot modes (m 0, 1) print each dot three rows high, the
// single-density modes (m 0, 32) each dot two columns wide.
Printer::Result Printer::printBitImage(const Command &c)
{
    const bool tall = c.number >= 32;
    const DotMatrix image
        = columnDots(c.data, c.arg, tall ? 3 : 1).scaled(c.number % 2 ? 1 : 2, tall ? 1 : 3);
    countLines(paper_.addImage(image));
    return {};
}

Printer::Result Printer::autoStatusBack(int connection, int mask)
{
    if ((mask & 0x0F) == 0) {
        statusWatches_.erase(connection);
        return {{}, "automatic status back off"};
    }
    statusWatches_[connection].mask = mask;
    const AutoStatus now = autoStatus(effectiveConditions());
    return {{now.begin(), now.end()}, {}};
}

bool Printer::queueStatusChange()
{
    const AutoStatus now = autoStatus(effectiveConditions());
    if (now == lastStatus_)
        return false;
    bool queued = false;
    for (auto &[connection, watch] : statusWatches_) {
        if (!autoStatusDue(lastStatus_, now, watch.mask))
            continue;
        // A client that never reads loses its oldest messages, not memory.
        if (watch.pending.size() + now.size() > kMaxPendingStatus)
            watch.pending.erase(watch.pending.begin(), watch.pending.begin() + now.size());
        watch.pending.insert(watch.pending.end(), now.begin(), now.end());
        queued = true;
    }
    lastStatus_ = now;
    return queued;
}

void Printer::setStatusListener(std::function<void()> listener)
{
    std::lock_guard lock(mutex_);
    statusListener_ = std::move(listener);
}

std::vector<std::uint8_t> Printer::takeStatusMessages(int connection)
{
    std::lock_guard lock(mutex_);
    const auto it = statusWatches_.find(connection);
    return it == statusWatches_.end() ? std::vector<std::uint8_t>{}
                                      : std::exchange(it->second.pending, {});
}

void Printer::endConnection(int connection)
{
    std::lock_guard lock(mutex_);
    statusWatches_.erase(connection);
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
    std::unique_lock lock(mutex_);
    conditions_.set(condition, on);
    const auto listener = queueStatusChange() ? statusListener_ : nullptr;
    lock.unlock();
    if (listener)
        listener();
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
