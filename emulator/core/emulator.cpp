#include "emulator.h"

#include <unistd.h>

#include "bitmap_font.h"
#include "command_stream.h"
#include "control_commands.h"
#include "control_socket.h"
#include "event_loop.h"
#include "fd_io.h"
#include "files/atomic_file.h"
#include "parameters.h"
#include "pty_link.h"
#include "state_file.h"
#include "tcp_listener.h"

namespace kt::emu {
namespace {

PrinterSetup makeSetup(const EmulatorOptions &o)
{
    auto profile = findProfile(o.model);
    if (!profile)
        throw EmulatorError("unknown model " + o.model + " (kt-emulator --list-models)");
    for (const auto &[key, value] : o.overrides)
        if (auto applied = applyOverride(*profile, key, value); !applied)
            throw EmulatorError(applied.error());
    PrinterSetup s;
    s.catalogueModel = o.model;
    s.state = defaultState(*profile);
    if (o.stateFile && !o.resetState) {
        auto loaded = loadState(*o.stateFile, o.model, *profile);
        if (!loaded)
            throw EmulatorError("state file unusable, nothing was changed: " + loaded.error()
                                + " (start with --reset-state to begin from the model defaults)");
        s.state = std::move(*loaded);
    }
    // An override names a setting explicitly: it wins over the saved state.
    for (const auto &[key, value] : o.overrides)
        if (const auto *info = findParameter(key))
            s.state.parameters[info->number] = value;
    s.profile = std::move(*profile);
    s.stateFile = o.stateFile;
    s.faults = o.faults;
    s.conditions = o.conditions;
    s.maxPaperRows = o.maxPaperRows;
    s.fontFile = o.fontFile.value_or(BitmapFont::kDefaultPath);
    s.paperFile = o.paperFile;
    return s;
}

// Writes the roll's PNG once printing has paused: looked at every pause.
class PaperPauseWatch : public EventSource {
public:
    PaperPauseWatch(Printer &printer, std::chrono::milliseconds pause)
        : printer_(printer), pause_(std::max(pause, std::chrono::milliseconds(10)))
    { }
    int fd() const override { return -1; } // a timer only: never watched by epoll
    Interest interest() const override
    {
        Interest i;
        i.deadline = next_;
        return i;
    }
    bool onReady(std::uint32_t, EventLoop &) override { return true; }
    bool onDeadline(EventLoop &) override
    {
        printer_.writePaperAfterPause(pause_);
        next_ = Clock::now() + pause_;
        return true;
    }

private:
    Printer &printer_;
    const std::chrono::milliseconds pause_;
    Clock::time_point next_ = Clock::now();
};

} // namespace

Connection::Connection(std::unique_ptr<CommandStream> stream) : stream_(std::move(stream)) { }
Connection::~Connection() = default;

std::vector<std::uint8_t> Connection::collect(std::vector<Handled> answers)
{
    std::vector<std::uint8_t> out;
    for (auto &h : answers) {
        if (h.delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(h.delayMs));
        out.insert(out.end(), h.reply.begin(), h.reply.end());
    }
    return out;
}

std::vector<std::uint8_t> Connection::send(std::span<const std::uint8_t> bytes)
{
    return collect(stream_->feed(bytes));
}

std::vector<std::uint8_t> Connection::send(const std::string &bytes)
{
    return send({reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()});
}

std::vector<std::uint8_t> Connection::pause() { return collect(stream_->flush(Flush::DataGap)); }
std::vector<std::uint8_t> Connection::close()
{
    return collect(stream_->flush(Flush::EndOfStream));
}
bool Connection::dropped() const { return stream_->dropped(); }
std::vector<std::uint8_t> Connection::statusMessages() { return stream_->statusMessages(); }

Emulator::Emulator(EmulatorOptions options, std::shared_ptr<EventLoop> loop)
    : options_(std::move(options)), loop_(std::move(loop))
{
    // Temporary files of an emulator killed while saving are of no use.
    for (const auto &file : {options_.stateFile, options_.paperFile})
        if (file)
            files::removeStaleTemporaries(*file);
    if (options_.fontFile && !BitmapFont::shared(*options_.fontFile))
        throw EmulatorError(BitmapFont::load(*options_.fontFile).error());
    try {
        printer_ = std::make_unique<Printer>(makeSetup(options_));
    } catch (const EmulatorError &) {
        throw;
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
    if (!loop_)
        loop_ = std::make_shared<EventLoop>([this](const std::string &e) { addError(e); });
    // Status messages for clients with automatic status back go out from
    // the loop's thread, whoever changed the status.
    printer_->setStatusListener([loop = std::weak_ptr<EventLoop>(loop_)] {
        if (auto l = loop.lock())
            l->nudge();
    });
    if (options_.transcriptFile)
        if (auto opened = printer_->openTranscript(*options_.transcriptFile); !opened)
            throw EmulatorError(opened.error());
    if (options_.paperFile && !printer_->writesReceipts())
        loop_->add(std::make_unique<PaperPauseWatch>(*printer_, options_.paperPause));
}

Emulator::~Emulator() { stop(); }

void Emulator::addError(const std::string &error)
{
    std::lock_guard lock(mutex_);
    errors_.push_back(error);
}

std::uint16_t Emulator::listenTcp(const std::string &host, std::uint16_t port)
{
    std::unique_ptr<TcpListener> listener;
    try {
        listener
            = std::make_unique<TcpListener>(host, port, *printer_, options_.timing, connections_);
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
    const std::uint16_t bound = listener->port();
    loop_->add(std::move(listener));
    return bound;
}

std::string Emulator::openPty(const std::filesystem::path &link)
{
    std::unique_ptr<PtyLink> pty;
    try {
        pty = std::make_unique<PtyLink>(link);
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
    std::string path = pty->path();
    serve(pty->master(), false, PeerKind::Terminal);
    std::lock_guard lock(mutex_);
    ptys_.push_back(std::move(pty));
    return path;
}

void Emulator::serveFd(int fd, bool takeOwnership)
{
    const bool terminal = ::isatty(fd);
    if (terminal) {
        if (auto raw = makeRaw(fd); !raw)
            throw EmulatorError(raw.error());
    }
    serve(fd, takeOwnership, terminal ? PeerKind::Terminal : PeerKind::Descriptor);
}

void Emulator::serve(int fd, bool takeOwnership, PeerKind kind)
{
    try {
        loop_->add(std::make_unique<StreamSession>(fd, takeOwnership, kind, *printer_,
                                                   ++connections_, options_.timing));
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
}

std::unique_ptr<Connection> Emulator::connect()
{
    return std::unique_ptr<Connection>(
        new Connection(std::make_unique<CommandStream>(*printer_, ++connections_)));
}

void Emulator::listenControl(const std::filesystem::path &path)
{
    try {
        loop_->add(std::make_unique<ControlListener>(path, [this](const std::string &line) {
            Emulator *const self[] = {this};
            return runControlCommand(line, self);
        }));
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
}

void Emulator::setFaults(const FaultOptions &faults) { printer_->setFaults(faults); }
void Emulator::setCondition(Condition condition, bool on) { printer_->setCondition(condition, on); }
Conditions Emulator::conditions() const { return printer_->conditions(); }
FaultOptions Emulator::faults() const { return printer_->faults(); }
ModelProfile Emulator::profile() const { return printer_->profile(); }
PrinterState Emulator::state() const { return printer_->state(); }

std::string Emulator::parameter(int number) const
{
    const auto s = printer_->state();
    auto it = s.parameters.find(number);
    return it == s.parameters.end() ? std::string() : it->second;
}

bool Emulator::unlocked() const { return printer_->unlocked(); }
std::vector<TranscriptEntry> Emulator::transcript() const { return printer_->transcript(); }
std::size_t Emulator::transcriptCount() const { return printer_->transcriptCount(); }

bool Emulator::waitForTranscript(std::size_t count, std::chrono::milliseconds timeout) const
{
    return printer_->waitForTranscript(count, timeout);
}

bool Emulator::waitForCommand(const std::string &prefix, std::chrono::milliseconds timeout) const
{
    return printer_->waitForCommand(prefix, timeout);
}

PaperImage Emulator::paper() const { return printer_->paper(); }

Status Emulator::writePaper(const std::filesystem::path &path) const
{
    return printer_->writePaper(path);
}

Status Emulator::finish()
{
    std::lock_guard finishing(finishMutex_);
    if (finished_)
        return *finished_;
    loop_->stop();
    {
        std::lock_guard lock(mutex_);
        ptys_.clear();
    }
    std::vector<Status> outcomes;
    outcomes.push_back(printer_->finishPaper());
    outcomes.push_back(printer_->saveState());
    std::lock_guard lock(mutex_);
    for (const auto &o : outcomes)
        if (!o)
            errors_.push_back(o.error());
    std::string all;
    for (const auto &e : errors_)
        all += (all.empty() ? "" : "; ") + e;
    finished_ = all.empty() ? Status::success() : Status::failure(all);
    return *finished_;
}

void Emulator::stop() { (void)finish(); }

} // namespace kt::emu
