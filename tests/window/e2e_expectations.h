// What the window should show, worked out with the catalogue itself: the
// switch pages a model's bytes give, and which switches the printer was
// asked for.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/switch_page.h"
#include "core/emulator.h"
#include "emulator_rig.h"
#include "session/form_view.h"

namespace kt::test {

// The four switch pages from the window's design on, through every byte
// read since, as the catalogue's display procedure shows them for one model.
class ExpectedPages {
public:
    explicit ExpectedPages(std::string model);
    void read(int switchNo, int value);
    const catalogue::SwitchPage &page(int switchNo) const { return pages_.at(switchNo - 1); }

private:
    std::string model_;
    std::array<catalogue::SwitchPage, 4> pages_;
};

// Every option pair and meaning label of the page on the window equals the
// expected one.
void expectPageShown(const session::FormView &view, const catalogue::SwitchPage &page);

// The switch numbers (1 to 4) of the soft switch reads among the commands.
std::vector<int> switchReads(const std::vector<std::string> &commandNames);
// Whether any command writes a parameter.
bool anyWrite(const std::vector<std::string> &commandNames);

// Test names from the case's own name field.
struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case> &test) const
    {
        return test.param.name;
    }
};

// The printer's soft switch byte.
int switchValue(const emu::Emulator &printer, int switchNo);

// Presses "Communication Test" and checks the outcome against the printer:
// the welcome message and no critical one, the information and language
// captions, the switches read (in that order) with their pages, which
// switch options can be changed, and the window unlocked. Gives the pages
// as they should now be shown.
ExpectedPages runCommunicationTest(EmulatorRig &rig, const std::vector<int> &expectedReads);

} // namespace kt::test
