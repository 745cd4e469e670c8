// Asks every address of a range, on one TCP port, for the maker, the model
// and the firmware: a fixed number of workers, each address bounded by its
// connect and reply time-outs, the whole sweep by a total bound.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "address_range.h"

namespace kt::ktsw {

struct SweepOptions {
    std::uint16_t port = 9100;
    int jobs = 64;
    int connectMs = 500;
    int replyMs = 500;
    int totalMs = 600000; // no address is started after this
};

struct FoundPrinter {
    std::string address;
    std::uint16_t port = 0;
    std::string maker, model, firmware;
};

struct SweepResult {
    std::vector<FoundPrinter> printers; // in address order
    int silent = 0;                     // no connection within the time-out, or no answer
    int refused = 0;                    // refused or unreachable
    int others = 0;                     // answered, but not as a printer of the maker
    int notTried = 0;                   // left when the total bound passed
};

SweepResult sweep(const AddressRange &range, const SweepOptions &options);

} // namespace kt::ktsw
