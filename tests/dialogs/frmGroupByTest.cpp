#include "dialogs/frmGroupBy.h"

#include "SectionFixture.h"
#include "platform/forms/StandardControls.h"
#include "views/GroupBy.h"

#include <gtest/gtest.h>

namespace dialogs::test {
namespace {

using views::test::kKeywordsKey;
using views::test::kLocationKey;
using views::test::kSubjectKey;

constexpr int kTaskFields = 0;
constexpr int kCalendarFields = 1;

class frmGroupByTest : public SectionFixture
{
protected:
    views::GroupBy& Level(int i) { return *View().GroupByLevel(i); }

    void GroupStored(int i, const std::string& sKey, int lDateGroupBy = 0)
    {
        Level(i).ColKey = sKey;
        Level(i).SetApply(true);
        Level(i).DateGroupBy = lDateGroupBy;
    }
};

struct DateCase
{
    const char* name;
    int lInterval;
};

class GroupByDateTest : public frmGroupByTest, public ::testing::WithParamInterface<DateCase>
{
};

TEST_P(GroupByDateTest, DateFieldGroupsByTheChosenInterval)
{
    const int lInterval = GetParam().lInterval;
    const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        PickField(oDialog, 0, Field(kStartKey)->Caption());
        EXPECT_TRUE(oDialog.cboDateGroup(0).Enabled());
        oDialog.cboDateGroup(0).SetListIndex(lInterval);
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_TRUE(Level(0).Apply());
    EXPECT_EQ(Level(0).ColKey, kStartKey);
    EXPECT_EQ(Level(0).DateGroupBy, lInterval);
    EXPECT_EQ(Level(0).SortOrder, 0);
    // The field already is a column: nothing added, and its show box was ticked.
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
    EXPECT_TRUE(Column(kStartKey)->Visible());
}

INSTANTIATE_TEST_SUITE_P(Intervals, GroupByDateTest,
                         ::testing::Values(DateCase{"Hours", 1}, DateCase{"Days", 2},
                                           DateCase{"Weeks", 3}, DateCase{"Months", 4},
                                           DateCase{"Quarters", 5}, DateCase{"Years", 6},
                                           DateCase{"Weekdays", 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(frmGroupByTest, KeywordFieldBecomesHiddenColumnWithoutDateGrouping)
{
    const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        PickField(oDialog, 0, Field(kStartKey)->Caption());
        oDialog.cboDateGroup(0).SetListIndex(4);
        // Another field on the same level: no dates, so the interval is disabled and dropped.
        PickField(oDialog, 0, Field(kKeywordsKey)->Caption());
        EXPECT_FALSE(oDialog.cboDateGroup(0).Enabled());
        EXPECT_EQ(oDialog.chkShow(0).Value(), 0);
        oDialog.optDesc(0).SetValue(true);
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_EQ(Level(0).ColKey, kKeywordsKey);
    EXPECT_EQ(Level(0).DateGroupBy, 0);
    EXPECT_EQ(Level(0).SortOrder, 1);
    EXPECT_EQ(ColumnKeys(),
              (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey, kKeywordsKey}));
    EXPECT_FALSE(Column(kKeywordsKey)->Visible());
}

TEST_F(frmGroupByTest, ShowBoxDecidesVisibilityOfAddedAndExistingColumns)
{
    Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        PickField(oDialog, 0, Field(kSubjectKey)->Caption());
        EXPECT_EQ(oDialog.chkShow(0).Value(), 1);
        oDialog.chkShow(0).SetValue(0);
        PickField(oDialog, 1, Field(kDueDateKey)->Caption());
        oDialog.chkShow(1).SetValue(1);
        oDialog.cmdOK().Click();
    });
    EXPECT_FALSE(Column(kSubjectKey)->Visible());
    EXPECT_TRUE(Column(kDueDateKey)->Visible());
    EXPECT_EQ(ColumnKeys().back(), kDueDateKey);
}

TEST_F(frmGroupByTest, SameMultiValueFieldTwiceIsRefused)
{
    bool bStillOpen = false;
    const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        PickField(oDialog, 0, Field(kKeywordsKey)->Caption());
        PickField(oDialog, 2, Field(kKeywordsKey)->Caption());
        oDialog.cmdOK().Click();
        bStillOpen = oDialog.IsLoaded();
        // Cancelled after the refusal: nothing reaches the opener.
        oDialog.cmdCancel().Click();
    });
    EXPECT_FALSE(bOK);
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"'" + Field(kKeywordsKey)->Caption() +
                                                    "' is a multi-value field and may be "
                                                    "selected just once."}));
    EXPECT_FALSE(Level(0).Apply());
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
}

TEST_F(frmGroupByTest, SameOrdinaryFieldOrTwoDifferentMultiValueFieldsAreAccepted)
{
    for (const auto& [sFirst, sSecond] :
         {std::pair{kSubjectKey, kSubjectKey}, std::pair{kKeywordsKey, kCompaniesKey}}) {
        SCOPED_TRACE(sSecond);
        const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
            PickField(oDialog, 0, Field(sFirst)->Caption());
            PickField(oDialog, 1, Field(sSecond)->Caption());
            oDialog.cmdOK().Click();
        });
        EXPECT_TRUE(bOK);
        EXPECT_EQ(Level(0).ColKey, sFirst);
        EXPECT_EQ(Level(1).ColKey, sSecond);
        EXPECT_TRUE(Level(1).Apply());
        EXPECT_TRUE(Messages().empty());
    }
}

