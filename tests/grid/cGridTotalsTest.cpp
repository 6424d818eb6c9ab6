#include "ReportFixture.h"

#include "common/modLanguage.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Date.h"

#include <algorithm>

namespace rt = platform::runtime;
using namespace engine;

namespace {

class cGridTotalsTest : public ReportFixture
{
protected:
    // Subject, start, duration (minutes) and amount; grouped as each test says.
    void DateView(std::int32_t lAmountCalc = 2, std::int32_t lDurationCalc = 2,
                  std::int32_t lSubjectCalc = 0)
    {
        oView.AddColumn("Subject", "Betreff", 8, 1, lSubjectCalc);
        oView.AddColumn("Start", "Beginn", 7, 5);
        oView.AddColumn("Duration", "Dauer", 3, 7, lDurationCalc);
        oView.AddColumn("Amount", "Betrag", 5, 1, lAmountCalc);
    }
    void DateRecord(const std::string& sSubject, rt::Date dt, std::int32_t lMinutes, double d)
    {
        AddRecord({{"Subject", PT_STRING8, rt::Variant(sSubject)},
                   {"Start", PT_SYSTIME, rt::Variant(dt)},
                   {"Duration", PT_LONG, rt::Variant(lMinutes)},
                   {"Amount", PT_DOUBLE, rt::Variant(d)}});
    }
    void ThreeRecords()
    {
        DateRecord("c", rt::DateSerial(2023, 1, 1), 1500, 1); // Sunday, January
        DateRecord("a", rt::DateSerial(2024, 1, 2), 6000, 2); // Tuesday, January
        DateRecord("b", rt::DateSerial(2024, 3, 4), 30, 4);   // Monday, March
    }
};

TEST_F(cGridTotalsTest, MonthGroupsJoinYearsAndShowTheMonthName)
{
    DateView();
    oView.Group(0, "Start", 4);
    oView.Sort(0, "Subject");
    ThreeRecords();
    Fill();
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "S0|Total || |125:30|7,00",
                          "S8|Beginn: Januar|| |125:00|3,00",
                          "D||a|02.01.2024 00:00|100:00|2",
                          "D||c|01.01.2023 00:00|25:00|1",
                          "S8|Beginn: März|| |00:30|4,00",
                          "D||b|04.03.2024 00:00|00:30|4",
                      }));
    EXPECT_EQ(fg.ColWidth(0), 400);
}

TEST_F(cGridTotalsTest, WeekAndWeekdayFollowTheFirstDayOfWeek)
{
    DateView();
    oView.Group(0, "Start", 7);
    oView.Group(1, "Start", 3);
    ThreeRecords();
    Fill();
    std::vector<std::string> aCaptions;
    for (int r = 1; r < fg.Rows(); ++r) {
        if (fg.IsSubtotal(r) && fg.RowOutlineLevel(r) > 0)
            aCaptions.push_back(fg.TextMatrix(r, 0));
    }
    EXPECT_EQ(aCaptions,
              (std::vector<std::string>{"Beginn: Montag", "Beginn: KW 10", "Beginn: Dienstag",
                                        "Beginn: KW 1", "Beginn: Sonntag", "Beginn: KW 52"}));
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    platform::forms::FlexGrid fgEnglish;
    grid::cGrid oGrid;
    oGrid.ShowItems(fgEnglish, oRecords, oView);
    aCaptions.clear();
    for (int r = 1; r < fgEnglish.Rows(); ++r) {
        if (fgEnglish.IsSubtotal(r) && fgEnglish.RowOutlineLevel(r) > 0)
            aCaptions.push_back(fgEnglish.TextMatrix(r, 0));
    }
    EXPECT_EQ(aCaptions,
              (std::vector<std::string>{"Beginn: Sunday", "Beginn: Week 1", "Beginn: Monday",
                                        "Beginn: Week 10", "Beginn: Tuesday", "Beginn: Week 1"}));
}

TEST_F(cGridTotalsTest, DurationsGroupAndSortByMinutes)
{
    DateView(0, 0);
    oView.Group(0, "Duration");
    ThreeRecords();
    Fill();
    std::vector<std::string> aCaptions;
    for (int r = 1; r < fg.Rows(); ++r) {
        if (fg.IsSubtotal(r))
            aCaptions.push_back(fg.TextMatrix(r, 0));
    }
    EXPECT_EQ(aCaptions,
              (std::vector<std::string>{"Dauer: 00:30", "Dauer: 25:00", "Dauer: 100:00"}));
}

