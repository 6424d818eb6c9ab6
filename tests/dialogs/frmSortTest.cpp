#include "dialogs/frmSort.h"

#include "SectionFixture.h"
#include "platform/forms/StandardControls.h"
#include "views/SortBy.h"

#include <gtest/gtest.h>

namespace dialogs::test {
namespace {

using views::test::kSubjectKey;

class frmSortTest : public SectionFixture
{
protected:
    views::SortBy& Level(int i) { return *View().SortByLevel(i); }
};

TEST_F(frmSortTest, LevelsStoreFieldOrderAndAddMissingColumns)
{
    const bool bOK = Run<frmSort>([&](frmSort& oDialog) {
        PickField(oDialog, 0, Field(kDueDateKey)->Caption());
        oDialog.optDesc(0).SetValue(true);
        oDialog.chkShow(0).SetValue(1);
        PickField(oDialog, 1, Field(kSubjectKey)->Caption());
        PickField(oDialog, 2, Field(kCompaniesKey)->Caption());
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    const std::vector<std::pair<std::string, int>> aExpected = {
        {kDueDateKey, 1}, {kSubjectKey, 0}, {kCompaniesKey, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Level(i).Apply) << i;
        EXPECT_EQ(Level(i).ColKey, aExpected[i].first) << i;
        EXPECT_EQ(Level(i).SortOrder, aExpected[i].second) << i;
    }
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey,
                                                      kDueDateKey, kCompaniesKey}));
    EXPECT_EQ(VisibleKeys(),
              (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey, kDueDateKey}));
}

TEST_F(frmSortTest, StoredLevelIsSelectedByKeyWithItsOrder)
{
    Level(0) = {true, kStartKey, 1};
    // A key that is not the field's caption.
    Level(1) = {true, kDueDateKey, 0};
    Run<frmSort>([&](frmSort& oDialog) {
        EXPECT_EQ(oDialog.cbo(0).Text(), Field(kStartKey)->Caption());
        EXPECT_TRUE(oDialog.optDesc(0).Value());
        EXPECT_EQ(oDialog.chkShow(0).Value(), 1);
        EXPECT_EQ(oDialog.cbo(1).Text(), Field(kDueDateKey)->Caption());
        EXPECT_TRUE(oDialog.optAsc(1).Value());
        EXPECT_EQ(oDialog.chkShow(1).Value(), 0);
        EXPECT_EQ(oDialog.cbo(2).ListIndex(), 0);
        // Another field set brings back the stored order and show boxes.
        oDialog.optAsc(0).SetValue(true);
        oDialog.chkShow(0).SetValue(0);
        oDialog.cboFolder().SetListIndex(1);
        EXPECT_TRUE(oDialog.optDesc(0).Value());
        EXPECT_EQ(oDialog.chkShow(0).Value(), 1);
        EXPECT_EQ(oDialog.cbo(1).Text(), Field(kDueDateKey)->Caption());
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(Level(0).Apply);
    EXPECT_EQ(Level(0).SortOrder, 1);
    EXPECT_EQ(Level(1).ColKey, kDueDateKey);
    EXPECT_EQ(Level(1).SortOrder, 0);
}

TEST_F(frmSortTest, UnofferedStoredFieldAddsNoColumnAndOKWorks)
{
    Level(0) = {true, kEntryIdKey, 1};
    const bool bOK = Run<frmSort>([&](frmSort& oDialog) {
        PickField(oDialog, 1, Field(kSubjectKey)->Caption());
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Level(0).Apply);
    EXPECT_EQ(Level(0).ColKey, kEntryIdKey);
    EXPECT_EQ(Level(0).SortOrder, 1);
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
}

TEST_F(frmSortTest, ClearAllAndCancel)
{
    Level(0) = {true, kStartKey, 0};
    EXPECT_FALSE(Run<frmSort>([&](frmSort& oDialog) {
        oDialog.cmdDeleteAll().Click();
        oDialog.cmdCancel().Click();
    }));
    EXPECT_TRUE(Level(0).Apply);
    EXPECT_TRUE(Run<frmSort>([&](frmSort& oDialog) {
        oDialog.cmdDeleteAll().Click();
        oDialog.cmdOK().Click();
    }));
    EXPECT_FALSE(Level(0).Apply);
    EXPECT_EQ(VisibleKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
}

} // namespace
} // namespace dialogs::test
