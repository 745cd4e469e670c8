// The window program's own options, read before any display is opened.
#include "window/start_options.h"

#include <sstream>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

namespace kt::test {
namespace {

TEST(StartOptions, EndHereOrPassTheRestToQt)
{
    struct Row {
        std::vector<const char *> arguments;
        int exitCode; // -1: the window opens; 1: any failure
        std::optional<int> quitAfterMs;
        std::string out;
    };
    const Row rows[] = {
        {{}, -1, std::nullopt, ""},
        {{"--version"}, 0, std::nullopt, "KT_SW_Utility 1.4.0.7\n"},
        {{"--quit-after", "1500"}, -1, 1500, ""},
        {{"-platform", "offscreen", "--quit-after=20"}, -1, 20, ""}, // Qt's own pass through
        {{"--quit-after", "soon"}, 1, std::nullopt, ""},
        {{"--quit-after", "-1"}, 1, std::nullopt, ""},
    };
    for (const Row &r : rows) {
        std::vector<const char *> argv{"KT_SW_Utility"};
        argv.insert(argv.end(), r.arguments.begin(), r.arguments.end());
        std::ostringstream out, err;
        const auto result
            = window::readStartOptions(static_cast<int>(argv.size()), argv.data(), out, err);
        SCOPED_TRACE(r.arguments.empty() ? "" : r.arguments.back());
        if (r.exitCode < 0) {
            ASSERT_TRUE(std::holds_alternative<window::StartOptions>(result));
            EXPECT_EQ(std::get<window::StartOptions>(result).quitAfterMs, r.quitAfterMs);
        } else {
            ASSERT_TRUE(std::holds_alternative<int>(result));
            EXPECT_EQ(std::get<int>(result) != 0, r.exitCode != 0);
            EXPECT_EQ(r.exitCode == 0, err.str().empty()) << err.str();
        }
        EXPECT_EQ(out.str(), r.out);
    }
}

} // namespace
} // namespace kt::test
