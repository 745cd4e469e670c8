#include "emulator.h"

#include "command_stream.h"
#include "fd_io.h"
#include "parameters.h"
#include "pty_link.h"
#include "state_file.h"
#include "stop_signal.h"
#include "tcp_listener.h"

#include <unistd.h>

namespace kt::emu {
namespace {

PrinterSetup makeSetup(const EmulatorOptions &o) {
    auto profile = findProfile(o.model);
    if (!profile) throw EmulatorError("unknown model " + o.model + " (kt-emulator --list-models)");
    for (const auto &[key, value] : o.overrides)
        if (auto e = applyOverride(*profile, key, value); !e.empty()) throw EmulatorError(e);
    PrinterSetup s;
    s.catalogueModel = o.model;
    s.state = defaultState(*profile);
    if (o.stateFile && !o.resetState) {
        try {
            s.state = loadState(*o.stateFile, o.model, *profile);
        } catch (const StateFileError &e) {
            throw EmulatorError(std::string("state file unusable, nothing was changed: ") + e.what() +
                                " (start with --reset-state to begin from the model defaults)");
        }
    }
    // An override names a setting explicitly: it wins over the saved state.
    for (const auto &[key, value] : o.overrides)
        if (const auto *info = findParameter(key)) s.state.parameters[info->number] = value;
    s.profile = std::move(*profile);
    s.stateFile = o.stateFile;
    s.faults = o.faults;
    s.maxPaperRows = o.maxPaperRows;
    return s;
}

} // namespace

Connection::Connection(std::unique_ptr<CommandStream> stream) : stream_(std::move(stream)) {}
Connection::~Connection() = default;

std::vector<std::uint8_t> Connection::collect(std::vector<Handled> answers) {
    std::vector<std::uint8_t> out;
    for (auto &h : answers) {
        if (h.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(h.delayMs));
        out.insert(out.end(), h.reply.begin(), h.reply.end());
    }
    return out;
}

std::vector<std::uint8_t> Connection::send(std::span<const std::uint8_t> bytes) {
    return collect(stream_->feed(bytes));
}

std::vector<std::uint8_t> Connection::send(const std::string &bytes) {
    return send({reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()});
}

std::vector<std::uint8_t> Connection::pause() { return collect(stream_->flush(Flush::DataGap)); }
std::vector<std::uint8_t> Connection::close() { return collect(stream_->flush(Flush::EndOfStream)); }
bool Connection::dropped() const { return stream_->dropped(); }

Emulator::Emulator(EmulatorOptions options)
    : options_(std::move(options)), printer_(std::make_unique<Printer>(makeSetup(options_))),
      stop_(std::make_unique<StopSignal>()) {
    if (options_.transcriptFile)
        if (auto e = printer_->openTranscript(*options_.transcriptFile); !e.empty()) throw EmulatorError(e);
}

Emulator::~Emulator() { stop(); }

void Emulator::startThread(std::function<void()> body) {
    std::lock_guard lock(mutex_);
    threads_.emplace_back([this, body = std::move(body)] {
        try {
            body();
        } catch (const std::exception &e) {
            addError(e.what());
        }
    });
}

void Emulator::addError(const std::string &error) {
    std::lock_guard lock(mutex_);
    errors_.push_back(error);
}

std::uint16_t Emulator::listenTcp(const std::string &host, std::uint16_t port) {
    std::shared_ptr<TcpListener> listener;
    try {
        listener = std::make_shared<TcpListener>(host, port);
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
    startThread([this, listener] { listener->run(*printer_, options_.timing, *stop_, connections_); });
    return listener->port();
}

std::string Emulator::openPty(const std::filesystem::path &link) {
    std::unique_ptr<PtyLink> pty;
    try {
        pty = std::make_unique<PtyLink>(link);
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
    const int master = pty->master();
    const std::string path = pty->path();
    {
        std::lock_guard lock(mutex_);
        ptys_.push_back(std::move(pty));
    }
    const int id = ++connections_;
    startThread([this, master, id] {
        kt::emu::serveFd(master, PeerKind::Terminal, *printer_, id, options_.timing, *stop_);
    });
    return path;
}

void Emulator::serveFd(int fd, bool takeOwnership) {
    const bool terminal = ::isatty(fd);
    if (terminal) makeRaw(fd);
    if (takeOwnership) {
        std::lock_guard lock(mutex_);
        ownedFds_.push_back(fd);
    }
    const int id = ++connections_;
    const PeerKind kind = terminal ? PeerKind::Terminal : PeerKind::Socket;
    startThread([this, fd, id, kind] { kt::emu::serveFd(fd, kind, *printer_, id, options_.timing, *stop_); });
}

std::unique_ptr<Connection> Emulator::connect() {
    return std::unique_ptr<Connection>(new Connection(std::make_unique<CommandStream>(*printer_, ++connections_)));
}

void Emulator::setFaults(const FaultOptions &faults) { printer_->setFaults(faults); }
FaultOptions Emulator::faults() const { return printer_->faults(); }
ModelProfile Emulator::profile() const { return printer_->profile(); }
PrinterState Emulator::state() const { return printer_->state(); }

std::string Emulator::parameter(int number) const {
    const auto s = printer_->state();
    auto it = s.parameters.find(number);
    return it == s.parameters.end() ? std::string() : it->second;
}

bool Emulator::unlocked() const { return printer_->unlocked(); }
std::vector<TranscriptEntry> Emulator::transcript() const { return printer_->transcript(); }
std::size_t Emulator::transcriptCount() const { return printer_->transcriptCount(); }

bool Emulator::waitForTranscript(std::size_t count, std::chrono::milliseconds timeout) const {
    return printer_->waitForTranscript(count, timeout);
}

bool Emulator::waitForCommand(const std::string &prefix, std::chrono::milliseconds timeout) const {
    return printer_->waitForCommand(prefix, timeout);
}

PaperImage Emulator::paper() const { return printer_->paper(); }

std::string Emulator::writePaper(const std::filesystem::path &path) const {
    return printer_->writePaper(path);
}

std::vector<std::string> Emulator::errors() const {
    std::lock_guard lock(mutex_);
    return errors_;
}

bool Emulator::stop() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        if (stopped_) return errors_.empty();
        stopped_ = true;
        threads.swap(threads_);
    }
    stop_->raise();
    for (auto &t : threads) t.join();
    ptys_.clear();
    for (int fd : ownedFds_) ::close(fd);
    ownedFds_.clear();
    std::vector<std::string> failures;
    if (options_.paperFile) failures.push_back(printer_->writePaper(*options_.paperFile));
    failures.push_back(printer_->saveState());
    bool ok = true;
    for (const auto &e : failures)
        if (!e.empty()) {
            addError(e);
            ok = false;
        }
    return ok;
}

} // namespace kt::emu
