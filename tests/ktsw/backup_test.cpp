// ktsw backup, diff and restore against emulated printers: round trips for
// a model of every catalogue group, and the printers and files that must
// not get a setting written.
#include <fstream>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "core/parameters.h"
#include "emulated_printer.h"
#include "temp_dir.h"

namespace kt::test {
namespace {

using nlohmann::json;
using Overrides = std::vector<std::pair<std::string, std::string>>;
namespace param = emu::param;

// Every parameter a backup can hold.
constexpr int kSettingParameters[] = {
    param::SoftSwitch1, param::SoftSwitch1 + 1, param::SoftSwitch1 + 2, param::SoftSwitch1 + 3,
    param::CodePage,    param::LanguageModel,   param::InterChars,      param::PrintDensity,
    param::New8x16Font, param::ThaiFontPass,
};

std::string writeFile(const kt::test::TempDir &dir, const std::string &name,
                      const std::string &content)
{
    const std::string path = dir.path() + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// Settings unlike every model's defaults, for the items the model has.
struct ModelCase {
    const char *model;
    bool switches34, density, thai;
};

Overrides changedSettings(const ModelCase &c)
{
    Overrides o{{"soft_switch_1", "146"},       {"soft_switch_2", "5"}, {"code_page", "17"},
                {"language_model", "CYRILLIC"}, {"intl_charset", "8"},  {"new_8x16_font", "ON"}};
    if (c.switches34)
        o.insert(o.end(), {{"soft_switch_3", "200"}, {"soft_switch_4", "37"}});
    if (c.density)
        o.emplace_back("print_density", "2");
    if (c.thai)
        o.emplace_back("thai_font_pass", "249");
    return o;
}

// Backs up `from`, restores it into `to` (which differs), and checks that
// diff sees the difference before and none after, that a second restore
// writes nothing, and that `to` then holds what `from` holds.
void roundTrip(Printer &from, const std::string &fromPort, Printer &to, const std::string &toPort,
               const std::set<std::string> &expectedKeys)
{
    kt::test::TempDir dir;
    const std::string file = dir.path() + "/printer.json";
    const Outcome backup = onPrinter(fromPort, {"backup", "-o", file});
    ASSERT_EQ(backup.status, 0) << backup.err;
    const json settings = backup.json()["settings"];
    EXPECT_EQ(std::set<std::string>(settings.begin(), settings.end()), expectedKeys);

    const Outcome before = onPrinter(toPort, {"diff", file});
    EXPECT_EQ(before.status, 1) << before.err;
    EXPECT_FALSE(before.json()["differences"].empty());

    const Outcome restore = onPrinter(toPort, {"restore", file});
    ASSERT_EQ(restore.status, 0) << restore.err << restore.out;
    const json restored = restore.json()["settings"];
    for (const json &item : restored)
        EXPECT_TRUE(item["result"] == "confirmed" || item["result"] == "unchanged") << item;
    EXPECT_EQ(restore.json()["note"], "After writed software switch, please re-power on printer!!");

    const Outcome after = onPrinter(toPort, {"diff", file});
    EXPECT_EQ(after.status, 0) << after.out;
    for (int p : kSettingParameters)
        EXPECT_EQ(to.emu().parameter(p), from.emu().parameter(p)) << "parameter " << p;

    const int writes = to.count("GS g 8");
    const Outcome again = onPrinter(toPort, {"restore", file});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.json()["written"], false);
    EXPECT_EQ(to.count("GS g 8"), writes);
    EXPECT_FALSE(to.emu().unlocked());
}

std::set<std::string> keysOf(const ModelCase &c)
{
    std::set<std::string> keys{"switch_1",       "switch_2", "code_page",
                               "code_page_name", "charset",  "font_8x16"};
    if (c.switches34)
        keys.insert({"switch_3", "switch_4"});
    if (c.density)
        keys.insert("density");
    if (c.thai)
        keys.insert("thai_pass");
    return keys;
}

TEST(KtswBackup, RoundTripForAModelOfEveryGroupOverTcp)
{
    const ModelCase cases[] = {
        {"KT-4000", true, false, true},       // family A, density field, switch 1 by switch 4
        {"KT-7400", true, false, false},      // family A without the density field, page 1 always
        {"MV550", true, false, false},        // page 1 always by prefix
        {"TW86_USB", true, false, false},     // the USB group
        {"ZN8-PRINTER", false, false, false}, // the ZN printers: switches 1 and 2 only
        {"KT-1700", true, true, false},       // switches 3 and 4 without pages, density
        {"KT-7000", false, true, false},      // density
    };
    for (const ModelCase &c : cases) {
        SCOPED_TRACE(c.model);
        Printer from(c.model, {}, changedSettings(c));
        Printer to(c.model);
        roundTrip(from, from.tcp(), to, to.tcp(), keysOf(c));
    }
}

TEST(KtswBackup, RoundTripOverSerial)
{
    const ModelCase c{"KT-9100X", true, false, false};
    Printer from(c.model, {}, changedSettings(c));
    Printer to(c.model);
    roundTrip(from, from.pty(), to, to.pty(), keysOf(c));
}

TEST(KtswBackup, DocumentAndDiffAsTheWindowShowsThem)
{
    Printer printer("KT-4000", {}, {{"soft_switch_4", "128"}, {"thai_font_pass", "249"}});
    const Outcome out = ktsw({"backup", "--port", printer.tcp()});
    ASSERT_EQ(out.status, 0) << out.err;
    const json doc = json::parse(out.out);
    EXPECT_EQ(doc["format"], 1);
    EXPECT_EQ(doc["printer"],
              (json{{"maker", printer.emu().profile().maker},
                    {"model", "KT-4000"},
                    {"firmware", printer.emu().profile().firmware},
                    {"serial_number", printer.emu().profile().serial}}));
    EXPECT_EQ(doc["settings"],
              (json{{"switch_1", 2},
                    {"switch_2", 0},
                    {"switch_3", 0},
                    {"switch_4", 128},
                    {"code_page", 0},
                    {"code_page_name", "STANDARD"},
                    {"charset", 0},
                    {"font_8x16", false},
                    {"thai_pass", 249}}));

    kt::test::TempDir dir;
    const std::string left = writeFile(dir, "left.json", out.out);
    json changed = doc;
    changed["settings"]["switch_4"] = 0;
    changed["settings"]["thai_pass"] = 255;
    changed["settings"].erase("charset");
    const std::string right = writeFile(dir, "right.json", changed.dump());
    const Outcome diff = ktsw({"diff", left, right, "--json"});
    EXPECT_EQ(diff.status, 1);
    const json expected = json::parse(R"([
      {"setting": "switch_4", "name": "soft switch 4", "left": 128, "right": 0,
       "left_shown": "128", "right_shown": "0",
       "bits": [{"bit": 8, "left": {"on": false, "meaning": "Switch 1 Selection = Hardware"},
                 "right": {"on": true, "meaning": "Switch 1 Selection = Software"}}]},
      {"setting": "charset", "name": "character set", "left": 0, "right": null,
       "left_shown": "0 - U.S.A.", "right_shown": null},
      {"setting": "thai_pass", "name": "Thai pass", "left": 249, "right": 255,
       "left_shown": "3 Pass", "right_shown": "1 Pass"}])");
    EXPECT_EQ(diff.json()["differences"], expected);
    EXPECT_EQ(ktsw({"diff", left, left}).status, 0);
}

TEST(KtswRestore, AnotherModelIsRefusedBeforeAnyWrite)
{
    kt::test::TempDir dir;
    Printer source("KT-4000", {}, {{"thai_font_pass", "249"}, {"soft_switch_2", "5"}});
    const std::string file = dir.path() + "/kt4000.json";
    ASSERT_EQ(onPrinter(source.tcp(), {"backup", "-o", file}).status, 0);

    Printer other("KT-7000");
    const Outcome refused = onPrinter(other.tcp(), {"restore", file});
    EXPECT_EQ(refused.status, 8) << refused.err;
    EXPECT_NE(refused.err.find("the printer is a KT-7000, the backup is of a KT-4000"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(other.count("GS g u"), 0);
    EXPECT_EQ(other.count("GS g 8"), 0);

    // Forced: what the model has is written, the Thai pass it lacks never.
    const Outcome forced = onPrinter(other.tcp(), {"restore", file, "--force-model"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(other.emu().parameter(param::SoftSwitch1 + 1), "5");
    EXPECT_EQ(other.count("GS g 8 n=43"), 0);
    const json forcedSettings = forced.json()["settings"];
    for (const json &item : forcedSettings)
        if (item["setting"] == "thai_pass") {
            EXPECT_EQ(item["result"], "skipped");
        }

    // A backup that names no model is checked against none.
    json doc = json::parse(std::ifstream(file));
    doc["printer"].erase("model");
    const std::string anonymous = writeFile(dir, "anonymous.json", doc.dump());
    EXPECT_EQ(onPrinter(other.tcp(), {"restore", anonymous}).status, 8);
}

TEST(KtswRestore, ADryRunSendsNoWrite)
{
    kt::test::TempDir dir;
    Printer source("KT-9100X", {}, {{"soft_switch_3", "200"}});
    const std::string file = dir.path() + "/b.json";
    ASSERT_EQ(onPrinter(source.tcp(), {"backup", "-o", file}).status, 0);
    Printer target("KT-9100X");
    const Outcome dry = onPrinter(target.tcp(), {"restore", file, "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.json()["commands"],
              (json{"1D 67 75 6E 6C 00", "1D 67 38 29 32 30 30 00", "1D 67 6C 63 6B 00"}));
    EXPECT_EQ(target.count("GS g u"), 0);
    EXPECT_EQ(target.emu().parameter(param::SoftSwitch1 + 2), "0");
}

// What a report says a setting now holds, as the emulator keeps it.
std::string asParameter(const json &value)
{
    if (value.is_boolean())
        return value.get<bool>() ? "ON" : "";
    return value.is_string() ? value.get<std::string>() : std::to_string(value.get<int>());
}

TEST(KtswRestore, AConnectionLostHalfWayReportsWhatThePrinterHolds)
{
    kt::test::TempDir dir;
    const ModelCase c{"KT-9100X", true, false, false};
    Printer source(c.model, {}, changedSettings(c));
    const std::string file = dir.path() + "/b.json";
    ASSERT_EQ(onPrinter(source.tcp(), {"backup", "-o", file}).status, 0);

    // Maker, model and 8 reads, then unlock and two writes (soft switch 1
    // already holds 146): the connection ends after the second write.
    emu::FaultOptions drop;
    drop.dropAfter = 13;
    Printer target(c.model, drop);
    const Outcome run = onPrinter(target.tcp(), {"restore", file});
    EXPECT_EQ(run.status, 4) << run.out;
    const json report = run.json()["error"];
    ASSERT_EQ(report["settings"].size(), 8u) << run.out;
    std::map<std::string, std::string> outcomes;
    for (const json &item : report["settings"]) {
        const std::string key = item["setting"];
        outcomes[key] = item["result"];
        // What the report says the printer holds is what it holds.
        const bool written = key == "switch_2" || key == "switch_3";
        EXPECT_EQ(asParameter(item["now"]), asParameter(item[written ? "wanted" : "before"]))
            << item;
    }
    EXPECT_EQ(outcomes["switch_1"], "unchanged");
    EXPECT_EQ(outcomes["switch_2"], "confirmed");
    EXPECT_EQ(outcomes["switch_3"], "confirmed");
    for (const char *key : {"switch_4", "code_page", "code_page_name", "charset", "font_8x16"})
        EXPECT_TRUE(outcomes[key] == "failed" || outcomes[key] == "not_sent") << key;
    EXPECT_EQ(target.emu().parameter(param::SoftSwitch1 + 2), "200");
    EXPECT_EQ(target.emu().parameter(param::SoftSwitch1 + 3), "0");
    EXPECT_FALSE(target.emu().unlocked()) << "the new connection locks the printer again";
    EXPECT_NE(run.err.find("ktsw restore: the printer on"), std::string::npos) << run.err;
}

TEST(KtswRestore, APrinterThatDoesNotKeepAWriteExitsFive)
{
    kt::test::TempDir dir;
    Printer source("KT-9100X", {}, {{"soft_switch_2", "5"}});
    const std::string file = dir.path() + "/b.json";
    ASSERT_EQ(onPrinter(source.tcp(), {"backup", "-o", file}).status, 0);
    emu::FaultOptions forget;
    forget.forgetWrites = true;
    Printer target("KT-9100X", forget);
    const Outcome run = onPrinter(target.tcp(), {"restore", file});
    EXPECT_EQ(run.status, 5);
    EXPECT_NE(run.err.find("the printer did not keep: soft switch 2"), std::string::npos)
        << run.err;
    const json reported = run.json()["error"]["settings"];
    for (const json &item : reported)
        if (item["setting"] == "switch_2") {
            EXPECT_EQ(item,
                      (json{{"setting", "switch_2"},
                            {"name", "soft switch 2"},
                            {"result", "failed"},
                            {"wanted", 5},
                            {"before", 0},
                            {"now", 0}}));
        }
}

TEST(KtswRestore, FilesThatAreNoGoodBackupAreRefusedBeforeAnythingIsSent)
{
    kt::test::TempDir dir;
    Printer printer("KT-4000");
    const std::string good = writeFile(
        dir, "good.json",
        R"({"format": 1, "created": "2024-05-01T10:20:30Z", "printer": {"model": "KT-4000"},)"
        R"( "settings": {"switch_2": 5}})");
    const std::string text = json::parse(std::ifstream(good)).dump();
    struct Case {
        const char *name;
        std::string content;
        const char *cause;
    };
    const Case cases[] = {
        {"corrupt.json", "PK\x03\x04 not json", "not a JSON document"},
        {"truncated.json", text.substr(0, text.size() / 2), "truncated"},
        {"newer.json", R"({"format": 2, "created": "2024-05-01T10:20:30Z"})", "newer than"},
        {"range.json",
         R"({"format": 1, "created": "2024-05-01T10:20:30Z", "printer": {"model": "KT-4000"},)"
         R"( "settings": {"switch_2": 300}})",
         "settings.switch_2 is 300, outside 0..255"},
        {"empty.json", "", "the document is empty"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = writeFile(dir, c.name, c.content);
        for (const std::vector<std::string> &args :
             {std::vector<std::string>{"restore", "--port", printer.tcp(), path},
              {"diff", "--port", printer.tcp(), path},
              {"deploy", path, "--port", printer.tcp()}}) {
            const Outcome run = ktsw(args);
            EXPECT_EQ(run.status, 2) << args[0];
            EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
        }
    }
    EXPECT_EQ(printer.emu().transcriptCount(), 0u);
}

} // namespace
} // namespace kt::test
