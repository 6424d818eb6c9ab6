#include "dialogs/frmFieldChooser.h"

#include "SectionFixture.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dialogs::test {
namespace {

namespace pf = platform::forms;
using views::test::kKeywordsKey;
using views::test::kLocationKey;
using views::test::kSubjectKey;

constexpr int kCtrl = 2;
constexpr int kLeft = 1;

std::vector<std::string> KeysOf(const pf::FlexGrid& fg)
{
    std::vector<std::string> aKeys;
    for (int r = 0; r < fg.Rows(); ++r) {
        const auto* pKey = fg.RowData(r).Get<std::string>();
        aKeys.push_back(pKey ? *pKey : std::string("?"));
    }
    return aKeys;
}

int RowOf(const pf::FlexGrid& fg, const std::string& sKey)
{
    const auto aKeys = KeysOf(fg);
    const auto it = std::find(aKeys.begin(), aKeys.end(), sKey);
    EXPECT_NE(it, aKeys.end()) << sKey;
    return static_cast<int>(it - aKeys.begin());
}

void SelectRows(pf::FlexGrid& fg, const std::vector<int>& aRows)
{
    for (std::size_t i = 0; i < aRows.size(); ++i)
        fg.UserClick(aRows[i], 0, i == 0 ? 0 : kCtrl);
}

/// Drags the selected rows of source onto target with the pointer at y twips.
void DragTo(pf::FlexGrid& source, pf::FlexGrid& target, double y)
{
    source.OLEDrag();
    target.UserDragOver(&source, kLeft, 0, 10, y);
    target.UserDrop(&source, kLeft, 0, 10, y);
}

class frmFieldChooserTest : public SectionFixture
{
protected:
    /// Six visible columns: Subject, Start, Duration, due date, companies, keywords.
    void SixColumns()
    {
        for (const auto& sKey : {kDueDateKey, kCompaniesKey, kKeywordsKey})
            View().AddField(Field(sKey));
    }
    std::vector<std::string> Keys(std::initializer_list<int> aIndexes)
    {
        const std::vector<std::string> aAll = {kSubjectKey, kStartKey,     kDurationKey,
                                               kDueDateKey, kCompaniesKey, kKeywordsKey};
        std::vector<std::string> aKeys;
        for (int i : aIndexes)
            aKeys.push_back(aAll[static_cast<std::size_t>(i)]);
        return aKeys;
    }
};

TEST_F(frmFieldChooserTest, ListsChosenColumnsAndOffersTheRestSorted)
{
    Column(kStartKey)->SetVisible(false);
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        EXPECT_EQ(KeysOf(oDialog.fgSelected()),
                  (std::vector<std::string>{kSubjectKey, kDurationKey}));
        const auto aAvailable = KeysOf(oDialog.fgAll());
        EXPECT_NE(std::find(aAvailable.begin(), aAvailable.end(), kStartKey), aAvailable.end());
        for (const auto& sKey : {kSubjectKey, kDurationKey, kEntryIdKey})
            EXPECT_EQ(std::find(aAvailable.begin(), aAvailable.end(), sKey), aAvailable.end())
                << sKey;
        auto& fg = oDialog.fgAll();
        for (int r = 1; r < fg.Rows(); ++r)
            EXPECT_LE(platform::runtime::StrComp(fg.TextMatrix(r - 1, 0), fg.TextMatrix(r, 0),
                                                 platform::runtime::CompareMethod::Text),
                      0)
                << r;
        EXPECT_FALSE(oDialog.cmdAdd().Enabled());
        EXPECT_FALSE(oDialog.cmdRemove().Enabled());
        // A double click with nothing selected adds nothing.
        fg.UserDoubleClick();
        EXPECT_EQ(oDialog.fgSelected().Rows(), 2);
        oDialog.cmdCancel().Click();
    });
}

