#include "GridFixture.h"

#include "common/modLanguage.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Date.h"

#include <string>
#include <vector>

namespace fg2 = grid::Flexgrid2;
namespace rt = platform::runtime;
namespace forms = platform::forms;

namespace {

class Flexgrid2Test : public GridFixture
{
};

TEST_F(Flexgrid2Test, ItemCountUsesSingularOnlyForOne)
{
    EXPECT_EQ(fg2::FormatItemCount(1), "1 Eintrag");
    EXPECT_EQ(fg2::FormatItemCount(0), "0 Einträge");
    EXPECT_EQ(fg2::FormatItemCount(7), "7 Einträge");
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    EXPECT_EQ(fg2::FormatItemCount(1), "1 item");
    EXPECT_EQ(fg2::FormatItemCount(2), "2 items");
}

struct CaptionCase
{
    std::string sCaption;
    int lPropertyType;
    int lDateGroupBy;
    std::string sValue;
    std::string sGerman;
    std::string sEnglish;
};

TEST_F(Flexgrid2Test, GroupCaptionsInBothLanguages)
{
    const std::vector<CaptionCase> aCases{
        {"Beginn", 5, 3, "12", "Beginn: KW 12", "Beginn: Week 12"},
        {"Beginn", 5, 3, "", "Beginn: (Keine Angabe)", "Beginn: (None)"},
        {"Beginn", 5, 1, "09", "Beginn: Stunde 09", "Beginn: Hour 09"},
        {"Beginn", 5, 2, "05", "Beginn: Tag 05", "Beginn: Day 05"},
        {"Beginn", 5, 5, "3", "Beginn: Quartal 3", "Beginn: Quarter 3"},
        {"Beginn", 5, 4, "März", "Beginn: März", "Beginn: März"},
        {"Beginn", 5, 6, "2024", "Beginn: 2024", "Beginn: 2024"},
        {"Erledigt", 6, 0, "1", "Erledigt: Ja", "Erledigt: Yes"},
        {"Erledigt", 6, 0, "0", "Erledigt: Nein", "Erledigt: No"},
        {"Erledigt", 6, 0, "", "Erledigt: Nein", "Erledigt: No"},
        {"Ort", 1, 0, "Bonn", "Ort: Bonn", "Ort: Bonn"},
        {"Ort", 1, 0, "", "Ort: (Keine Angabe)", "Ort: (None)"},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(fg2::GetGroupCaption(c.sCaption, c.lPropertyType, c.lDateGroupBy, c.sValue),
                  c.sGerman);
    }
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    for (const auto& c : aCases) {
        EXPECT_EQ(fg2::GetGroupCaption(c.sCaption, c.lPropertyType, c.lDateGroupBy, c.sValue),
                  c.sEnglish);
    }
}

struct TotalCase
{
    int lDataType;
    int lCalculation;
    rt::Variant vValue;
    bool bShowName;
    std::string sExpected;
};

TEST_F(Flexgrid2Test, TotalCaptionsFormatByFunction)
{
    UseLanguage("en-US", common::modLanguage::LANG_GERMAN);
    const std::vector<TotalCase> aCases{
        {5, 2, rt::Variant("1234.5"), true, "[Summe] 1234.50"},
        {5, 2, rt::Variant("1234.5"), false, "1234.50"},
        {3, 4, rt::Variant("4"), true, "[Anzahl] 4"},
        {5, 3, rt::Variant("33.333"), true, "[Prozent] 33.33 %"},
        {5, 5, rt::Variant("2.125"), true, "[Durchschnitt] 2.13"},
        {5, 6, rt::Variant("7"), true, "[Max] 7.00"},
        {5, 7, rt::Variant("-1"), true, "[Min] -1.00"},
        {3, 2, rt::Variant("25:00"), false, "25:00"},
        {7, 6, rt::Variant("45366.5"), false, "3/15/2024 12:00:00 PM"},
        {7, 4, rt::Variant("3"), false, "3"},
    };
    for (const auto& c : aCases) {
        rt::Variant v = c.vValue;
        EXPECT_EQ(fg2::FormatTotalCaption(c.lDataType, c.lCalculation, v, c.bShowName),
                  c.sExpected);
    }
}

TEST_F(Flexgrid2Test, TotalCaptionsUseTheLocaleDecimalSeparator)
{
    rt::Variant v("1234,5");
    EXPECT_EQ(fg2::FormatTotalCaption(5, 2, v, false), "1234,50");
    EXPECT_EQ(rt::CStr(v), "1234,50");
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    rt::Variant vPercent("12.5");
    EXPECT_EQ(fg2::FormatTotalCaption(5, 3, vPercent, true), "[Percent] 12.50 %");
}

TEST_F(Flexgrid2Test, CodeMapsAreInverse)
{
    const std::vector<int> aCodes{0, 5, 4, 6, 7, 3, 2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(fg2::CalcIndexToSubtotal(i), aCodes[size_t(i)]);
        EXPECT_EQ(fg2::SubtotalToCalcIndex(aCodes[size_t(i)]), i);
    }
    EXPECT_EQ(fg2::SubtotalToCalcIndex(1), 0);
    EXPECT_EQ(fg2::CalcIndexToSubtotal(9), 0);
    EXPECT_EQ(fg2::CalcIndexToSubtotal(-1), 0);
    ASSERT_EQ(fg2::CalcFunctions().Count(), 7);
    EXPECT_EQ(fg2::CalcFunctions().Item(1), " ");
    EXPECT_EQ(fg2::CalcFunctions().Item(fg2::SubtotalToCalcIndex(2) + 1), "Summe");
}

// A grid of two groups with nested subgroups: level-1 and level-2 subtotal rows.
void FillOutlined(forms::FlexGrid& fg)
{
    fg.SetCols(4);
    fg.SetFixedCols(0);
    fg.SetRows(1);
    fg.AddItem("\tA\tx\t1");
    fg.AddItem("\tA\ty\t2");
    fg.AddItem("\tB\tx\t3");
    fg.Subtotal(forms::SubtotalFunction::Sum, 1, 3, "%s", 1);
    fg.Subtotal(forms::SubtotalFunction::Sum, 2, 3, "%s", 1);
}

TEST_F(Flexgrid2Test, CollapseToLevelTouchesThatLevelAndDeeper)
{
    forms::FlexGrid fg;
    FillOutlined(fg);
    fg2::CollapseGridToLevel(fg, 2, 2);
    int lClosed = 0, lOpen = 0;
    for (int r = 1; r < fg.Rows(); ++r) {
        if (!fg.IsSubtotal(r)) {
            continue;
        }
        const bool bClosed = fg.IsCollapsed(r) == forms::OutlineState::Collapsed;
        EXPECT_EQ(bClosed, fg.RowOutlineLevel(r) >= 2) << r;
        (bClosed ? lClosed : lOpen) += 1;
    }
    EXPECT_GT(lClosed, 0);
    EXPECT_GT(lOpen, 0);
    EXPECT_TRUE(fg.Redraw());
    fg2::CollapseGridToLevel(fg, 0, 0);
    for (int r = 1; r < fg.Rows(); ++r) {
        EXPECT_EQ(fg.IsCollapsed(r), forms::OutlineState::Expanded);
    }
}

TEST_F(Flexgrid2Test, SortAscendingOrdersByFirstColumnThenNext)
{
    forms::FlexGrid fg;
    fg.SetCols(2);
    fg.SetRows(1);
    fg.AddItem("b\t1");
    fg.AddItem("A\t2");
    fg.AddItem("a\t1");
    fg2::SortGridAscending(fg);
    EXPECT_EQ(fg.TextMatrix(1, 0) + fg.TextMatrix(1, 1), "a1");
    EXPECT_EQ(fg.TextMatrix(2, 0) + fg.TextMatrix(2, 1), "A2");
    EXPECT_EQ(fg.TextMatrix(3, 0), "b");
}

} // namespace
