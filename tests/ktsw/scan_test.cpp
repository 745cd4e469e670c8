// ktsw scan over a loopback range: emulated printers on several 127.0.0.x
// addresses, one silent, one of another maker, the rest refusing.
#include <chrono>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "ktsw_process.h"

namespace kt::test {
namespace {

struct Fleet {
    // Printers on 127.0.0.2 (KT-9100X), .3 (MV550), .6 (silent) and .9 (of
    // another maker), all on the same TCP port.
    Fleet()
    {
        const struct {
            const char *address, *model;
            bool silent;
            const char *maker;
        } members[] = {
            {"127.0.0.2", "KT-9100X", false, nullptr},
            {"127.0.0.3", "MV550", false, nullptr},
            {"127.0.0.6", "KT-4000", true, nullptr},
            {"127.0.0.9", "KT-4000", false, "ACME PRINTERS"},
        };
        for (const auto &m : members) {
            emu::EmulatorOptions o;
            o.model = m.model;
            o.faults.silent = m.silent;
            if (m.maker)
                o.overrides = {{"maker", m.maker}};
            printers.push_back(std::make_unique<emu::Emulator>(o));
            port = printers.back()->listenTcp(m.address, port);
        }
    }
    std::vector<std::unique_ptr<emu::Emulator>> printers;
    std::uint16_t port = 0;
};

TEST(KtswScan, FindsThePrintersOfARangeAndCountsTheRest)
{
    Fleet fleet;
    const auto started = std::chrono::steady_clock::now();
    const Outcome run = ktsw({"scan", "127.0.0.0/28", "--tcp-port", std::to_string(fleet.port),
                              "--timeout", "300", "--json"});
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json report = run.json();
    ASSERT_EQ(report["printers"].size(), 2u) << report.dump(2);
    const struct {
        const char *address, *model;
    } found[] = {{"127.0.0.2", "KT-9100X"}, {"127.0.0.3", "MV550"}};
    for (std::size_t i = 0; i < std::size(found); ++i) {
        const nlohmann::json &p = report["printers"][i];
        EXPECT_EQ(p["address"], found[i].address);
        EXPECT_EQ(p["port"], fleet.port);
        EXPECT_EQ(p["model"], found[i].model);
        EXPECT_EQ(p["firmware"], fleet.printers[i]->profile().firmware);
        EXPECT_NE(p["maker"].get<std::string>().find("TALVORIN"), std::string::npos);
    }
    EXPECT_EQ(report["silent"], 1);
    EXPECT_EQ(report["others"], 1);
    EXPECT_EQ(report["refused"], 14 - 4) << "the /28 without its network and broadcast";
    EXPECT_EQ(report["not_tried"], 0);
    // Every address at once: about one reply time-out in all, not one per address.
    EXPECT_LT(took, std::chrono::seconds(10));

    const Outcome text = ktsw({"scan", "127.0.0.1-127.0.0.4", "--tcp-port",
                               std::to_string(fleet.port), "--timeout", "300"});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("127.0.0.3:" + std::to_string(fleet.port) + "  MV550  firmware "),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("2 printers found; 0 silent, 2 refused."), std::string::npos)
        << text.out;
}

TEST(KtswScan, BoundsAndRefusals)
{
    Fleet fleet;
    const std::string port = std::to_string(fleet.port);
    const struct {
        const char *what;
        std::vector<std::string> args;
        int status; // -1: either 0 or 1
        std::string says;
    } cases[] = {
        {"nothing there", {"scan", "127.0.0.10-12", "--tcp-port", port}, 1, "0 printers found"},
        {"larger than a /16", {"scan", "10.0.0.0/15"}, 2, "add --force"},
        {"not a range", {"scan", "printers.example"}, 2, "is no IPv4 address"},
        {"one job, no time left",
         {"scan", "127.0.0.1-9", "--tcp-port", port, "-j", "1", "--max-time", "1", "--timeout",
          "300"},
         -1,
         "not tried within the total time"},
    };
    for (const auto &c : cases) {
        const Outcome run = ktsw(c.args);
        if (c.status >= 0)
            EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
        else
            EXPECT_TRUE(run.status == 0 || run.status == 1) << c.what << ": " << run.err;
        EXPECT_NE((run.out + run.err).find(c.says), std::string::npos)
            << c.what << ": " << run.out << run.err;
    }
}

} // namespace
} // namespace kt::test