TEST_F(frmFieldChooserTest, AddAppendsAndRemoveKeepsTheColumnHidden)
{
    Column(kDurationKey)->SetCalculation(2);
    Column(kDurationKey)->SetWidth(1500);
    const bool bOK = Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& oAll = oDialog.fgAll();
        // The mouse passing over the list without a button resets the drag state: Add appends.
        oAll.UserMouseMove(0, 0, 10, 10);
        SelectRows(oAll, {RowOf(oAll, kDueDateKey)});
        oDialog.cmdAdd().Click();
        auto& oSelected = oDialog.fgSelected();
        SelectRows(oSelected, {RowOf(oSelected, kDurationKey), RowOf(oSelected, kStartKey)});
        oDialog.cmdRemove().Click();
        // Start comes back before OK; Duration stays removed.
        SelectRows(oAll, {RowOf(oAll, kStartKey)});
        oAll.UserDoubleClick();
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_EQ(VisibleKeys(), (std::vector<std::string>{kSubjectKey, kDueDateKey, kStartKey}));
    EXPECT_FALSE(Column(kDurationKey)->Visible());
    EXPECT_EQ(Column(kDurationKey)->Width(), 1500);
    EXPECT_EQ(Column(kDurationKey)->Calculation(), 2);

    // Added again later, the hidden column is shown with its old settings.
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        SelectRows(oDialog.fgAll(), {RowOf(oDialog.fgAll(), kDurationKey)});
        oDialog.cmdAdd().Click();
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(Column(kDurationKey)->Visible());
    EXPECT_EQ(Column(kDurationKey)->Width(), 1500);
}

TEST_F(frmFieldChooserTest, AnAddBeforeAnyResetInsertsAtTheTop)
{
    // Selected without a click, so that no list lost the focus and nothing reset the drag
    // state since the dialog opened.
    const bool bOK = Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& oAll = oDialog.fgAll();
        const int lRow = RowOf(oAll, kDueDateKey);
        oAll.Select(lRow, 0, lRow, 0);
        oDialog.cmdAdd().Click();
        EXPECT_EQ(KeysOf(oDialog.fgSelected()),
                  (std::vector<std::string>{kDueDateKey, kSubjectKey, kStartKey, kDurationKey}));
        // The Add reset the drag state: the next one appends.
        const int lNext = RowOf(oAll, kCompaniesKey);
        oAll.Select(lNext, 0, lNext, 0);
        oDialog.cmdAdd().Click();
        EXPECT_EQ(KeysOf(oDialog.fgSelected()).back(), kCompaniesKey);
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_EQ(VisibleKeys(), (std::vector<std::string>{kDueDateKey, kSubjectKey, kStartKey,
                                                       kDurationKey, kCompaniesKey}));
}

struct MoveCase
{
    const char* name;
    std::vector<int> aSelected;
    bool bUp;
    std::vector<int> aOrder;
    int lCurrent;
};

class FieldMoveTest : public frmFieldChooserTest, public ::testing::WithParamInterface<MoveCase>
{
};

