// Faults on request, for testing clients against a misbehaving printer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "status.h"

namespace kt::emu {

struct FaultOptions {
    bool silent = false;       // execute commands but answer nothing
    int lateMs = 0;            // answer this many milliseconds late
    bool noHeader = false;     // answer without the "_" header byte
    bool garbage = false;      // answer bytes that are no reply at all
    int dropAfter = 0;         // close the connection after this many commands (0: never)
    bool forgetWrites = false; // acknowledge parameter writes without storing them
};

struct ShapedReply {
    std::vector<std::uint8_t> bytes;
    int delayMs = 0;
    std::string note; // for the transcript; empty when nothing was changed
};

// The answer the faults make of a reply. `seed` drives the garbage bytes
// so that a run can be repeated.
ShapedReply applyFaults(const FaultOptions &faults, std::vector<std::uint8_t> reply,
                        std::uint32_t &seed);

// A description for the ready line and the transcript ("late 200 ms, no header").
std::string describeFaults(const FaultOptions &faults);

// Adds one fault given by its command-line name: "silent", "no-header",
// "garbage", "forget-writes", "late-MS" or "drop-after-N". Fails naming the
// text when it is none of these.
Status addFault(FaultOptions &faults, std::string_view name);

// The names addFault takes, for help texts.
std::string faultNames();

} // namespace kt::emu
