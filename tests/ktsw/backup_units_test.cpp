// The pieces of backup, restore and deploy that need no printer: the bytes
// of each setting's write, how replies become values, and how a printer's
// restore is counted in a deploy.
#include <gtest/gtest.h>

#include "backup_items.h"
#include "deploy.h"
#include "write_frame.h"

namespace kt::ktsw {
namespace {

TEST(BackupItems, WritesAsThePrinterTakesThem)
{
    struct Case {
        const char *key;
        SettingValue value;
        const char *bytes;
    };
    const Case cases[] = {
        {"switch_3", 200, "1D 67 38 29 32 30 30 00"},
        {"switch_1", 5, "1D 67 38 27 35 00 00 00"},
        {"code_page", 17, "1D 67 38 21 31 37 00 00"},
        {"code_page", 224, "1D 67 38 21 32 32 34 00"},
        {"code_page_name", std::string("LITHUANIA"),
         "1D 67 38 24 4C 49 54 48 55 41 4E 49 41 00 00 00 00 00 00 00 00 00 00 00 00"},
        {"charset", 15, "1D 67 38 22 31 35 00"},
        {"density", 2, "1D 67 38 30 32 00 00"},
        {"font_8x16", true, "1D 67 38 25 4F 4E 00 00"},
        {"font_8x16", false, "1D 67 38 25 00 00 00 00"},
        {"thai_pass", 249, "1D 67 38 2B 32 34 39 00 00 00 00 00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hexBytes(writeFor(*findBackupItem(c.key), c.value)), c.bytes) << c.key;
}

TEST(BackupItems, RepliesBecomeValuesOrNone)
{
    struct Case {
        const char *key;
        std::string reply;
        std::optional<SettingValue> value;
    };
    const std::vector<Case> cases{
        {"switch_2", "146", 146},
        {"switch_2", "12abc", 12},
        {"switch_2", "300", std::nullopt},
        {"code_page", "17", 17},
        {"code_page", "1x", std::nullopt},
        {"code_page", "", std::nullopt},
        {"charset", " 8 ", 8},
        {"code_page_name", "CYRILLIC", std::string("CYRILLIC")},
        {"font_8x16", "", false},
        {"font_8x16", "0", true}, // any answer is ON, as in the window
        {"thai_pass", "2490", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(valueOfReply(*findBackupItem(c.key), c.reply), c.value)
            << c.key << " '" << c.reply << "'";
}

TEST(BackupItems, ValuesAsTheWindowListsThem)
{
    struct Case {
        const char *key;
        SettingValue value;
        const char *shown;
    };
    const Case cases[] = {
        {"code_page", 17, "17 - 866 Cyrillic"},
        {"code_page", 99, "99"},
        {"charset", 8, "8 - Japan"},
        {"density", 2, "2 - Dark"},
        {"thai_pass", 249, "3 Pass"},
        {"font_8x16", true, "ON"},
        {"switch_1", 146, "146"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(shownValue(*findBackupItem(c.key), c.value), c.shown) << c.key;
}

TEST(BackupItems, WhatEachModelHas)
{
    const auto has
        = [](const char *key, const char *model) { return modelHas(*findBackupItem(key), model); };
    EXPECT_TRUE(has("switch_3", "KT-4000"));
    EXPECT_TRUE(has("switch_4", "KT-1700"));
    EXPECT_FALSE(has("switch_3", "ZN8-PRINTER"));
    EXPECT_FALSE(has("switch_4", "KT-7000"));
    EXPECT_TRUE(has("density", "KT-7000"));
    EXPECT_FALSE(has("density", "KT-4000"));
    EXPECT_TRUE(has("thai_pass", "KT-4000"));
    EXPECT_FALSE(has("thai_pass", "KT-4000X"));
    EXPECT_TRUE(has("code_page", "ZN8-PRINTER"));
}

TEST(DeployRecord, HowAPrintersRestoreCounts)
{
    const BackupItem *sw2 = findBackupItem("switch_2");
    const auto item = [sw2](ItemOutcome outcome) {
        ItemResult r;
        r.item = sw2;
        r.wanted = 5;
        r.outcome = outcome;
        return r;
    };
    struct Case {
        std::string model;
        std::optional<Failure> failure;
        std::vector<ItemResult> items;
        DeployResult result;
    };
    const std::vector<Case> cases{
        {"", Failure{kExitPort, "refused"}, {}, DeployResult::Unreachable},
        {"", Failure{kExitNoAnswer, "silent"}, {}, DeployResult::Unreachable},
        {"KT-4000",
         Failure{kExitNoAnswer, "lost"},
         {item(ItemOutcome::Unknown)},
         DeployResult::Failed},
        {"KT-7000", Failure{kExitModelMismatch, "model"}, {}, DeployResult::Failed},
        {"KT-4000", std::nullopt, {item(ItemOutcome::Failed)}, DeployResult::Failed},
        {"KT-4000", std::nullopt, {item(ItemOutcome::Confirmed)}, DeployResult::Confirmed},
        {"KT-4000",
         std::nullopt,
         {item(ItemOutcome::Unchanged), item(ItemOutcome::Skipped)},
         DeployResult::Unchanged},
    };
    for (const Case &c : cases) {
        RestoreResult r;
        r.model = c.model;
        r.failure = c.failure;
        r.items = c.items;
        const DeployRecord record = deployRecord("p", r, 0.5);
        EXPECT_EQ(record.result, c.result) << (c.failure ? c.failure->message : c.model);
        EXPECT_EQ(record.error, c.failure ? c.failure->message : "");
    }
}

TEST(DeployTargets, OnePortALine)
{
    const auto ports = parseTargets("# store 12\n\n  10.0.0.5:9100  # till 1\n/dev/ttyS0\r\nusb\n");
    ASSERT_TRUE(ports.ok());
    EXPECT_EQ(ports.value(), (std::vector<std::string>{"10.0.0.5:9100", "/dev/ttyS0", "usb"}));
    EXPECT_FALSE(parseTargets("# none\n   \n").ok());
    const auto twice = parseTargets("usb\nCOM1\nusb # again\n");
    ASSERT_FALSE(twice.ok());
    EXPECT_EQ(twice.failure().message, "line 3: usb is listed twice");
}

} // namespace
} // namespace kt::ktsw
