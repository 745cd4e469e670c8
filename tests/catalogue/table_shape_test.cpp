// Data-entry checks over all four caption tables: a field whose
// combinations do not match its bits would silently never write.
#include <set>

#include <gtest/gtest.h>

#include "catalogue/caption_engine.h"

namespace kt::catalogue::tables {
namespace {

bool validOrThis(int k) { return k == kThisIndex || (k >= 0 && k < 8); }

void checkRow(const Row &row, const std::string &where)
{
    for (const Field &field : row.writes) {
        EXPECT_TRUE(validOrThis(field.label)) << where;
        for (int bit : field.bits)
            EXPECT_TRUE(validOrThis(bit)) << where;
        std::set<std::vector<Opt>> seen;
        for (const Combination &c : field.combinations) {
            EXPECT_EQ(c.states.size(), field.bits.size()) << where;
            EXPECT_TRUE(seen.insert(c.states).second) << where << ": combination listed twice";
        }
    }
}

TEST(CaptionTables, FieldsAreWellFormed)
{
    for (int sw = 1; sw <= 4; ++sw) {
        const SwitchTable *table = switchTable(sw);
        ASSERT_NE(table, nullptr);
        for (std::size_t i = 0; i < 8; ++i) {
            const std::string where
                = "switch " + std::to_string(sw) + " index " + std::to_string(i);
            for (int bit : table->bits[i].boldBits)
                EXPECT_TRUE(bit >= 0 && bit < 8) << where;
            for (const Row &row : table->bits[i].list)
                checkRow(row, where);
        }
        for (const FieldRule &rule : table->fieldRules) {
            for (int index : rule.indexes)
                EXPECT_TRUE(index >= 0 && index < 8);
            checkRow(rule.row, "switch " + std::to_string(sw) + " field rule");
        }
    }
    EXPECT_EQ(switchTable(0), nullptr);
    EXPECT_EQ(switchTable(5), nullptr);
}

} // namespace
} // namespace kt::catalogue::tables