TEST_P(FieldMoveTest, ButtonsMoveSelectedRowsTogether)
{
    SixColumns();
    const auto& oCase = GetParam();
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& fg = oDialog.fgSelected();
        SelectRows(fg, oCase.aSelected);
        (oCase.bUp ? oDialog.cmdUp() : oDialog.cmdDown()).Click();
        std::vector<std::string> aExpected;
        for (int i : oCase.aOrder)
            aExpected.push_back(Keys({i}).front());
        EXPECT_EQ(KeysOf(fg), aExpected);
        EXPECT_EQ(fg.SelectedRows(), 1);
        EXPECT_EQ(fg.SelectedRow(0), oCase.lCurrent);
        oDialog.cmdOK().Click();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Moves, FieldMoveTest,
    ::testing::Values(MoveCase{"UpTwoApart", {2, 5}, true, {0, 2, 5, 1, 3, 4}, 1},
                      MoveCase{"DownTwoApart", {1, 3}, false, {0, 2, 4, 1, 3, 5}, 3},
                      MoveCase{"UpFirstRowStays", {0}, true, {0, 1, 2, 3, 4, 5}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(frmFieldChooserTest, UpAndDownAreDisabledAtTheEnds)
{
    SixColumns();
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& fg = oDialog.fgSelected();
        SelectRows(fg, {0});
        EXPECT_FALSE(oDialog.cmdUp().Enabled());
        EXPECT_TRUE(oDialog.cmdDown().Enabled());
        SelectRows(fg, {5});
        EXPECT_TRUE(oDialog.cmdUp().Enabled());
        EXPECT_FALSE(oDialog.cmdDown().Enabled());
        oDialog.cmdCancel().Click();
    });
}

TEST_F(frmFieldChooserTest, DraggingRowsWithinTheListMovesThemToTheLine)
{
    SixColumns();
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& fg = oDialog.fgSelected();
        const int h = fg.RowHeight(-1);
        SelectRows(fg, {1, 5});
        fg.OLEDrag();
        fg.UserDragOver(&fg, kLeft, 0, 10, 3 * h + 15);
        EXPECT_TRUE(oDialog.picLine().Visible());
        // Between the bands the line keeps its place.
        fg.UserDragOver(&fg, kLeft, 0, 10, 3 * h + h / 2);
        fg.UserDrop(&fg, kLeft, 0, 10, 3 * h + h / 2);
        EXPECT_FALSE(oDialog.picLine().Visible());
        EXPECT_EQ(KeysOf(fg), Keys({0, 2, 1, 5, 3, 4}));
        oDialog.cmdOK().Click();
    });
    EXPECT_EQ(ColumnKeys(), Keys({0, 2, 1, 5, 3, 4}));
}

TEST_F(frmFieldChooserTest, DraggingBetweenTheListsAddsAndRemoves)
{
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& oAll = oDialog.fgAll();
        auto& oSelected = oDialog.fgSelected();
        const int h = oSelected.RowHeight(-1);
        // A drag started with nothing selected moves nothing.
        ASSERT_EQ(oAll.SelectedRows(), 0);
        const int lAvailableAtStart = oAll.Rows();
        DragTo(oAll, oSelected, 1 * h);
        EXPECT_EQ(KeysOf(oSelected),
                  (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
        EXPECT_EQ(oAll.Rows(), lAvailableAtStart);
        SelectRows(oAll, {RowOf(oAll, kDueDateKey)});
        DragTo(oAll, oSelected, 1 * h);
        EXPECT_EQ(KeysOf(oSelected),
                  (std::vector<std::string>{kSubjectKey, kDueDateKey, kStartKey, kDurationKey}));
        // Without a line position: before the row under the pointer, or last below the rows.
        SelectRows(oAll, {RowOf(oAll, kKeywordsKey)});
        DragTo(oAll, oSelected, 10 * h + h / 2);
        EXPECT_EQ(KeysOf(oSelected).back(), kKeywordsKey);
        // Back to the available list; a drag from there onto itself does nothing.
        SelectRows(oSelected, {0});
        DragTo(oSelected, oAll, 0);
        const int lAvailable = oAll.Rows();
        SelectRows(oAll, {0});
        DragTo(oAll, oAll, 0);
        EXPECT_EQ(oAll.Rows(), lAvailable);
        oDialog.cmdOK().Click();
    });
    EXPECT_EQ(VisibleKeys(),
              (std::vector<std::string>{kDueDateKey, kStartKey, kDurationKey, kKeywordsKey}));
    EXPECT_FALSE(Column(kSubjectKey)->Visible());
}

