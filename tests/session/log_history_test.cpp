// The log history's separators and its trimming.
#include "session/log_history.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace kt::test {
namespace {

using session::LogHistory;

// A text of n characters whose every position can be recognised.
std::string numbered(std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<char>('a' + i % 26);
    return s;
}

TEST(LogHistory, SeparatesLinesWithCrLfOnlyBetweenThem)
{
    FakeFormView view;
    LogHistory log(view);
    log.addLog("getMakerInfo-->TALVORIN");
    EXPECT_EQ(view.at("txtLOG").text, "getMakerInfo-->TALVORIN");
    log.addLog("getSW1-->146");
    EXPECT_EQ(view.at("txtLOG").text, "getMakerInfo-->TALVORIN\r\ngetSW1-->146");
    log.clear();
    log.addLog(std::string("x\0y", 3));
    EXPECT_EQ(view.at("txtLOG").text, std::string("x\0y", 3)) << "stored as it is, NUL included";
}

TEST(LogHistory, TrimsTheFirst4096CharactersOnceTheLogHolds8192)
{
    struct Row {
        std::size_t before;
        bool trimmed;
    };
    for (const Row &r : {Row{8191, false}, Row{8192, true}, Row{12000, true}}) {
        const std::string old = numbered(r.before);
        const std::string after = LogHistory::appended(old, "NEW");
        const std::string kept = r.trimmed ? old.substr(4096, 12287) : old;
        EXPECT_EQ(after, kept + "\r\nNEW") << r.before;
    }
}

TEST(LogHistory, ALongLineIsKeptWholeUntilTheNextAppendCutsIt)
{
    const std::string longLine = numbered(20000);
    const std::string once = LogHistory::appended("", longLine);
    EXPECT_EQ(once, longLine);
    const std::string twice = LogHistory::appended(once, "next");
    EXPECT_EQ(twice, longLine.substr(4096, 12287) + "\r\nnext");
    EXPECT_EQ(twice.size(), 12287u + 2 + 4);
}

TEST(LogHistory, StaysBoundedOverManyAppends)
{
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text = LogHistory::appended(text, "getSW3-->" + std::to_string(i));
        ASSERT_LE(text.size(), 8192u + 2 + 13);
    }
    EXPECT_EQ(text.substr(text.size() - 13), "getSW3-->4999");
}

} // namespace
} // namespace kt::test
