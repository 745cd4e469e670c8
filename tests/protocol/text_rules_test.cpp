// The number reading of replies and the substring helpers on short texts.
#include <gtest/gtest.h>

#include "protocol/text_rules.h"

namespace kt::protocol {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStart)
{
    const struct {
        std::string text;
        std::optional<double> value;
    } cases[] = {
        {"123", 123}, {"  42abc", 42}, {"-1", -1}, {"+7", 7}, {"2.5x", 2.5}, {".5", 0.5},
        {"1e2", 100}, {"1e", 1}, {"12,N,8,1", 12}, {std::string("9\0", 2), 9},
        {"", std::nullopt}, {"abc", std::nullopt}, {"-", std::nullopt}, {".", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(leadingNumber(c.text), c.value) << c.text;
}

TEST(Substrings, NeverReachBeyondTheText)
{
    EXPECT_EQ(leftChars("ab", 3), "ab");
    EXPECT_EQ(rightChars("ab", 6), "ab");
    EXPECT_EQ(rightChars("abcdefgh", 6), "cdefgh");
    EXPECT_EQ(midChars("abc", 6, 20), "");
    EXPECT_EQ(midChars("abcdefg", 6, 20), "fg");
    EXPECT_EQ(midChars("abc", 0, 2), "");
    EXPECT_EQ(trimPadding(std::string(" 19\0 ", 5)), "19");
    EXPECT_EQ(trimBlanks(std::string("19\0", 3)), std::string("19\0", 3));
    EXPECT_EQ(trimTrailingBlanks("0  "), "0");
}

} // namespace
} // namespace kt::protocol
