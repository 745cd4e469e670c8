// Read Settings, Write Settings and the tab change prompt of the whole
// window against the emulator. Writes are checked in what the printer keeps
// over a restart from its state file: exactly the settings written change.
#include <functional>
#include <map>

#include <QRadioButton>
#include <gtest/gtest.h>

#include "catalogue/models.h"
#include "core/parameters.h"
#include "e2e_expectations.h"
#include "protocol/language_lists.h"
#include "temp_file.h"

namespace kt::test {
namespace {

namespace param = emu::param;

constexpr const char *kNoChange = "There is no data changed...";
constexpr const char *kRepower = "After writed software switch, please re-power on printer!!";

int switchParameter(int switchNo) { return param::SoftSwitch1 + switchNo - 1; }

const std::string &lastMessage(EmulatorRig &rig)
{
    static const std::string none;
    const auto &shown = rig.messages().shown;
    return shown.empty() ? none : shown.back().text;
}

// A printer of the model that keeps its settings in `file` over a restart.
emu::EmulatorOptions keptIn(const test::TempFile &file, const char *model)
{
    emu::EmulatorOptions options;
    options.model = model;
    options.stateFile = file.path();
    return options;
}

// Code page 19 and what goes with it, as tab 5 shows and writes them.
constexpr int kEuroCodePage = 8;   // "19 - 858 Multilingual (Latin+Euro)"
constexpr int kUkCharacterSet = 3; // "3 - U.K."

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char *name;
    const char *model;
    std::vector<int> communicationReads;
    std::vector<int> readTabs; // switch tabs whose Read Settings queries the printer
};

void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }

class ReadSettings : public ::testing::TestWithParam<ReadCase> { };

TEST_P(ReadSettings, ReadsThePageOnScreenAndLeavesNothingToWrite)
{
    const ReadCase &c = GetParam();
    emu::EmulatorOptions options;
    options.model = c.model;
    EmulatorRig rig(Transport::Tcp, options);
    ExpectedPages pages = runCommunicationTest(rig, c.communicationReads);

    // The printer changes behind the window's back (soft switch 4 bit 8
    // stays 0, so soft switch 1 stays in force).
    const int changed[] = {85, 170, 15, 102};
    for (int sw = 1; sw <= 4; ++sw)
        writeParameter(*rig.printer, switchParameter(sw), std::to_string(changed[sw - 1]));
    writeParameter(*rig.printer, param::CodePage, "19");
    writeParameter(*rig.printer, param::LanguageModel, "MULTILINGUAL(EURO)");
    writeParameter(*rig.printer, param::InterChars, "3");
    writeParameter(*rig.printer, param::New8x16Font, "ON");

    const session::FormView &view = rig.view();
    for (int tab : {0, 6}) {
        rig.selectTab(tab);
        EXPECT_FALSE(view.enabled("cmd1")) << "tab " << tab;
    }
    for (int tab = 1; tab <= 5; ++tab) {
        SCOPED_TRACE("tab " + std::to_string(tab));
        rig.selectTab(tab);
        const std::size_t from = rig.printer->transcriptCount();
        rig.press("cmd1");
        const std::vector<std::string> sent = rig.commandsSince(from);
        EXPECT_FALSE(anyWrite(sent));
        if (tab <= 4) {
            const bool reads = std::ranges::count(c.readTabs, tab) > 0;
            EXPECT_EQ(sent.size(), reads ? 1u : 0u);
            EXPECT_EQ(switchReads(sent), reads ? std::vector<int>{tab} : std::vector<int>{});
            if (reads)
                pages.read(tab, changed[tab - 1]);
            expectPageShown(view, pages.page(tab));
        } else {
            EXPECT_EQ(view.text("lblLANG_INFO(0)"), "MULTILINGUAL(EURO)");
            EXPECT_EQ(view.text("lblLANG_INFO(2)"), "19");
            EXPECT_EQ(view.text("comboCodePage"), protocol::kCodePageItems[kEuroCodePage]);
            EXPECT_EQ(view.text("comboCodePageName"), protocol::kCodePageNameItems[kEuroCodePage]);
            EXPECT_EQ(view.text("lblLANG_INFO(3)"), "3");
            EXPECT_EQ(view.text("comboInterChars"), "3 - U.K.");
            EXPECT_EQ(view.text("lblLANG_INFO(5)"), "ON");
            EXPECT_EQ(view.text("comboNew8x16"), " ON");
        }
        // What was just read counts as unchanged.
        const std::size_t beforeWrite = rig.printer->transcriptCount();
        rig.press("cmd2");
        EXPECT_EQ(lastMessage(rig), kNoChange);
        EXPECT_EQ(rig.printer->transcriptCount(), beforeWrite);
    }
}