TEST_F(frmFieldChooserTest, AFieldSetSwitchRebuildsOnlyTheAvailableList)
{
    View().AddField(Field(kDueDateKey));
    const auto has = [](const pf::FlexGrid& fg, const std::string& sKey) {
        const auto aKeys = KeysOf(fg);
        return std::find(aKeys.begin(), aKeys.end(), sKey) != aKeys.end();
    };
    const auto sorted = [](const pf::FlexGrid& fg) {
        for (int r = 1; r < fg.Rows(); ++r)
            if (platform::runtime::StrComp(fg.TextMatrix(r - 1, 0), fg.TextMatrix(r, 0),
                                           platform::runtime::CompareMethod::Text) > 0)
                return false;
        return true;
    };
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& oAll = oDialog.fgAll();
        auto& oSelected = oDialog.fgSelected();
        const auto aChosen = KeysOf(oSelected);
        oDialog.cboFolder().SetListIndex(1); // calendar fields: no due date among them
        EXPECT_EQ(KeysOf(oSelected), aChosen);
        EXPECT_FALSE(has(oAll, kDueDateKey));
        EXPECT_TRUE(has(oAll, kLocationKey));
        // Removed now, the task field is sorted into the calendar fields shown.
        SelectRows(oSelected, {RowOf(oSelected, kDueDateKey)});
        oDialog.cmdRemove().Click();
        EXPECT_TRUE(has(oAll, kDueDateKey));
        EXPECT_TRUE(sorted(oAll));
        EXPECT_FALSE(has(oSelected, kDueDateKey));
        // The next switch rebuilds the list from its set alone.
        oDialog.cboFolder().SetListIndex(2);
        EXPECT_FALSE(has(oAll, kDueDateKey));
        oDialog.cboFolder().SetListIndex(0);
        EXPECT_TRUE(has(oAll, kDueDateKey));
        EXPECT_FALSE(has(oAll, kSubjectKey));
        EXPECT_TRUE(sorted(oAll));
        oDialog.cmdOK().Click();
    });
    EXPECT_FALSE(Column(kDueDateKey)->Visible());
    EXPECT_EQ(VisibleKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
}

TEST_F(frmFieldChooserTest, EditedCaptionsAreWrittenOnOK)
{
    const std::string sOldStart = Column(kStartKey)->Caption();
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        auto& fg = oDialog.fgSelected();
        EXPECT_TRUE(fg.UserEdit(RowOf(fg, kSubjectKey), 0, "Thema"));
        EXPECT_TRUE(fg.UserEdit(RowOf(fg, kStartKey), 0, " "));
        EXPECT_TRUE(fg.UserEdit(RowOf(fg, kDurationKey), 0, "Stunden"));
        // Moving an edited row shows the catalogue caption again.
        SelectRows(fg, {RowOf(fg, kDurationKey)});
        oDialog.cmdUp().Click();
        oDialog.cmdOK().Click();
    });
    EXPECT_EQ(Column(kSubjectKey)->Caption(), "Thema");
    EXPECT_EQ(Column(kStartKey)->Caption(), sOldStart);
    EXPECT_EQ(Column(kDurationKey)->Caption(), Field(kDurationKey)->Caption());
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kDurationKey, kStartKey}));
}

TEST_F(frmFieldChooserTest, AllHiddenOrAllRemovedKeepsEveryColumnHidden)
{
    Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        SelectRows(oDialog.fgSelected(), {0, 1, 2});
        oDialog.cmdRemove().Click();
        EXPECT_EQ(oDialog.fgSelected().Rows(), 0);
        oDialog.cmdOK().Click();
    });
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
    EXPECT_TRUE(VisibleKeys().empty());
    const bool bOK = Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
        EXPECT_EQ(oDialog.fgSelected().Rows(), 0);
        oDialog.cmdOK().Click();
    });
    EXPECT_TRUE(bOK);
    EXPECT_EQ(ColumnKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
}

TEST_F(frmFieldChooserTest, CancelAndCloseBoxLeaveTheViewAlone)
{
    for (bool bCloseBox : {false, true}) {
        const bool bOK = Run<frmFieldChooser>([&](frmFieldChooser& oDialog) {
            SelectRows(oDialog.fgSelected(), {0});
            oDialog.cmdRemove().Click();
            oDialog.fgSelected().UserEdit(0, 0, "x");
            if (bCloseBox)
                oDialog.UserClose();
            else
                oDialog.cmdCancel().Click();
        });
        EXPECT_FALSE(bOK);
        EXPECT_EQ(VisibleKeys(), (std::vector<std::string>{kSubjectKey, kStartKey, kDurationKey}));
        EXPECT_EQ(Column(kStartKey)->Caption(), Field(kStartKey)->Caption());
    }
}

} // namespace
} // namespace dialogs::test
