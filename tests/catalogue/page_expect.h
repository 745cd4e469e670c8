// Helpers for the switch page tests: run the display procedure on a
// design-time page and compare labels by bit number.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/switch_page.h"

namespace kt::test {

// Expected label per bit number (1 to 8); nullopt: no procedure wrote it.
using Labels = std::map<int, std::optional<std::string>>;
inline const std::optional<std::string> kUnwritten = std::nullopt;

struct DisplayCase {
    const char *model;
    int value;
    Labels labels;
    int switchNo = 0; // set by onSwitch
};

inline std::vector<DisplayCase> onSwitch(int switchNo, std::vector<DisplayCase> cases)
{
    for (DisplayCase &c : cases)
        c.switchNo = switchNo;
    return cases;
}

// Full display of the case's value on a design-time page (display_test.cpp);
// each switch's test file instantiates it with its cases.
class SwitchDisplay : public ::testing::TestWithParam<DisplayCase> { };

inline catalogue::SwitchPage shown(int switchNo, std::string_view model, int value)
{
    catalogue::SwitchPage page = catalogue::designTimePage(switchNo);
    catalogue::show(page, value, model);
    return page;
}

inline void expectLabels(const catalogue::SwitchPage &page, const Labels &labels)
{
    for (const auto &[bit, caption] : labels) {
        const catalogue::BitRow &row = page.bits[static_cast<std::size_t>(bit - 1)];
        if (caption) {
            EXPECT_TRUE(row.written) << "bit " << bit;
            EXPECT_EQ(row.caption, *caption) << "bit " << bit;
        } else {
            EXPECT_FALSE(row.written) << "bit " << bit << " holds \"" << row.caption << '"';
        }
    }
}

inline void PrintTo(const DisplayCase &c, std::ostream *os)
{
    *os << "switch " << c.switchNo << ' ' << c.model << " value " << c.value;
}

} // namespace kt::test