// -------------------------------------------------------- writing, kept

struct WriteCase {
    const char *name;
    Transport transport;
    const char *model;
    std::vector<int> communicationReads;
};

void PrintTo(const WriteCase &c, std::ostream *os) { *os << c.name; }

class WriteEveryPage : public ::testing::TestWithParam<WriteCase> { };

TEST_P(WriteEveryPage, ThePrinterKeepsExactlyWhatWasWritten)
{
    const WriteCase &c = GetParam();
    if (!transportAvailable(c.transport))
        GTEST_SKIP() << "needs umockdev-wrapper";
    const test::TempFile stateFile(false);
    const emu::EmulatorOptions options = keptIn(stateFile, c.model);
    EmulatorRig rig(c.transport, options);
    runCommunicationTest(rig, c.communicationReads);
    emu::PrinterState expected = rig.printer->state();

    // Bits flipped per switch; soft switch 4 bit 8 is left alone.
    const int flips[] = {0x81, 0x42, 0x24, 0x18};
    for (int sw = 1; sw <= 4; ++sw) {
        SCOPED_TRACE("soft switch " + std::to_string(sw));
        std::string &stored = expected.parameters[switchParameter(sw)];
        const int mask = flips[sw - 1];
        rig.selectTab(sw);
        for (int k = 0; k < 8; ++k)
            if (mask & (1 << k))
                rig.flipBit(sw, k);
        EXPECT_TRUE(rig.writeSettings());
        EXPECT_EQ(lastMessage(rig), kRepower);
        stored = std::to_string(std::stoi(stored) ^ mask);
    }

    rig.selectTab(5);
    rig.choose("comboCodePage", kEuroCodePage);
    rig.choose("comboInterChars", kUkCharacterSet);
    const bool thai = catalogue::hasThaiFontPass(c.model);
    if (thai)
        rig.choose("comboTHAI", 1); // "249 - Thai 3 Pass"
    rig.choose("comboNew8x16", 1);  // " ON" never equals its caption: the tab counts as changed
    EXPECT_TRUE(rig.writeSettings());
    EXPECT_EQ(lastMessage(rig), kRepower);
    expected.parameters[param::CodePage] = "19";
    expected.parameters[param::LanguageModel] = "MULTILINGUAL(EURO)";
    expected.parameters[param::InterChars] = "3";
    expected.parameters[param::New8x16Font] = "ON";
    if (thai)
        expected.parameters[param::ThaiFontPass] = "249";

    EXPECT_EQ(rig.programEnds(), 0);
    EXPECT_FALSE(rig.printer->unlocked()) << "every write group ends with the lock command";
    EXPECT_EQ(rig.stateAfterRestart().parameters, expected.parameters);
}

// ------------------------------------------------- writing, program ends

struct EndingWriteCase {
    const char *name;
    const char *model;
    std::vector<int> communicationReads;
    int tab;
    std::function<void(EmulatorRig &)> change;
    std::map<int, std::string> stored;
};

void PrintTo(const EndingWriteCase &c, std::ostream *os) { *os << c.name; }

class TcpWrite : public ::testing::TestWithParam<EndingWriteCase> { };

