// Runs the built ktsw program and checks its exit status and output.
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "temp_file.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome ktsw(std::vector<std::string> args)
{
    kt::test::TempFile out, err;
    args.insert(args.begin(), KTSW_PATH);
    std::vector<char *> argv;
    argv.reserve(args.size() + 1);
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.path().c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.path().c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = 0;
    Outcome run;
    const int rc = posix_spawn(&pid, KTSW_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int wstatus = 0;
    if (rc == 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus))
        run.status = WEXITSTATUS(wstatus);
    run.out = out.contents();
    run.err = err.contents();
    return run;
}

TEST(KtswExplain, BadArgumentsExitWithStatusTwo)
{
    const std::vector<std::string> base = {"explain", "--model", "KT-4000"};
    struct Case {
        std::vector<std::string> extra;
        const char *message;
    };
    const Case cases[] = {
        {{"--switch", "5", "--value", "0"}, "unknown switch '5'"},
        {{"--switch", "one", "--value", "0"}, "unknown switch"},
        {{"--switch", "1", "--value", "256"}, "0 to 255"},
        {{"--switch", "1", "--value", "12x"}, "0 to 255"},
        {{"--switch", "1", "--value", "0", "--select", "9=ON"}, "malformed --select '9=ON'"},
        {{"--switch", "1", "--value", "0", "--select", "1=on"}, "malformed --select"},
        {{"--switch", "1", "--value", "0", "--select", "1"}, "malformed --select"},
        {{"--switch", "1", "--value"}, "--value needs a value"},
        {{"--switch", "1", "--value", "0", "--frobnicate"}, "unknown option '--frobnicate'"},
        {{"--switch", "1", "--value", "0", "extra"}, "unknown option 'extra'"},
        {{"--switch", "1"}, "missing --value"},
        {{"--switch", "1", "--switch", "2", "--value", "0"}, "given twice"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = base;
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Outcome run = ktsw(args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(ktsw({"explain", "--switch", "1", "--value", "0"}).status, 2); // no --model
    EXPECT_EQ(ktsw({}).status, 2);
    EXPECT_EQ(ktsw({"frobnicate"}).status, 2);
}

TEST(KtswExplain, HelpPrintsUsage)
{
    for (const auto &args :
         {std::vector<std::string>{"--help"}, std::vector<std::string>{"explain", "--help"}}) {
        const Outcome run = ktsw(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("explain"), std::string::npos);
        EXPECT_NE(run.out.find("--model NAME"), std::string::npos);
    }
}

TEST(KtswExplain, JsonIsOneObjectWithEveryBit)
{
    const Outcome run
        = ktsw({"explain", "--model", "KT-1700", "--switch", "2", "--value", "1", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"model\": \"KT-1700\", \"switch\": 2, \"value\": 1, \"bits\": ["
              "{\"bit\": 1, \"state\": \"OFF\", \"written\": true, \"caption\": \"Unknown\", "
              "\"bold\": true}, "
              "{\"bit\": 2, \"state\": \"ON\", \"written\": false, \"caption\": null, "
              "\"bold\": true}, "
              "{\"bit\": 3, \"state\": \"ON\", \"written\": true, "
              "\"caption\": \"Cut Paper When cover closed\", \"bold\": true}, "
              "{\"bit\": 4, \"state\": \"ON\", \"written\": true, \"caption\": \"Full cut paper\", "
              "\"bold\": true}, "
              "{\"bit\": 5, \"state\": \"ON\", \"written\": true, "
              "\"caption\": \"Raster bitmap print mode = Line printing\", \"bold\": true}, "
              "{\"bit\": 6, \"state\": \"ON\", \"written\": true, "
              "\"caption\": \"Parity check = EVEN\", \"bold\": true}, "
              "{\"bit\": 7, \"state\": \"ON\", \"written\": true, "
              "\"caption\": \"Handshaking = XON/XOFF\", \"bold\": true}, "
              "{\"bit\": 8, \"state\": \"ON\", \"written\": true, \"caption\": \"<CR> Valid\", "
              "\"bold\": true}]}\n");
}

TEST(KtswExplain, JsonEscapesCaptionsAndModel)
{
    const Outcome twoLine
        = ktsw({"explain", "--model", "ZN-PRINTER", "--switch", "2", "--value", "0", "--json"});
    EXPECT_NE(twoLine.out.find("\"caption\": \"Hardware Switch1 = Invalid\\r\\n(Software switch "
                               "instead of hardware switch)\""),
              std::string::npos)
        << twoLine.out;

    const Outcome odd = ktsw({"explain", "--model", "A\"\\\x01\t\xc3\xa9\xff", "--switch", "4",
                              "--value", "0", "--json"});
    ASSERT_EQ(odd.status, 0);
    EXPECT_EQ(odd.out.rfind("{\"model\": \"A\\\"\\\\\\u0001\\t\xc3\xa9\\u00FF\", ", 0), 0u)
        << odd.out;
    // Nothing on soft switch 4 is written for an unknown model, and the
    // never-marked bit 3 has no bold state.
    EXPECT_NE(odd.out.find("{\"bit\": 3, \"state\": \"ON\", \"written\": false, \"caption\": "
                           "null, \"bold\": null}"),
              std::string::npos);
}

TEST(KtswExplain, SelectionsRunAsClicksInOrder)
{
    const auto bit5 = [](const std::vector<std::string> &selects) {
        std::vector<std::string> args
            = {"explain", "--model", "KT-9100X", "--switch", "3", "--value", "224", "--json"};
        for (const std::string &s : selects) {
            args.emplace_back("--select");
            args.push_back(s);
        }
        const Outcome run = ktsw(args);
        const auto at = run.out.find("{\"bit\": 5, ");
        return at == std::string::npos ? run.out : run.out.substr(at, run.out.find('}', at) - at);
    };
    EXPECT_NE(bit5({}).find("\"Print Density = 105%\""), std::string::npos);
    EXPECT_NE(bit5({"6=OFF"}).find("\"Print Density = 110%\""), std::string::npos);
    EXPECT_NE(bit5({"6=OFF", "8=OFF"}).find("\"Print Density = 105%\""), std::string::npos);
}

TEST(KtswExplain, TextOutputListsEveryBit)
{
    const Outcome run = ktsw({"explain", "--model", "KT-4000", "--switch", "4", "--value", "0"});
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("bit 1: ON   bold    \"Beep sound after Cut paper = Enabled\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("bit 3: ON   unset   \""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("(design-time)"), std::string::npos);
}

} // namespace
