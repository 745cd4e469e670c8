#include "e2e_expectations.h"

#include <gtest/gtest.h>

#include "catalogue/availability.h"
#include "session/control_names.h"

namespace kt::test {
namespace {

constexpr int kSoftSwitch1 = 39; // parameters 39 to 42
const std::string kReadPrefix = "GS g 4 n=";

} // namespace

ExpectedPages::ExpectedPages(std::string model)
    : model_(std::move(model)),
      pages_{catalogue::designTimePage(1), catalogue::designTimePage(2),
             catalogue::designTimePage(3), catalogue::designTimePage(4)}
{ }

void ExpectedPages::read(int switchNo, int value)
{
    catalogue::show(pages_.at(switchNo - 1), value, model_);
}

void expectPageShown(const session::FormView &view, const catalogue::SwitchPage &page)
{
    for (int k = 0; k < 8; ++k) {
        const catalogue::BitRow &bit = page.bits[static_cast<std::size_t>(k)];
        const std::string label = session::controls::lblSWFunction(page.switchNo, k);
        EXPECT_EQ(view.checked(session::controls::optSWON(page.switchNo, k)), bit.on) << label;
        EXPECT_NE(view.checked(session::controls::optSWOFF(page.switchNo, k)), bit.on) << label;
        EXPECT_EQ(view.text(label), bit.caption) << label;
    }
}

std::vector<int> switchReads(const std::vector<std::string> &commandNames)
{
    std::vector<int> reads;
    for (const std::string &name : commandNames) {
        if (!name.starts_with(kReadPrefix))
            continue;
        const int number = std::stoi(name.substr(kReadPrefix.size()));
        if (number >= kSoftSwitch1 && number < kSoftSwitch1 + 4)
            reads.push_back(number - kSoftSwitch1 + 1);
    }
    return reads;
}

bool anyWrite(const std::vector<std::string> &commandNames)
{
    for (const std::string &name : commandNames)
        if (name.starts_with("GS g 8"))
            return true;
    return false;
}

int switchValue(const emu::Emulator &printer, int switchNo)
{
    return std::stoi(printer.parameter(kSoftSwitch1 + switchNo - 1));
}

ExpectedPages runCommunicationTest(EmulatorRig &rig, const std::vector<int> &expectedReads)
{
    const std::size_t from = rig.printer->transcriptCount();
    rig.press("cmdCommunicate");
    const session::FormView &view = rig.view();
    const emu::ModelProfile profile = rig.printer->profile();

    const auto &shown = rig.messages().shown;
    EXPECT_FALSE(shown.empty());
    if (!shown.empty()) {
        EXPECT_TRUE(shown.front().text.starts_with("Welcome to " + profile.maker
                                                   + " world.\r\n\r\nCommunication test finished."))
            << shown.front().text;
    }
    for (const auto &m : shown)
        EXPECT_NE(m.icon, session::MessageIcon::Critical) << m.text;

    const auto parameter = [&rig](int n) { return rig.printer->parameter(n); };
    const struct {
        const char *label;
        std::string value;
    } captions[] = {
        {"lblKT_INFO(0)", profile.model},
        {"lblKT_INFO(1)", profile.firmware},
        {"lblKT_INFO(2)", parameter(16)},
        {"lblKT_INFO(3)", parameter(21)},
        {"lblKT_INFO(4)", profile.serial},
        {"lblKT_INFO(5)", parameter(9)},
        {"lblKT_INFO(6)", parameter(27)},
        {"lblKT_INFO(7)", parameter(22)},
        {"lblLANG_INFO(0)", parameter(36)},
        {"lblLANG_INFO(1)", profile.fontRom},
        {"lblLANG_INFO(2)", parameter(33)},
        {"lblLANG_INFO(3)", parameter(34)},
        {"lblLANG_INFO(5)", parameter(37).empty() ? "OFF" : "ON"},
    };
    for (const auto &c : captions)
        EXPECT_EQ(view.text(c.label), c.value) << c.label;

    const std::vector<int> reads = switchReads(rig.commandsSince(from));
    EXPECT_EQ(reads, expectedReads);
    ExpectedPages pages(profile.model);
    for (int sw : reads) {
        SCOPED_TRACE("soft switch " + std::to_string(sw));
        pages.read(sw, switchValue(*rig.printer, sw));
        expectPageShown(view, pages.page(sw));
    }
    for (int sw = 1; sw <= 4; ++sw) {
        const bool changeable = catalogue::switchChangeable(sw, profile.model);
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(view.enabled(session::controls::optSWON(sw, k)), changeable);
            EXPECT_EQ(view.enabled(session::controls::optSWOFF(sw, k)), changeable);
        }
    }

    EXPECT_TRUE(view.visible("SSTab1"));
    EXPECT_FALSE(view.enabled("Combo1"));
    EXPECT_TRUE(view.enabled("cmd01"));
    EXPECT_TRUE(view.enabled("cmdCommunicate"));
    return pages;
}

} // namespace kt::test