TEST_P(TcpWrite, EndsTheProgramAfterTheRepowerMessage)
{
    const EndingWriteCase &c = GetParam();
    const test::TempFile stateFile(false);
    const emu::EmulatorOptions options = keptIn(stateFile, c.model);
    EmulatorRig rig(Transport::Tcp, options);
    runCommunicationTest(rig, c.communicationReads);
    emu::PrinterState expected = rig.printer->state();
    for (const auto &[number, value] : c.stored)
        expected.parameters[number] = value;

    rig.selectTab(c.tab);
    c.change(rig);
    EXPECT_TRUE(rig.writeSettings());

    EXPECT_EQ(lastMessage(rig), kRepower);
    EXPECT_EQ(rig.programEnds(), 1);
    EXPECT_EQ(rig.window->host.messagesWhenEnded, rig.messages().shown.size())
        << "the program ends once the re-power message is closed";
    EXPECT_FALSE(rig.window->form.isVisible());
    EXPECT_EQ(rig.stateAfterRestart().parameters, expected.parameters);
}

struct BaudCase {
    const char *name;
    int bit;
    bool ends;
};

void PrintTo(const BaudCase &c, std::ostream *os) { *os << c.name; }

class ZnSerialSwitch1Write : public ::testing::TestWithParam<BaudCase> { };

TEST_P(ZnSerialSwitch1Write, EndsTheProgramOnlyWhenTheBaudRateChanges)
{
    const BaudCase &c = GetParam();
    const test::TempFile stateFile(false);
    const emu::EmulatorOptions options = keptIn(stateFile, "ZN8-PRINTER");
    EmulatorRig rig(Transport::Serial, options);
    rig.window->control<QRadioButton>("com_BR_9600")->click();
    runCommunicationTest(rig, {2, 1});
    rig.selectTab(1);
    const std::string baud9600 = "Baud Rate = 9600  ";
    ASSERT_EQ(rig.view().text("lblSW1Function(0)"), baud9600);
    const int before = switchValue(*rig.printer, 1);

    rig.flipBit(1, c.bit);
    EXPECT_EQ(rig.view().text("lblSW1Function(0)") != baud9600, c.ends);
    EXPECT_TRUE(rig.writeSettings());

    EXPECT_EQ(lastMessage(rig), kRepower);
    EXPECT_EQ(rig.programEnds(), c.ends ? 1 : 0);
    EXPECT_EQ(rig.stateAfterRestart().parameters.at(param::SoftSwitch1),
              std::to_string(before ^ (1 << c.bit)));
}

// ---------------------------------------------------- tab change prompt

struct PromptCase {
    const char *name;
    int tab; // the page changed and left
    int leaveTo;
    const char *pageName;
    const char *frame; // a frame of the page left
    std::function<void(EmulatorRig &)> change;
    // What the change alters on screen.
    std::function<std::string(const session::FormView &)> shown;
    const char *reread; // first command of reading the page again
};

void PrintTo(const PromptCase &c, std::ostream *os) { *os << c.name; }

class TabChangePrompt : public ::testing::TestWithParam<PromptCase> { };

TEST_P(TabChangePrompt, NoKeepsTheChangeAndYesReadsThePageAgain)
{
    const PromptCase &c = GetParam();
    emu::EmulatorOptions options;
    options.model = "KT-4000";
    EmulatorRig rig(Transport::Tcp, options);
    runCommunicationTest(rig, {2, 3, 4, 1});
    const session::FormView &view = rig.view();
    rig.selectTab(c.tab);
    const std::string printerValue = c.shown(view);
    c.change(rig);
    const std::string changedValue = c.shown(view);
    ASSERT_NE(changedValue, printerValue);

    RecordingMessages &messages = rig.messages();
    const std::size_t asked = messages.shown.size();
    const std::size_t from = rig.printer->transcriptCount();
    const auto expectQuestion = [&](std::size_t count) {
        ASSERT_EQ(messages.shown.size(), count);
        const RecordingMessages::Shown &m = messages.shown.back();
        EXPECT_EQ(m.text, "Are you sure to ignore <" + std::string(c.pageName) + "> settings?");
        EXPECT_EQ(m.title, "Switch Change confirm");
        EXPECT_EQ(m.buttons, session::MessageButtons::YesNo);
        EXPECT_EQ(m.icon, session::MessageIcon::None);
    };

    // No: back on the page left, the change still shown, nothing sent.
    messages.answers.push_back(session::MessageAnswer::No);
    rig.selectTab(c.leaveTo);
    expectQuestion(asked + 1);
    EXPECT_EQ(view.currentTab(), c.tab);
    EXPECT_TRUE(view.visible(c.frame));
    EXPECT_EQ(c.shown(view), changedValue);
    EXPECT_TRUE(rig.commandsSince(from).empty());

    // Yes: the new tab stays and the page left shows the printer's values.
    messages.answers.push_back(session::MessageAnswer::Yes);
    rig.selectTab(c.leaveTo);
    expectQuestion(asked + 2);
    EXPECT_EQ(view.currentTab(), c.leaveTo);
    const std::vector<std::string> sent = rig.commandsSince(from);
    EXPECT_FALSE(anyWrite(sent));
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(sent.front().starts_with(c.reread)) << sent.front();
    EXPECT_EQ(c.shown(view), printerValue);

    // Nothing is left to drop: going back asks nothing.
    rig.selectTab(c.tab);
    EXPECT_EQ(messages.shown.size(), asked + 2);
}

