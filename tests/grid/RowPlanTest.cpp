#include "grid/detail/RowPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid::detail;

namespace {

struct IndexCase
{
    std::vector<std::string> aValues;
    std::vector<std::string> aConditions;
    int lCompare;
    std::vector<std::int32_t> aExpected;
};

TEST(RowPlanTest, IndexListsForEveryCompareMode)
{
    const std::vector<IndexCase> aCases{
        {{"A", "B", "C"}, {"a"}, 1, {0}},
        {{"A", "B", "C"}, {"c", "A"}, 1, {2, 0}},
        {{"A", "B", "C"}, {"b"}, 2, {0, 2}},
        // Exclusion stops only later additions: B was added for the first condition.
        {{"A", "B", "C"}, {"a", "b"}, 2, {1, 2}},
        {{"Projekt", "Privat"}, {"proj"}, 3, {0}},
        {{"Projekt", "Privat"}, {"pr"}, 3, {0, 1}},
        {{"Projekt", "Privat", "Kunde"}, {"proj"}, 4, {1, 2}},
        {{"Projekt", "Privat", "Kunde"}, {"unde", "proj"}, 4, {0, 1}},
        {{"A", "A"}, {"a"}, 1, {0, 1}},
        {{"A", "B"}, {"x"}, 1, {}},
        {{}, {"x"}, 2, {}},
        {{"A", "B"}, {"a"}, 0, {}},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(BuildIndexList(c.aValues, c.aConditions, c.lCompare), c.aExpected)
            << "compare " << c.lCompare;
    }
}

TEST(RowPlanTest, RowCountsTreatALevelWithoutValuesAsOneEmptyValue)
{
    EXPECT_EQ(RowCountOf({2, 3, 0}, 2), 6);
    EXPECT_EQ(RowCountOf({2, 3, 1}, 3), 6);
    EXPECT_EQ(RowCountOf({0, 3, 0}, 2), 3);
    EXPECT_EQ(RowCountOf({2, 0, 0}, 2), 2);
    EXPECT_EQ(RowCountOf({0, 0, 0}, 1), 1);
    EXPECT_EQ(RowCountOf({5, 5, 5}, 0), 1);
    EXPECT_EQ(LevelValueIndex({2, 0, 0}, 1, 1), -1);
    EXPECT_EQ(LevelValueIndex({2, 0, 0}, 0, 1), 1);
}

TEST(RowPlanTest, ThreeLevelsCycleLevelZeroThenTwoThenOne)
{
    const std::array<std::int32_t, 3> aCounts{2, 2, 2};
    const std::vector<std::string> aExpected{"APX", "BPX", "AQX", "BQX",
                                             "APY", "BPY", "AQY", "BQY"};
    for (int m = 0; m < 8; ++m) {
        std::string s;
        s += "AB"[LevelValueIndex(aCounts, 0, m)];
        s += "PQ"[LevelValueIndex(aCounts, 2, m)];
        s += "XY"[LevelValueIndex(aCounts, 1, m)];
        EXPECT_EQ(s, aExpected[size_t(m)]) << m;
    }
    std::vector<int> aLevel0, aLevel1, aLevel2;
    for (int m = 0; m < 8; ++m) {
        if (FirstRowOfLevelGroup(aCounts, 0, m))
            aLevel0.push_back(m);
        if (FirstRowOfLevelGroup(aCounts, 1, m))
            aLevel1.push_back(m);
        if (FirstRowOfLevelGroup(aCounts, 2, m))
            aLevel2.push_back(m);
    }
    EXPECT_EQ(aLevel0, (std::vector<int>{0, 1}));
    EXPECT_EQ(aLevel1, (std::vector<int>{0, 1, 4, 5}));
    EXPECT_EQ(aLevel2, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(RowPlanTest, TwoLevelsPairEveryValueOnce)
{
    const std::array<std::int32_t, 3> aCounts{2, 3, 0};
    std::vector<std::string> aRows;
    for (int m = 0; m < 6; ++m) {
        aRows.push_back(std::string(1, "AB"[LevelValueIndex(aCounts, 0, m)]) +
                        "XYZ"[LevelValueIndex(aCounts, 1, m)]);
    }
    EXPECT_EQ(aRows, (std::vector<std::string>{"AX", "BX", "AY", "BY", "AZ", "BZ"}));
}

TEST(RowPlanTest, DurationTextsParseToMinutes)
{
    std::int64_t l = -1;
    ASSERT_TRUE(TryParseMinutes("100:00", l));
    EXPECT_EQ(l, 6000);
    ASSERT_TRUE(TryParseMinutes("01:15", l));
    EXPECT_EQ(l, 75);
    EXPECT_FALSE(TryParseMinutes("", l));
    EXPECT_FALSE(TryParseMinutes("abc", l));
    EXPECT_FALSE(TryParseMinutes("1:x", l));
}

} // namespace
