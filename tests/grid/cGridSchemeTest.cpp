#include "ReportFixture.h"

#include "common/modLanguage.h"
#include "platform/runtime/Date.h"

namespace rt = platform::runtime;
using engine::PT_LONG;
using engine::PT_STRING8;

namespace {

const std::string kCategories = "{00020329-0000-0000-C000-000000000046}/Keywords";

class cGridSchemeTest : public ReportFixture
{
};

std::vector<std::string> Keys(const platform::forms::FlexGrid& fg)
{
    std::vector<std::string> a;
    for (int c = 0; c < fg.Cols(); ++c) {
        a.push_back(fg.ColKey(c));
    }
    return a;
}

TEST_F(cGridSchemeTest, PlainViewHasFieldsThenSortAndGroupKeys)
{
    oView.AddColumn("Subject", "Betreff", 8);
    oView.AddColumn("Duration", "Dauer", 3, 7);
    Fill();
    EXPECT_EQ(fg.Cols(), 2 + 7);
    EXPECT_EQ(Keys(fg), (std::vector<std::string>{"", "Subject", "Duration", "s1", "s2", "s3", "g1",
                                                  "g2", "g3"}));
    EXPECT_EQ(fg.TextMatrix(0, 1), "Betreff");
    EXPECT_EQ(fg.TextMatrix(0, 5), "s3");
    EXPECT_EQ(fg.ColDataType(2), 8); // durations show as text
    EXPECT_FALSE(fg.ColHidden(1));
    for (int c = 3; c < fg.Cols(); ++c) {
        EXPECT_TRUE(fg.ColHidden(c)) << c;
    }
    EXPECT_EQ(fg.Rows(), fg.FixedRows());
    EXPECT_EQ(fg.ColWidth(0), 200);
}

TEST_F(cGridSchemeTest, CalculatedColumnsWithKeywordGroupingGetLevelColumns)
{
    oView.AddColumn("Subject", "Betreff", 8);
    oView.AddColumn(kCategories, "Kategorien", 12, 11);
    auto oDuration = oView.AddColumn("Duration", "Dauer", 3, 7, 2);
    auto oAmount = oView.AddColumn("Amount", "Betrag", 5, 1, 5);
    oView.Group(0, kCategories);
    Fill();
    EXPECT_EQ(Keys(fg),
              (std::vector<std::string>{"", "Subject", kCategories, "Duration", "Amount", "s1",
                                        "s2", "s3", "g1", "g2", "g3", "c1", "c1_0", "c2", "c2_0"}));
    EXPECT_EQ(oDuration->CalculatedColKey(), "c1");
    EXPECT_EQ(oAmount->CalculatedColKey(), "c2");
    EXPECT_EQ(fg.ColDataType(fg.ColIndex("c1")), 3);
    EXPECT_EQ(fg.ColDataType(fg.ColIndex("c2_0")), 5);
    EXPECT_TRUE(fg.ColHidden(fg.ColIndex("c2_0")));
}

TEST_F(cGridSchemeTest, InitGridNeverAddsLevelColumnsAndLevelsAfterAGapDoNotCount)
{
    oView.AddColumn(kCategories, "Kategorien", 12, 11, 4);
    oView.Group(0, kCategories);
    grid::cGrid oGrid;
    oGrid.InitGrid(fg, oView);
    EXPECT_EQ(Keys(fg).back(), "c1");

    TestView oGap;
    oGap.AddColumn(kCategories, "Kategorien", 12, 11, 4);
    oGap.Group(1, kCategories);
    grid::cGrid oSecond;
    platform::forms::FlexGrid fg2;
    oSecond.ShowItems(fg2, oRecords, oGap);
    EXPECT_EQ(fg2.ColKey(fg2.Cols() - 1), "c1");
}

TEST_F(cGridSchemeTest, HiddenAndInvisibleFieldsAreHidden)
{
    oView.AddColumn("Subject", "Betreff", 8);
    oView.AddColumn("Location", "Ort", 8)->SetVisible(false);
    AddRecord(
        {{"Subject", PT_STRING8, rt::Variant("A")}, {"Location", PT_STRING8, rt::Variant("B")}});
    Fill();
    EXPECT_FALSE(fg.ColHidden(1));
    EXPECT_TRUE(fg.ColHidden(2));
    EXPECT_EQ(fg.Row(), 1);
    EXPECT_EQ(fg.Col(), 0);
}

} // namespace