#ifdef KT_E2E_USB
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReadSettings);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(TcpWrite);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ZnSerialSwitch1Write);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(TabChangePrompt);
INSTANTIATE_TEST_SUITE_P(Usb, WriteEveryPage,
                         ::testing::Values(WriteCase{
                             "UsbTW86USB", Transport::Usb, "TW86_USB", {1, 2, 3, 4}}),
                         CaseName());
#else
// An option pair and its meaning, as the user sees them.
std::string option(const session::FormView &view, int switchNo, int index)
{
    return (view.checked(session::controls::optSWON(switchNo, index)) ? "ON " : "OFF ")
        + view.text(session::controls::lblSWFunction(switchNo, index));
}

INSTANTIATE_TEST_SUITE_P(
    Models, ReadSettings,
    ::testing::Values(ReadCase{"KT9100X", "KT-9100X", {1, 2, 3, 4}, {1, 2, 3, 4}},
                      ReadCase{"ZN8PRINTER", "ZN8-PRINTER", {2, 1}, {1, 2}},
                      ReadCase{"Unlisted", "KT-6700", {}, {2}}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(Serial, WriteEveryPage,
                         ::testing::Values(WriteCase{
                             "SerialKT4000", Transport::Serial, "KT-4000", {2, 3, 4, 1}}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(Pages, TcpWrite,
                         ::testing::Values(EndingWriteCase{"SoftSwitch2",
                                                           "KT-9100X",
                                                           {1, 2, 3, 4},
                                                           2,
                                                           [](EmulatorRig &rig) {
                                                               rig.flipBit(2, 0);
                                                               rig.flipBit(2, 5);
                                                           },
                                                           {{switchParameter(2), "33"}}},
                                           // A density model without the Thai setting; Katakana
                                           // brings the Japanese name and character set along.
                                           EndingWriteCase{"AdditionalSwitches",
                                                           "KT-7000",
                                                           {},
                                                           5,
                                                           [](EmulatorRig &rig) {
                                                               rig.choose("comboCodePage", 1);
                                                               rig.choose("comboDensity", 2);
                                                           },
                                                           {{param::CodePage, "1"},
                                                            {param::LanguageModel, "JAPANESE"},
                                                            {param::InterChars, "8"},
                                                            {param::PrintDensity, "2"}}}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(Bits, ZnSerialSwitch1Write,
                         ::testing::Values(BaudCase{"BaudRateBit", 0, true},
                                           BaudCase{"OtherBit", 4, false}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    Pages, TabChangePrompt,
    ::testing::Values(
        PromptCase{"SoftSwitch2", 2, 4, "SW2", "frameSW2m",
                   [](EmulatorRig &rig) { rig.flipBit(2, 3); },
                   [](const session::FormView &view) { return option(view, 2, 3); }, "GS g 4 n=40"},
        PromptCase{"AdditionalSwitch", 5, 0, "Additional Switch", "frameNew8x16",
                   [](EmulatorRig &rig) { rig.choose("comboCodePage", kEuroCodePage); },
                   [](const session::FormView &view) { return view.text("comboCodePage"); },
                   "GS g 4 n=36"}),
    CaseName());
#endif

} // namespace
} // namespace kt::test
