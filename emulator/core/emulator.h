// kt-emulator core: a virtual receipt printer of any catalogue model, for
// the program kt-emulator and for tests that want a printer in-process.
//
//   kt::emu::EmulatorOptions options;
//   options.model = "KT-9100X";
//   kt::emu::Emulator printer(options);           // throws EmulatorError
//   std::uint16_t port = printer.listenTcp();      // 127.0.0.1, a free port
//   std::string tty = printer.openPty();           // a raw pseudo-terminal
//   printer.serveFd(fd);                           // e.g. a umockdev usblp node
//   ... talk to it with the library or the utility ...
//   printer.parameter(39);                         // "146"
//   printer.transcript();                          // every command received
//   printer.paper().dot(x, y);                     // what was printed
//   Status done = printer.finish();                // writes paper and state; or
//   printer.stop();                                // the same, unchecked, as the destructor does
//
// One background thread serves every transport and every client at once,
// each client with a conversation of its own; they share one printer (its
// settings, unlock state, paper and transcript). Every accessor may be
// called from any thread while the emulator runs. A fleet (fleet.h) serves
// many printers on one such thread.
//
// Errors: building the emulator and starting a transport throw
// EmulatorError (the rig cannot be set up as asked); what fails later, while
// running or when finishing, is reported as a Status.
//
// Replies: a parameter read (GS g 4 n, a NUL after it is taken too) or an
// identity read (GS I k, k = 'A'..'E') answers "_" + the value as ASCII +
// NUL; DLE EOT n answers one status byte. Parameter writes (GS g 8 n value)
// count only between unlock (GS g u n l NUL) and lock (GS g l c k NUL); a
// written value ends at a NUL (the NUL padding of the service utility's
// fixed-length writes is taken with it), at a control byte or, for the
// library's unterminated writes, at a pause of StreamTiming::dataGap.
// Unknown and truncated commands are recorded and skipped.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "command_parser.h"
#include "conditions.h"
#include "faults.h"
#include "model_profile.h"
#include "paper_roll.h"
#include "printer.h"
#include "printer_state.h"
#include "status.h"
#include "stream_session.h"
#include "transcript.h"

namespace kt::emu {

class CommandStream;
class EventLoop;
class PtyLink;

class EmulatorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct EmulatorOptions {
    std::string model = "KT-4000"; // a catalogue model name
    // Profile fields changed before start (see applyOverride): {"serial", "X1"}.
    std::vector<std::pair<std::string, std::string>> overrides;
    // Settings and NV images are loaded from here at start and saved after
    // every accepted write. A missing file starts from the model defaults.
    std::optional<std::filesystem::path> stateFile;
    bool resetState = false; // ignore the state file's content at start
    // The printed paper: a PNG of the roll, rewritten after every cut, after
    // a pause in printing of `paperPause` and by stop(); or, for a
    // directory (or a path ending in "/"), one PNG per receipt, written as
    // soon as it is cut.
    std::optional<std::filesystem::path> paperFile;
    std::chrono::milliseconds paperPause{500};
    // The bitmap font of the paper (.hex). Without it the Debian unifont is
    // used when installed; a font given here must load.
    std::optional<std::filesystem::path> fontFile;
    std::optional<std::filesystem::path> transcriptFile; // appended line by line
    FaultOptions faults;
    Conditions conditions; // set at start: cover open, paper end, ...
    StreamTiming timing;
    int maxPaperRows = 100000; // about 12 m of paper
};

// An in-process client: bytes go straight to the command stream, without a
// transport. The late fault sleeps in send().
class Connection {
public:
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Sends bytes; gives everything answered.
    std::vector<std::uint8_t> send(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> send(const std::string &bytes);
    // A pause: ends a value written without its NUL.
    std::vector<std::uint8_t> pause();
    // The end of the data: a command left incomplete is recorded as truncated.
    std::vector<std::uint8_t> close();
    // Automatic status messages sent since the last call (GS a enabled).
    std::vector<std::uint8_t> statusMessages();
    bool dropped() const;

private:
    friend class Emulator;
    explicit Connection(std::unique_ptr<CommandStream> stream);
    std::vector<std::uint8_t> collect(std::vector<Handled> answers);
    std::unique_ptr<CommandStream> stream_;
};

class Emulator {
public:
    // Builds the model's printer: profile, overrides, state file. Throws
    // EmulatorError for an unknown model, a bad override or a state file
    // that cannot be read (the file is left as it is). Printers of a fleet
    // share one `loop`; finish() stops it for all of them.
    explicit Emulator(EmulatorOptions options, std::shared_ptr<EventLoop> loop = nullptr);
    ~Emulator(); // stop()
    Emulator(const Emulator &) = delete;
    Emulator &operator=(const Emulator &) = delete;

    // Serves TCP clients on host:port, all at once; gives the port bound.
    std::uint16_t listenTcp(const std::string &host = "127.0.0.1", std::uint16_t port = 0);
    // Opens a raw pseudo-terminal, with a symbolic link to it when `link`
    // is given; gives the path to open (the link, else the slave device).
    std::string openPty(const std::filesystem::path &link = {});
    // Serves an open descriptor (a terminal is set raw), e.g. the device
    // side of a umockdev usblp node; closes it when done if `takeOwnership`.
    // Throws EmulatorError for a descriptor that cannot be served.
    void serveFd(int fd, bool takeOwnership = false);
    std::unique_ptr<Connection> connect();

    // Serves the control socket at `path` (see control_commands.h) for
    // this printer. Throws EmulatorError when it cannot be made.
    void listenControl(const std::filesystem::path &path);

    void setFaults(const FaultOptions &faults);
    FaultOptions faults() const;
    // Status conditions: what DLE EOT answers; with the cover open or the
    // paper out nothing is printed.
    void setCondition(Condition condition, bool on);
    Conditions conditions() const;

    const std::string &model() const { return options_.model; }
    ModelProfile profile() const;
    PrinterState state() const;
    std::string parameter(int number) const; // "" when unset
    bool unlocked() const;
    std::vector<TranscriptEntry> transcript() const;
    std::size_t transcriptCount() const;
    // Waits until `count` commands have been recorded; false on time-out.
    bool waitForTranscript(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits until a command whose transcript name starts with `prefix`
    // ("FS p", "GS g 8 n=39") has been recorded; false on time-out.
    bool waitForCommand(const std::string &prefix, std::chrono::milliseconds timeout) const;
    PaperImage paper() const;
    Status writePaper(const std::filesystem::path &path) const;

    // Stops every transport, then writes the paper image and the state
    // file. The status names every failure, those of the transports while
    // running included. Later calls give the same status.
    Status finish();
    // finish() for callers that check the files themselves (the destructor,
    // test rigs).
    void stop();

private:
    void serve(int fd, bool takeOwnership, PeerKind kind);
    void addError(const std::string &error);

    EmulatorOptions options_;
    std::unique_ptr<Printer> printer_;
    std::shared_ptr<EventLoop> loop_;
    std::vector<std::unique_ptr<PtyLink>> ptys_;
    std::atomic<int> connections_{0};
    std::mutex mutex_; // guards ptys_ and errors_
    std::vector<std::string> errors_;
    std::mutex finishMutex_;
    std::optional<Status> finished_;
};

} // namespace kt::emu
