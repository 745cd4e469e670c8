// Start-up, EXIT, window close and HELP.
#include "session/form_handlers.h"

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
    HandlerRig()
    {
        rig.view.at("Combo1").text = "COM1";
        rig.view.setItems("comboInterChars", {"0 - U.S.A.", "1 - France"});
    }
    SessionRig rig;
    ScriptedLauncher launcher;
    RecordingHost host{rig.serial};
    session::LogHistory log{rig.view};
    session::FormHandlers handlers{
        {rig.view, rig.state, rig.ports, rig.exchanger, log, rig.messages, launcher, host}};
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

TEST(Help, OpensTheHelpFileInTheFirstViewerFound)
{
    struct Row {
        std::vector<std::string> installed;
        std::string viewer;
    };
    const Row rows[] = {
        {{"xdg-open", "gedit"}, "xdg-open"},
        {{"mousepad", "gedit"}, "gedit"},
        {{}, "xdg-open"}, // none found: the platform says why it cannot start
    };
    WithHelpFile here;
    for (const Row &r : rows) {
        HandlerRig h;
        h.launcher.installed = r.installed;
        h.handlers.cmdHELP_Click();
        ASSERT_EQ(h.launcher.started.size(), 1u);
        EXPECT_EQ(h.launcher.started[0].first, r.viewer);
        EXPECT_EQ(h.launcher.started[0].second, std::vector<std::string>{"KT_SW_Help.txt"});
        EXPECT_TRUE(h.rig.messages.shown.empty());
    }
}

TEST(Help, AViewerThatCannotStartIsReportedWithoutEndingTheRun)
{
    WithHelpFile here;
    HandlerRig h;
    h.launcher.starts = false;
    h.handlers.cmdHELP_Click();
    ASSERT_EQ(h.rig.messages.shown.size(), 1u);
    EXPECT_NE(h.rig.messages.shown[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_NE(h.rig.messages.shown[0].text.find("KT_SW_Help.txt"), std::string::npos);
    EXPECT_TRUE(h.host.steps.empty());
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