TEST_F(frmGroupByTest, StoredLevelIsFoundByKeyAndAFieldSetSwitchResetsOrderAndShowBox)
{
    // The due date's key is not its caption; it is no column of the view yet.
    GroupStored(0, kDueDateKey, 3);
    Level(0).SortOrder = 1;
    const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        EXPECT_EQ(oDialog.cbo(0).Text(), Field(kDueDateKey)->Caption());
        EXPECT_TRUE(oDialog.optDesc(0).Value());
        EXPECT_EQ(oDialog.chkShow(0).Value(), 0);
        EXPECT_EQ(oDialog.cboDateGroup(0).ListIndex(), 3);
        oDialog.optAsc(0).SetValue(true);
        oDialog.chkShow(0).SetValue(1);
        // The calendar set lacks the due date: it stays chosen, at entry 1, with the stored
        // order and show box back.
        oDialog.cboFolder().SetListIndex(kCalendarFields);
        EXPECT_EQ(oDialog.cbo(0).ListIndex(), 1);
        EXPECT_EQ(oDialog.cbo(0).Text(), Field(kDueDateKey)->Caption());
        EXPECT_TRUE(oDialog.optDesc(0).Value());
        EXPECT_FALSE(oDialog.optAsc(0).Value());
        EXPECT_EQ(oDialog.chkShow(0).Value(), 0);
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_EQ(Level(0).ColKey, kDueDateKey);
    EXPECT_EQ(Level(0).SortOrder, 1);
    EXPECT_EQ(Level(0).DateGroupBy, 3);
    EXPECT_FALSE(Column(kDueDateKey)->Visible());
}

TEST_F(frmGroupByTest, CalendarFieldShownAtTopOfTaskListAndKept)
{
    GroupStored(0, kLocationKey);
    const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        EXPECT_EQ(oDialog.cboFolder().ListIndex(), kTaskFields);
        EXPECT_EQ(oDialog.cbo(0).ListIndex(), 1);
        EXPECT_EQ(oDialog.cbo(0).List(1), Field(kLocationKey)->Caption());
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_TRUE(Level(0).Apply());
    EXPECT_EQ(Level(0).ColKey, kLocationKey);
}

TEST_F(frmGroupByTest, UnofferedStoredFieldIsKeptUntilItsOwnListChanges)
{
    // A field of the set that is never offered: its level shows no entry.
    GroupStored(0, kEntryIdKey, 4);
    GroupStored(1, kStartKey);
    const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        EXPECT_EQ(oDialog.cbo(0).ListIndex(), -1);
        // Picks on other levels and a change of field set keep it.
        PickField(oDialog, 1, Field(kSubjectKey)->Caption());
        PickField(oDialog, 2, Field(kDueDateKey)->Caption());
        oDialog.cboFolder().SetListIndex(kCalendarFields);
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Level(0).Apply());
    EXPECT_EQ(Level(0).ColKey, kEntryIdKey);
    EXPECT_EQ(Level(0).DateGroupBy, 4);
    EXPECT_EQ(Level(1).ColKey, kSubjectKey);
    EXPECT_EQ(Level(2).ColKey, kDueDateKey);
    // No column for the kept level; the new level's field was added, hidden.
    EXPECT_EQ(ColumnKeys(),
              (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey, kDueDateKey}));

    Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        oDialog.cbo(0).SetListIndex(0);
        oDialog.cmdOK().Click();
    });
    EXPECT_FALSE(Level(0).Apply());
    EXPECT_TRUE(Level(1).Apply());
}

TEST_F(frmGroupByTest, ClearAllUnappliesEveryLevelAndKeepsColumns)
{
    GroupStored(0, kStartKey, 4);
    GroupStored(1, kSubjectKey);
    Run<frmGroupBy>([&](frmGroupBy& oDialog) {
        EXPECT_EQ(oDialog.cboDateGroup(0).ListIndex(), 4);
        oDialog.cmdDeleteAll().Click();
        EXPECT_EQ(oDialog.chkShow(0).Value(), 0);
        oDialog.cmdOK().Click();
    });
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Level(i).Apply()) << i;
        EXPECT_EQ(Level(i).DateGroupBy, 0) << i;
    }
    EXPECT_EQ(VisibleKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
}

TEST_F(frmGroupByTest, CancelAndCloseBoxChangeNothing)
{
    for (bool bCloseBox : {false, true}) {
        const bool bOK = Run<frmGroupBy>([&](frmGroupBy& oDialog) {
            PickField(oDialog, 0, Field(kDueDateKey)->Caption());
            oDialog.cboDateGroup(0).SetListIndex(2);
            if (bCloseBox)
                oDialog.UserClose();
            else
                oDialog.cmdCancel().Click();
        });
        EXPECT_FALSE(bOK);
        EXPECT_FALSE(Level(0).Apply());
        EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
    }
}

} // namespace
} // namespace dialogs::test
