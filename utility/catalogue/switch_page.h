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

// bitWeight: the weight of bit index + 1 in the switch byte.
inline constexpr std::array<int, 8> kBitWeight{1, 2, 4, 8, 16, 32, 64, 128};

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
    int switchNo = 1;             // 1 to 4
    std::array<BitRow, 8> bits{}; // index 0 = bit 1 (weight 1)
};

// The page as the window is designed: every OFF option selected, the labels
// showing their design-time equals-sign captions, no bold state set.
// designTimeCaption is empty for a switch or index out of range.
SwitchPage designTimePage(int switchNo);
std::string designTimeCaption(int switchNo, int index);

// Caption procedure describeSW1..describeSW4 for one bit index (0 to 7):
// sets bold states and writes captions according to the model. An index
// outside 0 to 7, or a page of a switch other than 1 to 4, changes nothing.
void describe(SwitchPage &page, int index, std::string_view modelKey);

// Option click handler: select the ON or OFF option of bit index + 1, then
// run the caption procedure for it (also when the option was selected
// already). An index outside 0 to 7 changes nothing.
void click(SwitchPage &page, int index, bool onOption, std::string_view modelKey);

// Display procedure showSW1..showSW4: selects the options from value (a 1
// bit selects OFF) from bit 8 down, subtracting the weight of every OFF bit,
// and reports through optionClicked(index) each bit whose selected option
// changes. This step runs no caption procedure: all captions come from the
// sweep that follows, over index 0 to 7 in ascending order. Returns the
// remainder of value (0 for 0 to 255; a larger value shows every bit whose
// weight still fits as OFF, a negative one shows all bits ON).
int show(SwitchPage &page, int value, std::string_view modelKey,
         const std::function<void(int index)> &optionClicked = {});

// The byte the options stand for: the sum of bitWeight over OFF options.
int encode(const SwitchPage &page);

} // namespace kt::catalogue
