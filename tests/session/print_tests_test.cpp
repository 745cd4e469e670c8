// The bytes of the self test and the fonts test, and what their buttons do.
#include "session/print_tests.h"

#include <gtest/gtest.h>

#include "session/form_handlers.h"
#include "session_rig.h"

namespace kt::test {
namespace {

using session::Command;

Command range(int first, int last)
{
    Command c;
    for (int b = first; b <= last; ++b)
        c.push_back(static_cast<std::uint8_t>(b));
    return c;
}

Command operator+(Command a, const Command &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Command kCrLf{0x0D, 0x0A};

TEST(PrintTests, CommandsHaveTheirExactBytes)
{
    EXPECT_EQ(session::selfTestCommand(), (Command{0x1D, 0x28, 0x41, 0x02, 0x00, 0x00, 0x02}));

    const Command font1 = Command{0x1B, 0x21, 0x01}
        + Command{'F', 'O', 'N', 'T', ':', '0', '8', 'X', '1', '6'} + kCrLf;
    const Command font2 = Command{0x1B, 0x21, 0x02}
        + Command{'F', 'O', 'N', 'T', ':', '1', '2', 'X', '2', '4'} + kCrLf;
    const Command printable = range(0x21, 0x7F) + kCrLf;
    const Command upper = range(0x80, 0xFF) + kCrLf;
    const Command end{0x1B, 0x40, 0x0D, 0x0A, 0x1B, 0x69};
    const std::vector<Command> expected{font1, printable, upper, font2, printable, upper, end};
    const std::vector<Command> fonts = session::fontsTestCommands();
    EXPECT_EQ(fonts, expected);

    std::size_t total = 0;
    for (const Command &c : fonts)
        total += c.size();
    EXPECT_EQ(total, 490u);
    EXPECT_EQ(printable.size(), 97u);
    EXPECT_EQ(upper.size(), 130u);
}

// Records every exchange with the state of the button at that moment.
struct RecordingExchanger : session::CommandExchanger {
    explicit RecordingExchanger(FakeFormView &v) : view(v) { }
    void exchangeCommand(const Command &command, std::string &mode) override
    {
        sent.push_back({command, mode, view.at(button).enabled});
        mode = "ignored reply";
    }
    struct Sent {
        Command command;
        std::string mode;
        bool buttonEnabled;
    };
    FakeFormView &view;
    std::string button;
    std::vector<Sent> sent;
};

struct ButtonRig {
    SessionRig rig;
    RecordingExchanger exchanger{rig.view};
    session::LogHistory log{rig.view};
    struct : session::ProcessLauncher {
        bool available(const std::string &) const override { return false; }
        session::IoStatus startDetached(const std::string &,
                                        const std::vector<std::string> &) override
        {
            return session::IoStatus::success();
        }
    } launcher;
    struct : session::WindowHost {
        void unloadWindow() override { }
        void endProgram() override { }
    } host;
    session::FormHandlers handlers{
        {rig.view, rig.state, rig.ports, exchanger, log, rig.messages, launcher, host}};
};

TEST(PrintTests, ButtonsAreDisabledWhileSendingThenEnabledWithTheFocus)
{
    struct Row {
        const char *button;
        void (session::FormHandlers::*click)();
        std::size_t exchanges;
        std::string mode;
    };
    const Row rows[] = {
        {"cmd01", &session::FormHandlers::cmd01_Click, 1, "R"},
        {"cmd02", &session::FormHandlers::cmd02_Click, 7, ""},
    };
    for (const Row &r : rows) {
        ButtonRig b;
        b.exchanger.button = r.button;
        (b.handlers.*r.click)();
        ASSERT_EQ(b.exchanger.sent.size(), r.exchanges) << r.button;
        for (const auto &s : b.exchanger.sent) {
            EXPECT_EQ(s.mode, r.mode);
            EXPECT_FALSE(s.buttonEnabled);
        }
        EXPECT_TRUE(b.rig.view.at(r.button).enabled);
        EXPECT_EQ(b.rig.view.focus(), r.button);
        EXPECT_EQ(b.rig.view.at("txtLOG").text, "") << "the tests write nothing to the log";
    }
}

} // namespace
} // namespace kt::test
