// ktsw explain and the commands without a printer, run as a process.
#include <gtest/gtest.h>

#include "bmp_writer.h"
#include "ktsw_process.h"
#include "temp_dir.h"

namespace kt::test {
namespace {

TEST(KtswExplain, RefusedArgumentsExitWithStatusTwo)
{
    const std::vector<std::string> base = {"explain", "--model", "KT-4000"};
    struct Case {
        std::vector<std::string> extra;
        const char *message;
    };
    const Case cases[] = {
        {{"--switch", "5", "--value", "0"}, "--switch"},
        {{"--switch", "one", "--value", "0"}, "--switch"},
        {{"--switch", "1", "--value", "256"}, "value '256' is not a number from 0 to 255"},
        {{"--switch", "1", "--value", "12x"}, "value '12x'"},
        {{"--switch", "1", "--value", "0x100"}, "value '0x100'"},
        {{"--switch", "1", "--value", "-1"}, "value '-1'"},
        {{"--switch", "1", "--value", "0", "--select", "9=ON"}, "malformed --select '9=ON'"},
        {{"--switch", "1", "--value", "0", "--select", "1=on"}, "malformed --select '1=on'"},
        {{"--switch", "1", "--value", "0", "--select", "1"}, "malformed --select"},
        {{"--switch", "1", "--value"}, "--value"},
        {{"--switch", "1", "--value", "0", "--frobnicate"}, "--frobnicate"},
        {{"--switch", "1", "--value", "0", "extra"}, "extra"},
        {{"--switch", "1"}, "--value"},
        {{"--switch", "1", "--switch", "2", "--value", "0"}, "--switch"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = base;
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Outcome run = ktsw(args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << c.message;
    }
    EXPECT_EQ(ktsw({"explain", "--switch", "1", "--value", "0"}).status, 2); // no --model
    EXPECT_EQ(ktsw({}).status, 2);
    EXPECT_EQ(ktsw({"frobnicate"}).status, 2);
}

TEST(KtswExplain, UnknownModelNeedsAnyModel)
{
    const std::vector<std::string> args
        = {"explain", "--model", "KT-0000", "--switch", "1", "--value", "0"};
    const Outcome refused = ktsw(args);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("unknown model 'KT-0000'"), std::string::npos) << refused.err;
    std::vector<std::string> anyModel = args;
    anyModel.push_back("--any-model");
    EXPECT_EQ(ktsw(anyModel).status, 0);
    // A family the catalogue recognises by its prefix is known.
    EXPECT_EQ(ktsw({"explain", "--model", "KT-9100X2", "--switch", "1", "--value", "0"}).status, 0);
}

TEST(KtswExplain, JsonIsOneObjectWithEveryBit)
{
    const Outcome run
        = ktsw({"explain", "--model", "KT-1700", "--switch", "2", "--value", "1", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto bit = [](int n, const char *state, bool written, nlohmann::json caption) {
        return nlohmann::json{{"bit", n},
                              {"state", state},
                              {"written", written},
                              {"caption", caption},
                              {"bold", true}};
    };
    const nlohmann::json expected = {
        {"model", "KT-1700"},
        {"switch", 2},
        {"value", 1},
        {"bits",
         {bit(1, "OFF", true, "Unknown"), bit(2, "ON", false, nullptr),
          bit(3, "ON", true, "Cut Paper When cover closed"), bit(4, "ON", true, "Full cut paper"),
          bit(5, "ON", true, "Raster bitmap print mode = Line printing"),
          bit(6, "ON", true, "Parity check = EVEN"), bit(7, "ON", true, "Handshaking = XON/XOFF"),
          bit(8, "ON", true, "<CR> Valid")}},
        {"byte", {{"decimal", 1}, {"hex", "0x01"}, {"binary", "00000001"}}},
    };
    EXPECT_EQ(run.json(), expected);
}

TEST(KtswExplain, JsonKeepsOddTexts)
{
    const Outcome twoLine
        = ktsw({"explain", "--model", "ZN-PRINTER", "--switch", "2", "--value", "0", "--json"});
    EXPECT_EQ(twoLine.json()["bits"][0]["caption"],
              "Hardware Switch1 = Invalid\r\n(Software switch instead of hardware switch)");

    // Control characters are escaped and a byte that is not UTF-8 is read
    // as Latin-1, so the output stays valid JSON.
    const Outcome odd = ktsw({"explain", "--model", "A\"\\\x01\t\xc3\xa9\xff", "--any-model",
                              "--switch", "4", "--value", "0", "--json"});
    ASSERT_EQ(odd.status, 0) << odd.err;
    EXPECT_EQ(odd.json()["model"], "A\"\\\x01\t\xc3\xa9\xc3\xbf");
    // Nothing on soft switch 4 is written for an unknown model, and the
    // never-marked bit 3 has no bold state.
    EXPECT_EQ(odd.json()["bits"][2],
              (nlohmann::json{{"bit", 3},
                              {"state", "ON"},
                              {"written", false},
                              {"caption", nullptr},
                              {"bold", nullptr}}));
}

TEST(KtswExplain, SelectionsRunAsClicksInOrderAndGiveTheByte)
{
    struct Case {
        std::vector<std::string> selects;
        const char *density;
        int byte;
    };
    const Case cases[] = {
        {{}, "Print Density = 105%", 224},
        {{"6=OFF"}, "Print Density = 110%", 224},
        {{"6=OFF", "8=OFF"}, "Print Density = 105%", 224},
        {{"6=ON", "1=OFF"}, "Print Density = 130%", 193},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args
            = {"explain", "--model", "KT-9100X", "--switch", "3", "--value", "0xE0", "--json"};
        for (const std::string &s : c.selects) {
            args.push_back("--select");
            args.push_back(s);
        }
        const auto json = ktsw(args).json();
        EXPECT_EQ(json["bits"][4]["caption"], c.density);
        EXPECT_EQ(json["byte"]["decimal"], c.byte);
    }
}

TEST(KtswExplain, TextOutputListsEveryBitAndTheByte)
{
    const Outcome run = ktsw({"explain", "--model", "KT-4000", "--switch", "4", "--value", "5"});
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("bit 1: OFF  bold    \"Beep sound after Cut paper = Disabled\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("bit 3: OFF  unset   \"=\" (design-time)"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("byte: 5 = 0x05 = 00000101"), std::string::npos) << run.out;
}

TEST(Ktsw, HelpVersionAndModels)
{
    const Outcome version = ktsw({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("ktsw ", 0), 0u) << version.out;
    const Outcome top = ktsw({"--help"});
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(top.out.find("Exit codes"), std::string::npos);
    for (const char *command : {"info", "status", "read", "write", "set", "selftest", "fontstest",
                                "logo", "explain", "models"}) {
        const Outcome help = ktsw({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    const Outcome models = ktsw({"models", "--json"});
    ASSERT_EQ(models.status, 0);
    const nlohmann::json names = models.json();
    ASSERT_TRUE(names.is_array());
    EXPECT_NE(std::find(names.begin(), names.end(), "KT-9100X"), names.end());
}

TEST(KtswLogo, ListShowsWhatDefineWouldStoreWithoutAPrinter)
{
    kt::test::TempDir dir;
    const std::string wide = dir.file("wide.bmp", kt::test::blackBmp(20, 9, 8));
    const std::string small = dir.file("small.bmp", kt::test::blackBmp(8, 8, 1));
    const Outcome run = ktsw({"logo", "list", "--json", wide, small});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json list = run.json();
    ASSERT_EQ(list["images"].size(), 2u);
    EXPECT_EQ(list["images"][0]["number"], 1);
    EXPECT_EQ(list["images"][0]["width"], 20);
    EXPECT_EQ(list["images"][0]["bytes"], 4 + 3 * 2 * 8);
    EXPECT_EQ(list["images"][1]["number"], 2);
    EXPECT_EQ(list["command_bytes"], 3 + 52 + 12);

    const Outcome notAnImage = ktsw({"logo", "list", dir.file("x.txt", {'x'})});
    EXPECT_EQ(notAnImage.status, 2);
    EXPECT_NE(notAnImage.err.find("neither a BMP nor a PNG"), std::string::npos) << notAnImage.err;
    EXPECT_EQ(ktsw({"logo", "list", dir.path() + "/missing.bmp"}).status, 2);
}

} // namespace
} // namespace kt::test
