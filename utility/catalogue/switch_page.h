// A switch page as the catalogue sees it: eight option pairs and eight
// meaning labels, and the display and caption procedures that work on it.
//
// Nothing here knows about widgets: the window copies a page from its
// controls, runs a procedure, and copies the result back; a command line
// does the same with a page of its own.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kt::catalogue {

struct BitRow {
    // true: the ON option is selected (bit value 0); false: OFF (bit value 1).
    bool on = false;
    // FontBold of each option; nullopt while no procedure has set it.
    std::optional<bool> onBold;
    std::optional<bool> offBold;
    // The meaning label's caption, and whether a caption procedure wrote it.
    std::string caption;
    bool written = false;
};

struct SwitchPage {
    int switchNo = 1;              // 1 to 4
    std::array<BitRow, 8> bits{};  // index 0 = bit 1 (weight 1)
};

// The page as the window is designed: every OFF option selected, the labels
// showing their design-time equals-sign captions.
SwitchPage designTimePage(int switchNo);
std::string designTimeCaption(int switchNo, int index);

// Caption procedure describeSW1..describeSW4 for one bit index (0 to 7):
// sets bold states and writes captions according to the model.
void describe(SwitchPage &page, int index, std::string_view modelKey);

// Option click handler: select the ON or OFF option of bit index + 1, then
// run the caption procedure for it.
void click(SwitchPage &page, int index, bool onOption, std::string_view modelKey);

// Display procedure showSW1..showSW4: selects the options from value (a 1
// bit selects OFF) from bit 8 down, raising optionClicked(index) and the
// caption procedure for every option that becomes selected, then sweeps the
// caption procedure over index 0 to 7. Returns the remainder of value.
int show(SwitchPage &page, int value, std::string_view modelKey,
         const std::function<void(int index)> &optionClicked = {});

// The byte the options stand for: the sum of bitWeight over OFF options.
int encode(const SwitchPage &page);

} // namespace kt::catalogue
