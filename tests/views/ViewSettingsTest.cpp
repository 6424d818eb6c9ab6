#include "ViewsFixture.h"

#include "actions/Action.h"
#include "views/ViewSettings.h"

#include <gtest/gtest.h>

namespace views::test {
namespace {

namespace rt = platform::runtime;

class ViewSettingsTest : public ViewsFixture
{
protected:
    static std::vector<std::string> Keys(ViewSettings& oView)
    {
        std::vector<std::string> a;
        for (const auto& o : *oView.Fields())
            a.push_back(o->Key());
        return a;
    }
};

TEST_F(ViewSettingsTest, NewViewHasTheDefaultColumns)
{
    ViewSettings oView;
    oView.CreateNew("(Standard)");
    EXPECT_TRUE(oView.IsLoaded());
    EXPECT_FALSE(oView.XmlNode());
    EXPECT_EQ(Keys(oView),
              (std::vector<std::string>{kSubjectKey, "Start", "End", "Duration", kKeywordsKey}));
    const auto oDuration = oView.Fields()->Item(rt::Variant("Duration"));
    EXPECT_EQ(oDuration->AlignmentSettings(), 7);
    EXPECT_EQ(oDuration->Width(), 735);
    EXPECT_EQ(oView.Fields()->Item(rt::Variant("Start"))->DataType(), 7);
    EXPECT_EQ(oView.Fields()->Parent(), &oView);
    EXPECT_EQ(oView.Folders()->Count(), 0);
    EXPECT_EQ(oView.Action()->Parent(), &oView);
    EXPECT_FALSE(oView.DontShowTime());
    EXPECT_EQ(oView.Filter()->RestrictTime(), engine::trTimeNone);
}

TEST_F(ViewSettingsTest, LevelIndexesOutsideTheThreeGiveNothing)
{
    ViewSettings oView;
    oView.CreateNew("v");
    for (int i : {-1, 3, 100})
        EXPECT_EQ(oView.GroupByLevel(i), nullptr);
    EXPECT_EQ(oView.SortByLevel(-1), nullptr);
    EXPECT_NE(oView.SortByLevel(2), nullptr);
}

TEST_F(ViewSettingsTest, SortSettingsMovesAppliedLevelsUpOneGapPerPass)
{
    using Flags = std::array<bool, 3>;
    const std::pair<Flags, Flags> aCases[] = {
        {{false, false, true}, {true, false, false}}, {{false, true, false}, {true, false, false}},
        {{true, false, true}, {true, true, false}},   {{false, true, true}, {true, false, true}},
        {{true, true, true}, {true, true, true}},
    };
    for (const auto& [aIn, aOut] : aCases) {
        ViewSettings oView;
        oView.CreateNew("v");
        for (int i = 0; i < 3; ++i) {
            oView.GroupByLevel(i)->SetApply(aIn[i]);
            oView.GroupByLevel(i)->ColKey = "g" + std::to_string(i);
            oView.GroupByLevel(i)->SortOrder = i % 2;
            oView.GroupByLevel(i)->DateGroupBy = aIn[i] ? 3 : 0;
            oView.SortByLevel(i)->Apply = aIn[i];
            oView.SortByLevel(i)->ColKey = "s" + std::to_string(i);
        }
        oView.SortSettings();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(oView.GroupByLevel(i)->Apply(), aOut[i]);
            EXPECT_EQ(oView.SortByLevel(i)->Apply, aOut[i]);
        }
        if (!aIn[0] && aIn[1] && aIn[2]) {
            // Level 1 moved up: key and direction travel, the date grouping stays behind.
            EXPECT_EQ(oView.GroupByLevel(0)->ColKey, "g1");
            EXPECT_EQ(oView.GroupByLevel(0)->SortOrder, 1);
            EXPECT_EQ(oView.GroupByLevel(0)->DateGroupBy, 0);
            EXPECT_EQ(oView.GroupByLevel(1)->DateGroupBy, 0);
            EXPECT_EQ(oView.SortByLevel(0)->ColKey, "s1");
        }
    }
}

TEST_F(ViewSettingsTest, ApplyFieldSelectionOrdersSelectedThenKeptColumns)
{
    ViewSettings oView;
    oView.CreateNew("v");
    auto oFields = oView.Fields();
    oFields->Item(rt::Variant("End"))->SetVisible(false);
    oFields->Item(rt::Variant("Duration"))->SetCalculation(2);
    const auto oOldSubject = oFields->Item(rt::Variant(kSubjectKey));
    ViewSettings::FieldSelection aSelection{
        {Field("End"), "Ende"}, {Field(kLocationKey), "Ort"}, {Field(kSubjectKey), "  "}};
    oView.ApplyFieldSelection(aSelection);
    EXPECT_EQ(Keys(oView),
              (std::vector<std::string>{"End", kLocationKey, kSubjectKey, "Duration"}));
    EXPECT_TRUE(oView.Fields()->Item(rt::Variant("End"))->Visible());
    EXPECT_EQ(oView.Fields()->Item(rt::Variant("End"))->Caption(), "Ende");
    EXPECT_EQ(oView.Fields()->Item(rt::Variant(kSubjectKey)), oOldSubject);
    EXPECT_NE(oOldSubject->Caption(), "  ");
    EXPECT_EQ(oView.Fields()->Item(rt::Variant(kLocationKey))->Width(), -1);
    EXPECT_NE(oView.Fields(), oFields);
    EXPECT_EQ(oOldSubject->Parent(), oView.Fields().get());

    oView.ApplyFieldSelection({});
    EXPECT_EQ(Keys(oView), (std::vector<std::string>{"Duration"}));
}

TEST_F(ViewSettingsTest, SmallMembers)
{
    EXPECT_EQ(ViewSettings::MapiTypeToVarType(7), 0);
    EXPECT_EQ(ViewSettings::MapiTypeToVarType(4126), 12);
    EXPECT_EQ(ViewSettings::MapiTypeToVarType(64), 7);
    EXPECT_EQ(ViewSettings::MapiTypeToVarType(13), 9);
    EXPECT_EQ(ViewSettings::MapiTypeToVarType(30), 8);

    ViewSettings oView;
    oView.CreateNew("v");
    oView.SetFolders(nullptr);
    ASSERT_TRUE(oView.Folders());
    EXPECT_EQ(oView.Folders()->Count(), 0);
    auto colFolders = std::make_shared<engine::FolderDataList>();
    oView.SetFolders(colFolders);
    EXPECT_EQ(oView.Folders(), colFolders);

    oView.AddField(Field(kLocationKey));
    oView.AddField(Field(kLocationKey));
    EXPECT_EQ(oView.Fields()->Count(), 6);
    oView.Fields()->Item(rt::Variant(kLocationKey))->SetCalculation(4);
    oView.Fields()->Item(rt::Variant("Duration"))->SetCalculation(2);
    EXPECT_EQ(oView.CalculatedFieldsCount(), 2);

    EXPECT_FALSE(oView.HasKeywordGrouping());
    oView.GroupByLevel(1)->SetApply(true);
    oView.GroupByLevel(1)->ColKey = "Gone";
    EXPECT_FALSE(oView.HasKeywordGrouping());
    EXPECT_FALSE(oView.HasBooleanGrouping());
    oView.GroupByLevel(2)->SetApply(true);
    oView.GroupByLevel(2)->ColKey = kKeywordsKey;
    EXPECT_TRUE(oView.HasKeywordGrouping());
    EXPECT_TRUE(oView.HasBooleanGrouping());
}

} // namespace
} // namespace views::test
