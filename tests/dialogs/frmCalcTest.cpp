#include "dialogs/frmCalc.h"

#include "SectionFixture.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/StandardControls.h"

#include <gtest/gtest.h>

namespace dialogs::test {
namespace {

using views::test::kLocationKey;
using views::test::kSubjectKey;

// Positions of the function list: blank, average, count, max, min, percent, sum.
enum Pick
{
    kNone = 0,
    kAverage = 1,
    kCount = 2,
    kMax = 3,
    kMin = 4,
    kPercent = 5,
    kSum = 6,
};

class frmCalcTest : public SectionFixture
{
protected:
    /// The grid row of a field key; fails the test when the grid does not list it.
    static int RowOf(const platform::forms::FlexGrid& fg, const std::string& sKey)
    {
        for (int r = fg.FixedRows(); r < fg.Rows(); ++r)
            if (const auto* pKey = fg.RowData(r).Get<std::string>(); pKey && *pKey == sKey)
                return r;
        ADD_FAILURE() << sKey << " is not listed";
        return -1;
    }
    static bool Lists(const platform::forms::FlexGrid& fg, const std::string& sKey)
    {
        for (int r = fg.FixedRows(); r < fg.Rows(); ++r)
            if (const auto* pKey = fg.RowData(r).Get<std::string>(); pKey && *pKey == sKey)
                return true;
        return false;
    }
};

struct FunctionCase
{
    const char* name;
    int lPick;
    int lCode;
};

class CalcFunctionTest : public frmCalcTest, public ::testing::WithParamInterface<FunctionCase>
{
};

TEST_P(CalcFunctionTest, PickedFunctionIsStoredAsItsSubtotalCode)
{
    const auto& oCase = GetParam();
    const bool bOK = Run<frmCalc>([&](frmCalc& oDialog) {
        auto& fg = oDialog.fg();
        ASSERT_TRUE(fg.UserPickComboItem(RowOf(fg, kDurationKey), 1, oCase.lPick));
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_EQ(Column(kDurationKey)->Calculation(), oCase.lCode);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, CalcFunctionTest,
    ::testing::Values(FunctionCase{"Average", kAverage, 5}, FunctionCase{"Count", kCount, 4},
                      FunctionCase{"Max", kMax, 6}, FunctionCase{"Min", kMin, 7},
                      FunctionCase{"Percent", kPercent, 3}, FunctionCase{"Sum", kSum, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(frmCalcTest, FieldOutsideTheColumnsBecomesVisibleColumnAndBlankKeepsIt)
{
    Run<frmCalc>([&](frmCalc& oDialog) {
        auto& fg = oDialog.fg();
        const int r = RowOf(fg, kDueDateKey);
        fg.UserPickComboItem(r, 1, kSum);
        fg.UserPickComboItem(r, 1, kNone);
        fg.UserPickComboItem(RowOf(fg, kDurationKey), 1, kSum);
        EXPECT_FALSE(fg.UserEdit(r, 0, "renamed"));
        oDialog.cmdOK().Click();
    });
    EXPECT_EQ(ColumnKeys(),
              (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey, kDueDateKey}));
    EXPECT_TRUE(Column(kDueDateKey)->Visible());
    EXPECT_EQ(Column(kDueDateKey)->Calculation(), 0);
    EXPECT_EQ(Column(kDurationKey)->Calculation(), 2);
}

TEST_F(frmCalcTest, ItemCountManagesHiddenIconColumnAndFlags)
{
    View().SetCalculateItemsCount(true);
    Run<frmCalc>([&](frmCalc& oDialog) {
        EXPECT_EQ(oDialog.chkCount().Value(), 1);
        EXPECT_FALSE(Lists(oDialog.fg(), kIconKey));
        oDialog.chkDisplayFunctionName().SetValue(1);
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(View().CalculateItemsCount());
    EXPECT_TRUE(View().DisplayFunctionName());
    EXPECT_FALSE(Column(kIconKey)->Visible());
    EXPECT_EQ(Column(kIconKey)->Calculation(), 4);

    Run<frmCalc>([&](frmCalc& oDialog) {
        oDialog.chkCount().SetValue(0);
        oDialog.cmdOK().Click();
    });
    EXPECT_FALSE(View().CalculateItemsCount());
    EXPECT_EQ(Column(kIconKey)->Calculation(), 0);
}

TEST_F(frmCalcTest, TotalsOutsideTheSetAreListedFirstLastFoundFirst)
{
    // Two calendar-only columns with totals, in this column order.
    for (const auto& sKey : {kLocationKey, std::string("ClipStart")})
        View().AddField(Field(sKey));
    Column(kLocationKey)->SetCalculation(4);
    Column("ClipStart")->SetCalculation(6);
    Column(kDurationKey)->SetCalculation(2);
    Run<frmCalc>([&](frmCalc& oDialog) {
        auto& fg = oDialog.fg();
        EXPECT_EQ(fg.TextMatrix(0, 0), "Available fields");
        EXPECT_EQ(RowOf(fg, "ClipStart"), 1);
        EXPECT_EQ(fg.TextMatrix(1, 1), "Max");
        EXPECT_EQ(RowOf(fg, kLocationKey), 2);
        EXPECT_EQ(fg.TextMatrix(2, 1), "Count");
        EXPECT_EQ(fg.TextMatrix(RowOf(fg, kDurationKey), 1), "Sum");
        // Listed once, whichever set is shown.
        oDialog.cboFolder().SetListIndex(1);
        int lSeen = 0;
        for (int r = 1; r < fg.Rows(); ++r)
            lSeen += fg.RowData(r).Get<std::string>() &&
                     *fg.RowData(r).Get<std::string>() == kLocationKey;
        EXPECT_EQ(lSeen, 1);
        EXPECT_FALSE(Lists(fg, kEntryIdKey));
        oDialog.cmdCancel().Click();
    });
}

TEST_F(frmCalcTest, ClearAllBlanksEverything)
{
    View().SetCalculateItemsCount(true);
    View().SetDisplayFunctionName(true);
    Column(kDurationKey)->SetCalculation(2);
    Run<frmCalc>([&](frmCalc& oDialog) {
        oDialog.cmdDeleteAll().Click();
        auto& fg = oDialog.fg();
        for (int r = 1; r < fg.Rows(); ++r)
            EXPECT_EQ(fg.TextMatrix(r, 1), " ") << r;
        EXPECT_EQ(oDialog.chkCount().Value(), 0);
        EXPECT_EQ(oDialog.chkDisplayFunctionName().Value(), 0);
        oDialog.cmdOK().Click();
    });
    for (const auto& oColumn : *View().Fields())
        EXPECT_EQ(oColumn->Calculation(), 0) << oColumn->Key();
    EXPECT_FALSE(View().CalculateItemsCount());
    EXPECT_FALSE(View().DisplayFunctionName());
}

TEST_F(frmCalcTest, CancelLeavesTheViewAlone)
{
    const bool bOK = Run<frmCalc>([&](frmCalc& oDialog) {
        oDialog.chkCount().SetValue(1);
        oDialog.fg().UserPickComboItem(RowOf(oDialog.fg(), kDurationKey), 1, kSum);
        oDialog.cmdCancel().Click();
    });
    EXPECT_FALSE(bOK);
    EXPECT_FALSE(View().CalculateItemsCount());
    EXPECT_EQ(Column(kDurationKey)->Calculation(), 0);
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
}

} // namespace
} // namespace dialogs::test