TEST_F(cGridTotalsTest, EveryFunctionWithNamesItemCountsAndThreeLevels)
{
    oView.AddColumn("Icon", "Symbol", 9, 0, 4, false, 2)->SetVisible(false);
    oView.AddColumn("Subject", "Betreff", 8, 1, 4);
    oView.AddColumn("Start", "Beginn", 7, 5, 6);
    oView.AddColumn("Duration", "Dauer", 3, 7, 5);
    oView.AddColumn("Amount", "Betrag", 5, 1, 3);
    oView.AddColumn("Low", "Tief", 5, 1, 7);
    oView.AddColumn("Done", "Erledigt", 11, 6);
    oView.bCalculateItemsCount = true;
    oView.bDisplayFunctionName = true;
    oView.Group(0, "Start", 6);
    oView.Group(1, "Start", 5);
    oView.Group(2, "Done", 0, 1);
    auto add = [&](const char* s, rt::Date dt, std::int32_t m, double d, bool b) {
        AddRecord({{"Icon", PT_OBJECT, rt::Variant(std::int32_t(1))},
                   {"Subject", PT_STRING8, rt::Variant(s)},
                   {"Start", PT_SYSTIME, rt::Variant(dt)},
                   {"Duration", PT_LONG, rt::Variant(m)},
                   {"Amount", PT_DOUBLE, rt::Variant(d)},
                   {"Low", PT_DOUBLE, rt::Variant(d)},
                   {"Done", PT_BOOLEAN, rt::Variant(b)}});
    };
    add("a", rt::DateSerial(2024, 2, 1), 60, 1, true);
    add("b", rt::DateSerial(2024, 2, 2), 120, 3, false);
    add("c", rt::DateSerial(2024, 5, 1), 30, 4, true);
    Fill();
    const auto aRows = Rows();
    ASSERT_EQ(aRows.size(), 3u + 1u + 2u + 3u + 1u);
    EXPECT_EQ(aRows[0], "S0|Total  (3 Einträge)||[Anzahl] 3|[Max] 01.05.2024|[Durchschnitt] "
                        "01:10|[Prozent] 100,00 %|[Min] 1,00| ");
    EXPECT_EQ(aRows[1], "S11|Beginn: 2024 (3 Einträge)||[Anzahl] 3|[Max] 01.05.2024|"
                        "[Durchschnitt] 01:10|[Prozent] 100,00 %|[Min] 1,00| ");
    EXPECT_EQ(aRows[2], "S12|Beginn: Quartal 1 (2 Einträge)||[Anzahl] 2|[Max] 02.02.2024|"
                        "[Durchschnitt] 01:30|[Prozent] 50,00 %|[Min] 1,00| ");
    EXPECT_EQ(aRows[3], "S13|Erledigt: Ja (1 Eintrag)||[Anzahl] 1|[Max] 01.02.2024|"
                        "[Durchschnitt] 01:00|[Prozent] 12,50 %|[Min] 1,00| ");
    EXPECT_EQ(aRows[5], "S13|Erledigt: Nein (1 Eintrag)||[Anzahl] 1|[Max] 02.02.2024|"
                        "[Durchschnitt] 02:00|[Prozent] 37,50 %|[Min] 3,00| ");
    // Three levels and the grand total: four indents, though the first column carries a total.
    EXPECT_EQ(fg.ColWidth(0), 800);
}

TEST_F(cGridTotalsTest, TotalInTheFirstColumnLeavesTheOutlineItsIndentWidth)
{
    // Group captions wider than the outline column run on over blank cells in the window; a
    // count in the first column does not widen the outline column, whose width the saved
    // report and the stored widths take: one level and the grand total, two indents.
    DateView(2, 2, 4);
    oView.Group(0, "Start", 4);
    ThreeRecords();
    Fill();
    ASSERT_NE(fg.TextMatrix(1, 1), "");
    EXPECT_EQ(fg.ColWidth(0), 400);
}

TEST_F(cGridTotalsTest, DisplayResultsOnlyShowsTotalsOnly)
{
    DateView();
    oView.Group(0, "Start", 6);
    oView.bDisplayResultsOnly = true;
    ThreeRecords();
    Fill();
    for (int r = 1; r < fg.Rows(); ++r) {
        if (fg.IsSubtotal(r)) {
            EXPECT_EQ(fg.IsCollapsed(r), platform::forms::OutlineState::Subtotals) << r;
            EXPECT_TRUE(fg.RowIsVisible(r)) << r;
        } else {
            EXPECT_FALSE(fg.RowIsVisible(r)) << r;
        }
    }
}

TEST_F(cGridTotalsTest, SortStaysInsideGroupsAndDescendingWorks)
{
    DateView(0, 0);
    oView.Group(0, "Start", 6, 1);
    oView.Sort(0, "Amount", 1);
    ThreeRecords();
    DateRecord("d", rt::DateSerial(2024, 6, 1), 10, 9);
    Fill();
    EXPECT_EQ(Column("Subject"), (std::vector<std::string>{"", "d", "b", "a", "", "c"}));
    EXPECT_EQ(fg.TextMatrix(1, 0), "Beginn: 2024");
    EXPECT_EQ(fg.TextMatrix(5, 0), "Beginn: 2023");
}

} // namespace

namespace {

class cGridEdgeTest : public ReportFixture
{
};

TEST_F(cGridEdgeTest, PrefixCutOnlyTouchesKeysMadeFromDates)
{
    oView.AddColumn("Start", "Beginn", 7, 5, 0, false, 0, "dddd");
    oView.Group(0, "Start", 4);
    AddRecord({{"Start", PT_SYSTIME, rt::Variant(rt::DateSerial(2024, 3, 15))}});
    Fill();
    // "Freitag" is no date, so it is its own key, shown whole.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"S5|Beginn: Freitag|", "D||Freitag"}));
}

TEST_F(cGridEdgeTest, NoRecordsKeepOnlyTheHeader)
{
    oView.AddColumn("Amount", "Betrag", 5, 1, 2);
    grid::cGrid oGrid;
    oGrid.ShowItems(fg, nullptr, oView);
    EXPECT_EQ(fg.Rows(), fg.FixedRows());
    Fill();
    // Without data rows there is no group, so no total row either.
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(fg.ColWidth(0), 200);
}

} // namespace
