// The printer a model plays: its identity, paper, memory and the default
// value of every parameter. One profile per model name of the catalogue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "status.h"

namespace kt::emu {

struct ModelProfile {
    std::string model;                         // GS I C
    std::string maker;                         // GS I B; holds the maker word the utility looks for
    std::string firmware;                      // GS I A
    std::string serial;                        // GS I D
    std::string fontRom;                       // GS I E
    std::optional<std::uint16_t> usbProductId; // vendor 5e1b
    int paperWidthDots = 576;
    std::size_t nvCapacity = 256 * 1024;   // bytes of NV image data FS q may store
    std::map<int, std::string> parameters; // default value per parameter number
};

// Every model name the catalogue knows, in a stable order.
std::vector<std::string> catalogueModelNames();

// The profile of a catalogue model, or nothing for an unknown name.
std::optional<ModelProfile> findProfile(std::string_view model);

// Changes one field of a profile: the identity keys (model, maker,
// firmware, serial, font_rom), usb_pid (hex), paper_width, nv_capacity, or
// any parameter key of the parameter table.
Status applyOverride(ModelProfile &profile, std::string_view key, std::string_view value);

// A key applyOverride accepts, for the program's help text.
struct OverrideKey {
    std::string key;
    std::string meaning; // "soft switch 1 (parameter 39)"
    std::string range;   // "0..255"
};
std::vector<OverrideKey> overrideKeys();

} // namespace kt::emu
