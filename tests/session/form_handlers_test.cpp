// Start-up, EXIT, window close and HELP.
#include "session/form_handlers.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "session_rig.h"
#include "work_directory.h"

namespace kt::test {
namespace {

struct ScriptedLauncher : session::ProcessLauncher {
    bool available(const std::string &program) const override
    {
        return std::find(installed.begin(), installed.end(), program) != installed.end();
    }
    session::IoStatus startDetached(const std::string &program,
                                    const std::vector<std::string> &arguments) override
    {
        started.emplace_back(program, arguments);
        if (!starts)
            return session::IoStatus::failure(1, "No such file or directory", program);
        return session::IoStatus::success();
    }
    std::vector<std::string> installed;
    bool starts = true;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
};

// Records the window system's steps, and the port state at each.
struct RecordingHost : session::WindowHost {
    explicit RecordingHost(FakeSerial &s) : serial(s) { }
    void unloadWindow() override
    {
        steps.emplace_back(serial.open ? "unload, port open" : "unload");
    }
    void endProgram() override { steps.emplace_back("end"); }
    FakeSerial &serial;
    std::vector<std::string> steps;
};

struct HandlerRig {
    explicit HandlerRig(std::vector<std::string> helpDirectories = {})
        : handlers(
            {rig.view, rig.state, rig.ports, rig.exchanger, log, rig.messages, launcher, host},
            std::move(helpDirectories))
    {
        rig.view.at("Combo1").text = "COM1";
        rig.view.setItems("comboInterChars", {"0 - U.S.A.", "1 - France"});
    }
    SessionRig rig;
    ScriptedLauncher launcher;
    RecordingHost host{rig.serial};
    session::LogHistory log{rig.view};
    session::FormHandlers handlers;
};

TEST(FormLoad, TakesThePortFromTheListAndSetsTheStartState)
{
    HandlerRig h;
    h.rig.state.makerName = "TALVORIN";
    h.rig.state.bitWeight = {};
    h.rig.state.dataChanged = h.rig.state.revertingTab = true;
    h.rig.view.at("txtSTATUS").text = "design";
    h.handlers.Form_Load();
    EXPECT_EQ(h.rig.state.portName, "COM1");
    EXPECT_EQ(h.rig.state.portKind, "COM");
    EXPECT_EQ(h.rig.state.makerName, "**");
    EXPECT_EQ(h.rig.state.bitWeight, (std::array<std::int16_t, 8>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_FALSE(h.rig.state.dataChanged);
    EXPECT_FALSE(h.rig.state.revertingTab);
    EXPECT_EQ(h.rig.view.at("comboInterChars").text, "0 - U.S.A.");
    EXPECT_EQ(h.rig.view.at("txtSTATUS").text, "design") << "closed equals the last state shown";
    EXPECT_EQ(h.rig.serial.openRequests, 0) << "nothing is opened at start-up";
}

TEST(Exit, ExitAndWindowCloseCloseThePortAndEndTheRun)
{
    struct Row {
        bool byExit;
        std::vector<std::string> steps; // the window system's, in order
    };
    const Row rows[] = {
        {true, {"unload", "end"}}, {false, {}}, // the window system closes the window itself
    };
    for (const Row &r : rows) {
        HandlerRig h;
        h.handlers.Form_Load();
        h.rig.serial.open = true;
        if (r.byExit)
            h.handlers.cmdEXIT_Click();
        else
            h.handlers.Form_Unload();
        EXPECT_FALSE(h.rig.serial.open) << "closed before the window unloads";
        EXPECT_EQ(h.host.steps, r.steps);
        EXPECT_TRUE(h.rig.state.ending) << "whatever was running stops where it is";
    }

    HandlerRig h;
    h.rig.serial.open = true;
    h.handlers.exitProgram(); // the protocol's way out does what EXIT does
    EXPECT_FALSE(h.rig.serial.open);
    EXPECT_EQ(h.host.steps, (std::vector<std::string>{"unload", "end"}));
}

// A work directory that holds the help file, as the program's own does.
struct WithHelpFile : WorkDirectory {
    WithHelpFile() { write(session::kHelpFileName, "help\n"); }
};

using Text = std::pair<std::string, std::string>; // title, text of a text window

TEST(Help, OpensTheHelpFileInTheFirstViewerFoundElseShowsItsText)
{
    struct Row {
        std::vector<std::string> installed;
        bool starts;
        std::string viewer; // "" when none is started
        bool textShown;
    };
    const Row rows[] = {
        {{"xdg-open", "gedit"}, true, "xdg-open", false},
        {{"mousepad", "gedit"}, true, "gedit", false},
        {{}, true, "", true},                    // nothing installed: the utility's own window
        {{"xdg-open"}, false, "xdg-open", true}, // the viewer does not start: the same
    };
    WithHelpFile here;
    for (const Row &r : rows) {
        HandlerRig h;
        h.launcher.installed = r.installed;
        h.launcher.starts = r.starts;
        h.handlers.cmdHELP_Click();
        ASSERT_EQ(h.launcher.started.size(), r.viewer.empty() ? 0u : 1u);
        if (!r.viewer.empty()) {
            EXPECT_EQ(h.launcher.started[0].first, r.viewer);
            EXPECT_EQ(h.launcher.started[0].second, std::vector<std::string>{"KT_SW_Help.txt"});
        }
        const std::vector<Text> shown{{"KT_SW_Help.txt", "help\n"}};
        EXPECT_EQ(h.rig.messages.texts, r.textShown ? shown : std::vector<Text>{});
        EXPECT_TRUE(h.rig.messages.shown.empty());
        EXPECT_TRUE(h.host.steps.empty());
    }
}

// The current directory's file first, as the window has always opened it,
// then the program's directories in order; relative ones are never asked.
TEST(Help, TakesTheCurrentDirectoryFirstThenTheInstalledCopies)
{
    WorkDirectory here;
    const std::string first = here.path() + "/program";
    const std::string second = here.path() + "/share/doc/kt-sw-utility";
    std::filesystem::create_directories(first);
    std::filesystem::create_directories(second);
    struct Row {
        std::vector<std::string> filesIn; // "." is the current directory
        std::vector<std::string> directories;
        std::string opened;
    };
    const Row rows[] = {
        {{".", first, second}, {first, second}, "KT_SW_Help.txt"},
        {{first, second}, {first, second}, first + "/KT_SW_Help.txt"},
        {{second}, {first, second}, second + "/KT_SW_Help.txt"},
        {{"program"}, {"program", second}, ""}, // relative: not asked
    };
    for (const Row &r : rows) {
        for (const std::string &dir : {std::string("."), first, second})
            std::filesystem::remove(std::filesystem::path(dir) / "KT_SW_Help.txt");
        for (const std::string &dir : r.filesIn)
            std::ofstream(std::filesystem::path(dir) / "KT_SW_Help.txt") << "help\n";
        HandlerRig h(r.directories);
        h.launcher.installed = {"xdg-open"};
        h.handlers.cmdHELP_Click();
        if (r.opened.empty()) {
            EXPECT_TRUE(h.launcher.started.empty());
            ASSERT_EQ(h.rig.messages.shown.size(), 1u);
            continue;
        }
        ASSERT_EQ(h.launcher.started.size(), 1u);
        EXPECT_EQ(h.launcher.started[0].second, std::vector<std::string>{r.opened});
    }
}

TEST(Help, AHelpFileThatCannotBeShownEitherIsReportedWithTheViewersReason)
{
    WorkDirectory here;
    here.write(session::kHelpFileName, std::string((1 << 20) + 1, 'x')); // not a help text
    HandlerRig h;
    h.launcher.installed = {"xdg-open"};
    h.launcher.starts = false;
    h.handlers.cmdHELP_Click();
    EXPECT_TRUE(h.rig.messages.texts.empty());
    ASSERT_EQ(h.rig.messages.shown.size(), 1u);
    EXPECT_EQ(h.rig.messages.shown[0].text,
              "Could not start xdg-open for KT_SW_Help.txt:\r\nNo such file or directory\r\n"
              "The help file KT_SW_Help.txt could not be read either.");
    EXPECT_EQ(h.rig.messages.shown[0].icon, session::MessageIcon::Critical);
}

TEST(Help, AMissingHelpFileIsReportedWithTheDirectorySearched)
{
    WorkDirectory here;
    HandlerRig h;
    h.launcher.installed = {"xdg-open"};
    h.handlers.cmdHELP_Click();
    EXPECT_TRUE(h.launcher.started.empty()) << "no viewer left to say nothing";
    ASSERT_EQ(h.rig.messages.shown.size(), 1u);
    EXPECT_EQ(h.rig.messages.shown[0].text,
              "The help file KT_SW_Help.txt was not found in " + here.path() + ".");
    EXPECT_EQ(h.rig.messages.shown[0].icon, session::MessageIcon::Critical);
    EXPECT_TRUE(h.host.steps.empty());
}

TEST(LogClear, EmptiesTheLogAndTheNextLineHasNoSeparator)
{
    HandlerRig h;
    h.log.addLog("getSW1-->146");
    h.handlers.cmdCLEARlst_Click();
    EXPECT_EQ(h.rig.view.at("txtLOG").text, "");
    h.log.addLog("getSW2-->0");
    EXPECT_EQ(h.rig.view.at("txtLOG").text, "getSW2-->0");
}

} // namespace
} // namespace kt::test
