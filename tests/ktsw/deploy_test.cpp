// ktsw deploy to a fleet of emulated printers in which some are silent,
// slow, forgetful, of another model or not there at all.
#include <fstream>

#include <gtest/gtest.h>

#include "core/fleet.h"
#include "core/parameters.h"
#include "emulated_printer.h"
#include "reserved_port.h"
#include "temp_dir.h"

namespace kt::test {
namespace {

using nlohmann::json;

TEST(KtswDeploy, EveryPrinterEndsAsItCanAndNoneStopsTheOthers)
{
    kt::test::TempDir dir;
    Printer source("KT-4000", {}, {{"soft_switch_2", "5"}, {"thai_font_pass", "249"}});
    const std::string file = dir.path() + "/store.json";
    ASSERT_EQ(onPrinter(source.tcp(), {"backup", "-o", file}).status, 0);

    // Printers 1-2 silent, 3 forgets its writes, 4 answers only after the
    // time given to a printer, 5-7 take the settings.
    emu::FleetOptions o;
    o.count = 7;
    o.base.model = "KT-4000";
    o.faults = "silent:2,forget-writes:1,late-3000:1";
    emu::Fleet fleet(o);
    Printer otherModel("KT-7000");
    std::vector<std::string> ports;
    for (const emu::FleetMember &m : fleet.members())
        ports.push_back(local(m.port));
    const kt::test::ReservedPort refused; // bound, never listening
    const std::string closed = local(refused.port);
    std::ofstream(dir.path() + "/targets") << "# the store chain\n\n"
                                           << ports[0] << "\n  " << ports[1] << "  # silent\n"
                                           << ports[2] << '\n'
                                           << ports[3] << '\n'
                                           << ports[4] << '\n'
                                           << ports[5] << '\n'
                                           << ports[6] << '\n'
                                           << closed << '\n'
                                           << otherModel.tcp() << '\n';

    const Outcome run = ktsw({"deploy", file, "--targets", dir.path() + "/targets", "-j", "4",
                              "--timeout", "5000", "--printer-timeout", "1500", "--json"});
    EXPECT_EQ(run.status, 1) << run.err;
    const json report = run.json();
    ASSERT_EQ(report["printers"].size(), 9u) << run.out;
    const std::vector<std::string> expected{"unreachable", "unreachable", "failed",
                                            "unreachable", "confirmed",   "confirmed",
                                            "confirmed",   "unreachable", "failed"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const json &p = report["printers"][i];
        EXPECT_EQ(p["result"], expected[i]) << p;
        EXPECT_LT(p["seconds"].get<double>(), 2.5) << p;
    }
    EXPECT_EQ(report["printers"][4]["changed"], (json{"switch_2", "thai_pass"}));
    EXPECT_EQ(report["printers"][4]["model"], "KT-4000");
    EXPECT_EQ(report["printers"][0]["model"], nullptr);
    EXPECT_NE(report["printers"][8]["error"].get<std::string>().find("KT-7000"), std::string::npos);
    EXPECT_EQ(report["summary"],
              (json{{"confirmed", 3}, {"unchanged", 0}, {"failed", 2}, {"unreachable", 4}}));
    for (std::size_t i = 4; i < 7; ++i)
        EXPECT_EQ(fleet.printer(i).parameter(emu::param::SoftSwitch1 + 1), "5");
    EXPECT_EQ(otherModel.emu().parameter(emu::param::SoftSwitch1 + 1), "0");

    // Printers that already hold the settings count as done.
    const Outcome again
        = ktsw({"deploy", file, "--port", ports[4], "--port", ports[5], "-p", ports[6]});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("unchanged"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("confirmed 0, unchanged 3, failed 0, unreachable 0"), std::string::npos)
        << again.out;
}

TEST(KtswDeploy, TargetListsAreCheckedBeforeAnythingIsSent)
{
    kt::test::TempDir dir;
    Printer printer("KT-4000");
    const std::string file = dir.path() + "/b.json";
    ASSERT_EQ(onPrinter(printer.tcp(), {"backup", "-o", file}).status, 0);
    const std::size_t commands = printer.emu().transcriptCount();
    struct Case {
        std::string targets;
        const char *cause;
    };
    const Case cases[] = {
        {"# nothing\n\n", "names no printer"},
        {printer.tcp() + "\n# again\n" + printer.tcp() + " # twice\n", "is listed twice"},
    };
    for (const Case &c : cases) {
        std::ofstream(dir.path() + "/targets") << c.targets;
        const Outcome run = ktsw({"deploy", file, "--targets", dir.path() + "/targets"});
        EXPECT_EQ(run.status, 2) << c.targets;
        EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
    }
    EXPECT_EQ(ktsw({"deploy", file}).status, 2);
    EXPECT_EQ(ktsw({"deploy", file, "--targets", dir.path() + "/missing"}).status, 2);
    EXPECT_EQ(printer.emu().transcriptCount(), commands);
}

} // namespace
} // namespace kt::test
