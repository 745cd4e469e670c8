// A fleet: many independent printers served by one process and one event
// loop thread, each on its own TCP address, with its own state, model,
// serial number and faults.
//
//   kt::emu::FleetOptions o;
//   o.count = 200;                                // 200 free ports on 127.0.0.1
//   o.models = {"KT-4000", "KT-9100X"};            // cycled
//   o.faults = "silent:5,drop-after-3:2";         // printers 1-5 silent, 6-7 drop
//   kt::emu::Fleet fleet(o);                      // throws EmulatorError
//   fleet.members()[0].port;                      // where printer 1 listens
//   fleet.printer(0).parameter(39);
//
// Nothing runs per printer but its listening socket and its clients'
// conversations: an idle printer costs a few kilobytes and one descriptor.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "emulator.h"

namespace kt::emu {

class EventLoop;

struct FleetOptions {
    int count = 1;
    // What every printer starts from: model, overrides, faults, status
    // conditions, timing. Its state, paper and transcript paths are not
    // used; see the directories below.
    EmulatorOptions base;
    std::vector<std::string> models; // cycled over the printers; empty: base.model
    // Consecutive ports from `port` on `host`, or a free port each when it
    // is 0. With `addresses` (one per printer) every printer listens on its
    // own address at `port`.
    std::string host = "127.0.0.1";
    std::uint16_t port = 0;
    std::vector<std::string> addresses;
    // "silent:5,drop-after-3:2": that many printers get each fault, taken in
    // order from printer 1 on, or in an order shuffled by `seed`.
    std::string faults;
    std::optional<std::uint32_t> seed;
    // One entry per printer, named printer-0001 (more digits for a larger
    // fleet): a state file "printer-0001.state", a transcript
    // "printer-0001.log", a receipt directory "printer-0001/".
    std::optional<std::filesystem::path> stateDir;
    std::optional<std::filesystem::path> transcriptDir;
    std::optional<std::filesystem::path> paperDir;
};

// One printer of the fleet as it was set up.
struct FleetMember {
    int number = 0; // 1-based
    std::string model;
    std::string serial;
    std::string host;
    std::uint16_t port = 0;
    FaultOptions faults;
};

class Fleet {
public:
    // Builds every printer and binds every address, or throws EmulatorError
    // naming the printer that could not be set up (nothing is left running).
    explicit Fleet(FleetOptions options);
    ~Fleet(); // stop()
    Fleet(const Fleet &) = delete;
    Fleet &operator=(const Fleet &) = delete;

    const std::vector<FleetMember> &members() const { return members_; }
    std::size_t size() const { return printers_.size(); }
    Emulator &printer(std::size_t index) { return *printers_.at(index); }

    // Serves the control socket for the whole fleet ("printer N ..." picks one).
    void listenControl(const std::filesystem::path &path);

    // Stops the loop, then writes every printer's paper and state; the
    // status names every failure.
    Status finish();
    void stop();

private:
    std::shared_ptr<EventLoop> loop_;
    std::vector<std::unique_ptr<Emulator>> printers_;
    std::vector<FleetMember> members_;
    std::mutex mutex_; // guards errors_
    std::vector<std::string> errors_;
    std::optional<Status> finished_;
};

// The faults of each of `count` printers: `base` plus what `spec` assigns
// ("NAME:COUNT,..." with the fault names of addFault). Fails naming a bad
// entry, or when the counts add up to more printers than there are.
Result<std::vector<FaultOptions>> assignFleetFaults(std::string_view spec, int count,
                                                    const FaultOptions &base,
                                                    std::optional<std::uint32_t> seed);

// "127.0.0.2-127.0.0.201" into its addresses, in order. Fails for anything
// but two IPv4 addresses, the first not above the second, at most `limit`
// apart.
Result<std::vector<std::string>> parseAddressRange(std::string_view range, std::size_t limit);

// The serial number of printer `number` of a fleet: the model's serial with
// its last six characters replaced by the number, so that no two printers
// of a fleet share one.
std::string fleetSerial(const std::string &serial, int number);

} // namespace kt::emu
