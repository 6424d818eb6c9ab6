#include "ReportFixture.h"

#include "common/modLanguage.h"
#include "platform/runtime/Date.h"

namespace rt = platform::runtime;
using namespace engine;

namespace {

const std::string kCategories = "{00020329-0000-0000-C000-000000000046}/Keywords";
const std::string kContacts = "{00062008-0000-0000-C000-000000000046}/Contacts";

class cGridGroupsTest : public ReportFixture
{
protected:
    void KeywordView()
    {
        oView.AddColumn("Subject", "Betreff", 8, 1);
        oView.AddColumn(kCategories, "Kategorien", 12, 11);
        oView.AddColumn("Amount", "Betrag", 5, 1, 2);
        oView.Group(0, kCategories);
    }
    void KeywordRecord(const std::string& sSubject, const std::vector<std::string>& aCats,
                       double dAmount)
    {
        AddRecord({{"Subject", PT_STRING8, rt::Variant(sSubject)},
                   {kCategories, PT_MV_STRING8, List(aCats)},
                   {"Amount", PT_DOUBLE, rt::Variant(dAmount)}});
    }
};

TEST_F(cGridGroupsTest, RecordShowsUnderEachOfItsKeywords)
{
    KeywordView();
    KeywordRecord("Plan", {"B", "A"}, 2);
    KeywordRecord("Bau", {"A"}, 3);
    Fill();
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "S0|Total || |5,00",
                          "S7|Kategorien: A|| |5,00",
                          "D||Plan|A|2",
                          "D||Bau|A|3",
                          "S7|Kategorien: B|| |2,00",
                          "D||Plan|B|2",
                      }));
}

struct ConditionCase
{
    trCompareValue lCompare;
    std::vector<std::string> aConditions;
    bool bAnd;
    std::vector<std::string> aExpected; // the categories column, data rows only
};

TEST_F(cGridGroupsTest, ConditionModesChooseTheValuesShown)
{
    const std::vector<ConditionCase> aCases{
        {trnone, {}, false, {"A", "Projekt", "Privat"}},
        {trEquals, {"a"}, false, {"A"}},
        {trContains, {"PROJ"}, false, {"Projekt"}},
        {trEqualsNot, {"a"}, false, {"A", "Projekt", "Privat"}},
        {trEqualsNot, {"a"}, true, {"Projekt", "Privat"}},
        {trContainsNot, {"pr"}, true, {"A"}},
        // The condition leaves nothing: one row with no value, not an aborted fill.
        {trEquals, {"x"}, false, {""}},
    };
    for (const auto& c : aCases) {
        TestView oFresh;
        oView = oFresh;
        oView.oFields = std::make_shared<views::GridFields>();
        oView.oFilter = std::make_shared<engine::Filter>();
        oRecords = std::make_shared<engine::Records>();
        KeywordView();
        oView.oFilter->SetCategoryCondition(c.lCompare, c.aConditions, c.bAnd);
        KeywordRecord("Plan", {"A", "Projekt", "Privat"}, 1);
        platform::forms::FlexGrid fresh;
        grid::cGrid oGrid;
        oGrid.ShowItems(fresh, oRecords, oView);
        std::vector<std::string> aShown;
        for (int r = 1; r < fresh.Rows(); ++r) {
            if (!fresh.IsSubtotal(r)) {
                aShown.push_back(fresh.TextMatrix(r, 2));
            }
        }
        std::sort(aShown.begin(), aShown.end());
        auto aExpected = c.aExpected;
        std::sort(aExpected.begin(), aExpected.end());
        EXPECT_EQ(aShown, aExpected) << "compare " << c.lCompare << " and " << c.bAnd;
    }
}

TEST_F(cGridGroupsTest, TwoKeywordLevelsCountEachRecordOncePerGroup)
{
    oView.AddColumn(kCategories, "Kategorien", 12, 11);
    oView.AddColumn(kContacts, "Kontakte", 12, 11);
    oView.AddColumn("Amount", "Betrag", 5, 1, 2);
    oView.Group(0, kCategories);
    oView.Group(1, kContacts);
    AddRecord({{kCategories, PT_MV_STRING8, List({"A", "B"})},
               {kContacts, PT_MV_STRING8, List({"X", "Y", "Z"})},
               {"Amount", PT_DOUBLE, rt::Variant(10.0)}});
    Fill();
    const auto aRows = Rows();
    ASSERT_EQ(aRows.size(), 1u + 2u + 6u + 6u);
    EXPECT_EQ(aRows[0], "S0|Total || |10,00");
    EXPECT_EQ(aRows[1], "S7|Kategorien: A|| |10,00");
    EXPECT_EQ(aRows[2], "S8|Kontakte: X|| |10,00");
    EXPECT_EQ(aRows[3], "D||A|X|10");
    EXPECT_EQ(aRows[4], "S8|Kontakte: Y|| |10,00");
    EXPECT_EQ(aRows[8], "S7|Kategorien: B|| |10,00");
}

} // namespace

namespace {

class cGridNoValueTest : public ReportFixture
{
};

TEST_F(cGridNoValueTest, ALevelWithoutValuesGivesEmptyValueRowsAndTheFillGoesOn)
{
    oView.AddColumn(kCategories, "Kategorien", 12, 11);
    oView.AddColumn(kContacts, "Kontakte", 12, 11);
    oView.AddColumn("Amount", "Betrag", 5, 1, 2);
    oView.Group(0, kCategories);
    oView.Group(1, kContacts);
    oView.oFilter->SetContactCondition(trEquals, {"X"}, false);
    AddRecord({{kCategories, PT_MV_STRING8, List({"A", "B"})},
               {kContacts, PT_MV_STRING8, List({})},
               {"Amount", PT_DOUBLE, rt::Variant(1.0)}});
    AddRecord({{kCategories, PT_MV_STRING8, List({"A"})},
               {kContacts, PT_MV_STRING8, List({"X", "Y"})},
               {"Amount", PT_DOUBLE, rt::Variant(2.0)}});
    Fill();
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "S0|Total || |3,00",
                          "S7|Kategorien: A|| |3,00",
                          "S8|Kontakte: (Keine Angabe)|| |1,00",
                          "D||A||1",
                          "S8|Kontakte: X|| |2,00",
                          "D||A|X|2",
                          "S7|Kategorien: B|| |1,00",
                          "S8|Kontakte: (Keine Angabe)|| |1,00",
                          "D||B||1",
                      }));
}

} // namespace
