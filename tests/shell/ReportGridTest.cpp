#include "ReportWindowFixture.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "common/IControlResource.h"
#include "common/modLanguage.h"
#include "common/modRedemption.h"
#include "engine/Record.h"
#include "engine/Records.h"
#include "grid/cVsFlexPopup.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Session.h"
#include "platform/win/Desktop.h"

#include <cmath>
#include <regex>

namespace {

using namespace shell_test;
namespace pf = platform::forms;

constexpr int kEnter = 13;
constexpr int kRightButton = 2;
constexpr std::uint32_t kCurrentRowBack = 0xFEECDD;
// The fixture's language is English.
const std::string kNothingFound = "No entries were found.";
const std::string kItemNotShown = "One item cannot be displayed.";
// A text no cell of the sample report holds.
const std::string kToken = "Qxq-Treffer";

// The report window's grid worked as a person works it: mouse, keys, the find box, columns.
class ReportGridTest : public ReportWindowTest
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        platform::mapi::SetDisplayHandler(
            [this](const auto& oMessage) { m_vShown.push_back(oMessage->EntryID()); });
        ClickReportButton();
        ASSERT_TRUE(G().g_oApplication->MainForm()) << ErrorLog();
        ASSERT_GT(Grid().Rows(), 12);
        pf::Driver::current().Reset();
    }
    void TearDown() override
    {
        platform::mapi::SetDisplayHandler({});
        ReportWindowTest::TearDown();
    }
    pf::TextBox& FindBox() { return dynamic_cast<pf::TextBox&>(*Window().FindControl("txtFind")); }
    // Types the text into the find box and presses Enter.
    void FindText(const std::string& sText)
    {
        FindBox().SetText(sText);
        FindBox().UserKeyDown(kEnter);
    }
    // The visible grid columns after the outline column.
    std::vector<int> VisibleColumns()
    {
        std::vector<int> v;
        for (int c = 1; c < Grid().Cols(); ++c)
            if (!Grid().ColHidden(c))
                v.push_back(c);
        return v;
    }
    int FirstHiddenColumn()
    {
        for (int c = 1; c < Grid().Cols(); ++c)
            if (Grid().ColHidden(c))
                return c;
        return -1;
    }
    // Moves the mouse over the middle of a shown row; returns its y in the grid.
    double MouseOverRow(int lRow)
    {
        auto& fg = Grid();
        fg.ShowCell(lRow, 1);
        double y = 0;
        for (int r = 0; r < fg.FixedRows(); ++r)
            y += fg.RowIsVisible(r) ? fg.RowHeight(r) : 0;
        for (int r = fg.TopRow(); r < lRow; ++r)
            y += fg.RowIsVisible(r) ? fg.RowHeight(r) : 0;
        y += fg.RowHeight(lRow) / 2.0;
        fg.UserMouseMove(0, 0, 200, y);
        EXPECT_EQ(fg.MouseRow(), lRow);
        return y;
    }
    std::string RowEntryID(int lRow)
    {
        return Window().Records()->Item(Grid().RowData(lRow))->EntryID();
    }
    // A total row followed by two data rows.
    int GroupRowBeforeTwoItems()
    {
        auto& fg = Grid();
        for (int r = fg.FixedRows(); r + 2 < fg.Rows(); ++r)
            if (fg.IsSubtotal(r) && !fg.IsSubtotal(r + 1) && !fg.IsSubtotal(r + 2))
                return r;
        return -1;
    }
    // Saves the report at once in the given format; returns the file written.
    std::string SaveReportFile(int lFormat)
    {
        auto oSave = Window().GetViewSettings()->Action()->GetSaveAction();
        oSave->SetPath((std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "out").string());
        oSave->SetAction(1);
        oSave->SetFilename("grid");
        oSave->SetReportExists(3);
        oSave->SetReportFormat(lFormat);
        Window().CommandbarClick("saveas");
        return oSave->SavedAs();
    }
    // Saves the report at once in the given format; the window then holds it saved.
    void SaveReport(int lFormat)
    {
        SaveReportFile(lFormat);
        ASSERT_TRUE(Window().ReportSaved()) << ErrorLog();
    }
    std::vector<std::string> MessageTexts()
    {
        std::vector<std::string> v;
        for (const auto& oBox : pf::Driver::current().MessageBoxes())
            v.push_back(oBox.prompt);
        return v;
    }

    std::vector<std::string> m_vShown;
};

TEST_F(ReportGridTest, FindOpensTheCollapsedGroupsAboveTheHitAndSelectsItsRow)
{
    Window().cboTemplate().SetText(kTasks);
    auto& fg = Grid();
    const int r = GroupRowBeforeTwoItems() + 2;
    ASSERT_GT(r, 2);
    fg.SetTextMatrix(r, VisibleColumns().back(), kToken);
    for (int i = fg.FixedRows(); i < fg.Rows(); ++i)
        if (fg.IsSubtotal(i))
            fg.SetIsCollapsed(i, pf::OutlineState::Collapsed);
    ASSERT_FALSE(fg.RowIsVisible(r));

    FindText("qxq-TREFFER");
    EXPECT_TRUE(fg.RowIsVisible(r));
    EXPECT_EQ(fg.Row(), r);
    EXPECT_EQ(fg.GetSelection().row1, r);
    EXPECT_EQ(fg.GetSelection().row2, r);
    EXPECT_EQ(fg.GetSelection().col2, fg.Cols() - 1);
    EXPECT_EQ(fg.CellBackColor(r, 1), kCurrentRowBack);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(FindBox().SelLength(), static_cast<int>(FindBox().Text().size()));
}

TEST_F(ReportGridTest, FindSearchesColumnsBelowTheCurrentRowThenFromTheTop)
{
    auto& fg = Grid();
    const auto vCols = VisibleColumns();
    ASSERT_GE(vCols.size(), 2u);
    const int cA = vCols[0], cB = vCols[1];
    struct Case
    {
        const char* sName;
        std::vector<std::pair<int, int>> vCells; // where the token stands
        int lCurrent;
        int lExpected; // -1: the "nothing found" message
    };
    const Case aCases[] = {
        {"an earlier column wins over a nearer row", {{10, cA}, {5, cB}}, 1, 10},
        {"a hit above the current row is found from the top", {{3, cB}}, 8, 3},
        {"the current row is searched last", {{6, cA}, {6, cB}}, 6, 6},
        {"nothing matches", {}, 4, -1},
        {"from the header only the first pass runs", {}, 0, -1},
        {"a hidden column is not searched", {{7, FirstHiddenColumn()}}, 2, -1},
    };
    for (const auto& c : aCases) {
        pf::Driver::current().Reset();
        std::vector<std::string> vOld;
        for (const auto& [r, col] : c.vCells) {
            vOld.push_back(fg.TextMatrix(r, col));
            fg.SetTextMatrix(r, col, kToken);
        }
        fg.Select(c.lCurrent, 1);
        FindText(kToken);
        if (c.lExpected < 0) {
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{kNothingFound}) << c.sName;
            EXPECT_EQ(fg.Row(), c.lCurrent) << c.sName;
        } else {
            EXPECT_TRUE(MessageTexts().empty()) << c.sName;
            EXPECT_EQ(fg.Row(), c.lExpected) << c.sName;
        }
        for (std::size_t i = 0; i < c.vCells.size(); ++i)
            fg.SetTextMatrix(c.vCells[i].first, c.vCells[i].second, vOld[i]);
    }

    // Found again from a found row, the search moves on to the next hit in its column, then
    // starts over from the top.
    pf::Driver::current().Reset();
    const std::string sOld4 = fg.TextMatrix(4, cA), sOld9 = fg.TextMatrix(9, cA);
    fg.SetTextMatrix(4, cA, kToken);
    fg.SetTextMatrix(9, cA, kToken);
    fg.Select(2, 1);
    std::vector<int> vFound;
    for (int i = 0; i < 3; ++i) {
        FindText(kToken);
        vFound.push_back(fg.Row());
    }
    EXPECT_EQ(vFound, (std::vector<int>{4, 9, 4}));
    EXPECT_TRUE(MessageTexts().empty());
    fg.SetTextMatrix(4, cA, sOld4);
    fg.SetTextMatrix(9, cA, sOld9);

    // The find box takes Enter for itself; other keys go on.
    for (const auto& [lKey, lLeft] : {std::pair{kEnter, 0}, std::pair{65, 65}}) {
        int lCode = lKey;
        FindBox().OnKeyDown(lCode, 0);
        EXPECT_EQ(lCode, lLeft) << lKey;
    }

    // An empty box finds nothing and says nothing; the find button searches as Enter does.
    pf::Driver::current().Reset();
    fg.Select(2, 1);
    FindText("");
    EXPECT_TRUE(MessageTexts().empty());
    fg.SetTextMatrix(9, cA, kToken);
    FindBox().SetText(kToken);
    dynamic_cast<pf::CommandButton&>(*Window().FindControl("cmdFind")).Click();
    EXPECT_EQ(fg.Row(), 9);
}

TEST_F(ReportGridTest, ColumnMovesReachTheViewAndTheSavedTemplates)
{
    auto& fg = Grid();
    auto oFields = Window().GetViewSettings()->Fields();
    const auto viewKeys = [&] {
        std::vector<std::string> v;
        for (const auto& oField : *oFields)
            v.push_back(oField->Key());
        return v;
    };
    const auto gridKeys = [&] {
        std::vector<std::string> v;
        for (int c = 1; c <= oFields->Count(); ++c)
            v.push_back(fg.ColKey(c));
        return v;
    };
    ASSERT_EQ(viewKeys(), gridKeys());
    SaveReport(0);
    const std::string sThird = fg.ColKey(3);
    const std::string sSecond = fg.ColKey(2);
    fg.UserMoveColumn(3, 1);
    EXPECT_EQ(viewKeys().front(), sThird);
    EXPECT_EQ(viewKeys(), gridKeys());
    EXPECT_FALSE(Window().ReportSaved());
    SaveReport(0);
    // Dropped before the outline column, a column lands at the first place.
    fg.UserMoveColumn(3, 0);
    EXPECT_EQ(fg.ColKey(0), "");
    EXPECT_EQ(viewKeys().front(), sSecond);
    EXPECT_EQ(viewKeys(), gridKeys());
    EXPECT_FALSE(Window().ReportSaved());
    const auto vExpected = viewKeys();

    const auto hGrid = static_cast<std::int32_t>(fg.Hwnd());
    ASSERT_TRUE(platform::win::Desktop::current().isWindow(hGrid));
    ASSERT_TRUE(Window().UserClose());
    EXPECT_FALSE(platform::win::Desktop::current().isWindow(hGrid));
    auto oCatalogue = std::make_shared<fieldcatalogue::Application>();
    views::RootMapiProps()->SetCatalogueSource([oCatalogue] { return oCatalogue; });
    views::Templates oSaved;
    oSaved.Load();
    auto oView = oSaved.Item(rt::Variant(std::string("(Standard)")));
    ASSERT_TRUE(oView);
    std::vector<std::string> vSaved;
    for (const auto& oField : *oView->Fields())
        vSaved.push_back(oField->Key());
    EXPECT_EQ(vSaved, vExpected);
}

// The widths in pixels of the <col> elements of an HTML report.
std::vector<int> HtmlColumnWidths(const std::string& sFile)
{
    std::ifstream in(sFile, std::ios::binary);
    const std::string sText((std::istreambuf_iterator<char>(in)), {});
    const std::regex oCol("<col style='[^']*width:([0-9]+)px;' />");
    std::vector<int> v;
    for (std::sregex_iterator it(sText.begin(), sText.end(), oCol), end; it != end; ++it)
        v.push_back(std::stoi((*it)[1]));
    return v;
}

TEST_F(ReportGridTest, ATotalMovedToTheFrontLeavesTheOutlineColumnItsIndentWidth)
{
    // The outline column is one indent per group level and one for the grand total; the
    // saved report and the stored widths take it from the grid, whichever column comes first.
    Window().cboTemplate().SetText(kTasks);
    auto& fg = Grid();
    auto oView = Window().GetViewSettings();
    int lLevels = 0;
    for (std::int32_t l = 0; l <= 2; ++l)
        lLevels += oView->GroupByLevel(l)->Apply() ? 1 : 0;
    ASSERT_GT(lLevels, 0);
    ASSERT_GE(oView->CalculatedFieldsCount(), 1);
    const int lOutline = (lLevels + 1) * 200;
    const auto lPixels =
        std::lround(pf::Form::ScaleX(lOutline, pf::ScaleMode::Twips, pf::ScaleMode::Pixels));
    const char* sSource = std::getenv("TV_SOURCE_DIR");
    const std::filesystem::path oSource =
        sSource ? std::filesystem::path(sSource)
                : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    oView->Action()->GetSaveAction()->SetReportTemplate(
        (oSource / "resources" / "samples" / "modern.html").string());
    std::vector<int> vWidths = HtmlColumnWidths(SaveReportFile(1));
    ASSERT_FALSE(vWidths.empty()) << ErrorLog();
    EXPECT_EQ(vWidths.front(), lPixels);
    EXPECT_EQ(fg.ColWidth(0), lOutline);

    const int c = fg.ColIndex(kTotalWork);
    ASSERT_GT(c, 1);
    ASSERT_TRUE(fg.UserMoveColumn(c, 1));
    ASSERT_EQ(fg.ColKey(1), kTotalWork);
    ASSERT_NE(oView->Fields()->Item(rt::Variant(kTotalWork))->Calculation(), 0);
    // The next read groups and totals with the column in front.
    Window().CommandbarClick("refresh");
    ASSERT_EQ(fg.ColKey(1), kTotalWork);
    vWidths = HtmlColumnWidths(SaveReportFile(1));
    ASSERT_FALSE(vWidths.empty()) << ErrorLog();
    EXPECT_EQ(vWidths.front(), lPixels);
    EXPECT_EQ(fg.ColWidth(0), lOutline);
}

TEST_F(ReportGridTest, MovesOfTheOutlineColumnOrAHiddenColumnAreRefused)
{
    auto& fg = Grid();
    auto& oSave = *Window().GetViewSettings()->Action()->GetSaveAction();
    const auto oOut = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "moves";
    oSave.SetPath(oOut.string());
    oSave.SetAction(1);
    oSave.SetFilename("report");
    oSave.SetReportFormat(0);
    oSave.SetReportExists(3);
    const auto SavedHeader = [&] {
        Window().CommandbarClick("saveas");
        std::ifstream oIn(oSave.SavedAs(), std::ios::binary);
        std::string sLine;
        std::getline(oIn, sLine);
        return sLine;
    };
    const auto gridKeys = [&] {
        std::vector<std::string> v;
        for (int c = 0; c < fg.Cols(); ++c)
            v.push_back(fg.ColKey(c));
        return v;
    };
    const std::string sHeader = SavedHeader();
    ASSERT_FALSE(sHeader.empty());
    ASSERT_TRUE(Window().ReportSaved());
    const auto vKeys = gridKeys();
    const int lHidden = FirstHiddenColumn();
    ASSERT_GT(lHidden, 1);

    struct Move
    {
        int lCol;
        int lPosition;
    };
    for (const Move m : {Move{0, 3}, Move{0, 0}, Move{lHidden, 1}, Move{lHidden, fg.Cols() - 1}}) {
        fg.UserMoveColumn(m.lCol, m.lPosition);
        EXPECT_EQ(gridKeys(), vKeys) << m.lCol << " to " << m.lPosition;
        EXPECT_TRUE(Window().ReportSaved()) << m.lCol << " to " << m.lPosition;
    }
    std::vector<std::string> vView;
    for (const auto& oField : *Window().GetViewSettings()->Fields())
        vView.push_back(oField->Key());
    EXPECT_EQ(vView, std::vector<std::string>(vKeys.begin() + 1, vKeys.begin() + 1 + vView.size()));
    EXPECT_EQ(SavedHeader(), sHeader);
    EXPECT_TRUE(pf::Driver::current().MessageBoxes().empty());
}

TEST_F(ReportGridTest, TheIconColumnRefusesResizingOtherColumnsKeepTheirWidth)
{
    Window().cboTemplate().SetText(kTasks);
    auto& fg = Grid();
    const int lIcon = fg.ColIndex("Icon");
    ASSERT_GT(lIcon, 0);
    const int lIconWidth = fg.ColWidth(lIcon);
    EXPECT_FALSE(fg.UserResizeColumn(lIcon, lIconWidth + 600));
    EXPECT_EQ(fg.ColWidth(lIcon), lIconWidth);

    // A resize changes an HTML report (widths are written) but not a CSV one.
    auto oView = Window().GetViewSettings();
    const int c = fg.ColIndex(kTotalWork);
    SaveReport(0);
    ASSERT_TRUE(fg.UserResizeColumn(c, 2000));
    EXPECT_EQ(oView->Fields()->Item(rt::Variant(kTotalWork))->Width(), 2000);
    EXPECT_TRUE(Window().ReportSaved());
    // Any command clears the flag of an HTML report, so the format changes after the save.
    oView->Action()->GetSaveAction()->SetReportFormat(1);
    ASSERT_TRUE(Window().ReportSaved());
    ASSERT_TRUE(fg.UserResizeColumn(c, 2222));
    EXPECT_EQ(oView->Fields()->Item(rt::Variant(kTotalWork))->Width(), 2222);
    EXPECT_FALSE(Window().ReportSaved());
}

TEST_F(ReportGridTest, OpeningShowsTheItemOfEachSelectedRowAndSkipsGroupRows)
{
    Window().cboTemplate().SetText(kTasks);
    auto& fg = Grid();
    const int r = GroupRowBeforeTwoItems();
    ASSERT_GT(r, 0);
    fg.Select(r, 0, r + 2, fg.Cols() - 1);
    Window().CommandbarClick("openitem_context");
    EXPECT_EQ(m_vShown, (std::vector<std::string>{RowEntryID(r + 1), RowEntryID(r + 2)}));
    EXPECT_TRUE(MessageTexts().empty());

    // Double click and Enter open the row under the mouse and the current row.
    m_vShown.clear();
    fg.Select(r + 2, 1);
    MouseOverRow(r + 2);
    fg.UserDoubleClick();
    fg.UserKeyDown(kEnter, 0);
    EXPECT_EQ(m_vShown, (std::vector<std::string>{RowEntryID(r + 2), RowEntryID(r + 2)}));

    // With the header current nothing opens, selected rows or not.
    m_vShown.clear();
    fg.SetRow(0);
    Window().CommandbarClick("openitem");
    EXPECT_TRUE(m_vShown.empty());
}

TEST_F(ReportGridTest, AnItemDeletedSinceTheReadStopsTheOpeningWithOneMessage)
{
    auto& fg = Grid();
    // Three item rows of three items (the occurrences of a series share their item).
    const auto distinctItems = [&](int r) {
        for (int i = r; i <= r + 2; ++i)
            if (fg.IsSubtotal(i))
                return false;
        return RowEntryID(r) != RowEntryID(r + 1) && RowEntryID(r + 1) != RowEntryID(r + 2) &&
               RowEntryID(r) != RowEntryID(r + 2);
    };
    int r = fg.FixedRows();
    while (r + 2 < fg.Rows() && !distinctItems(r))
        ++r;
    ASSERT_LT(r + 2, fg.Rows());
    const auto oRecord = Window().Records()->Item(fg.RowData(r + 1));
    common::modRedemption::g_Session()
        ->GetMessageFromID(oRecord->EntryID(), rt::Variant(oRecord->StoreID()))
        ->Delete();
    fg.Select(r, 1, r + 2, 1);
    Window().CommandbarClick("openitem");
    EXPECT_EQ(m_vShown, std::vector<std::string>{RowEntryID(r)});
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kItemNotShown});
    EXPECT_NE(ErrorLog().find("OpenOutlookItem"), std::string::npos) << ErrorLog();
}

TEST_F(ReportGridTest, RightClickMenuKeyAndCtrlAWorkOnTheSelection)
{
    auto& fg = Grid();
    auto& oBar = Window().MenuBar1();
    auto oMenu = oBar.Items().Item("ContextOlItems");
    platform::win::Desktop::current().setCursorPosition(platform::win::ScreenPoint{321, 234});

    // A right click on a row outside the selection makes it current, then the menu opens at
    // the mouse; its Cancel entry only closes it.
    fg.Select(2, 1);
    fg.UserMouseUp(kRightButton, 0, 200, MouseOverRow(5));
    EXPECT_EQ(fg.Row(), 5);
    EXPECT_EQ(fg.CellBackColor(5, 0), kCurrentRowBack);
    EXPECT_EQ(fg.CellBackColor(2, 0), 0xFFFFFFu);
    ASSERT_EQ(oBar.OpenPopup(), oMenu);
    EXPECT_EQ(oBar.PopupX(), 321);
    EXPECT_EQ(oBar.PopupY(), 234);
    EXPECT_TRUE(oBar.Click("cancel"));
    EXPECT_EQ(oBar.OpenPopup(), nullptr);
    EXPECT_EQ(fg.Row(), 5);

    // Inside a multi-row selection the selection stays.
    fg.Select(3, 0, 7, fg.Cols() - 1);
    fg.UserMouseUp(kRightButton, 0, 200, MouseOverRow(4));
    EXPECT_EQ(oBar.OpenPopup(), oMenu);
    EXPECT_EQ(fg.GetSelection().row1, 3);
    EXPECT_EQ(fg.GetSelection().row2, 7);
    oBar.ClosePopup();

    // The context-menu key opens it under the current cell, placed from the grid's window,
    // which lies inside the report window on the desktop.
    auto& oDesktop = platform::win::Desktop::current();
    const auto oGridRect = oDesktop.windowRect(static_cast<std::int32_t>(fg.Hwnd()));
    const auto oFormRect = oDesktop.windowRect(static_cast<std::int32_t>(Window().hWnd()));
    ASSERT_TRUE(oGridRect && oFormRect);
    EXPECT_GT(oGridRect->left, oFormRect->left);
    EXPECT_GT(oGridRect->top, oFormRect->top);
    EXPECT_LT(oGridRect->right, oFormRect->right);
    EXPECT_LT(oGridRect->bottom, oFormRect->bottom);
    fg.UserKeyUp(93, 0);
    ASSERT_EQ(oBar.OpenPopup(), oMenu);
    const auto oCell = grid::cVsFlexPopup().GetCellScreenPosition(fg);
    EXPECT_EQ(oBar.PopupX(), oCell.x);
    EXPECT_EQ(oBar.PopupY(), oCell.y);
    EXPECT_GT(oCell.y, oGridRect->top);
    oBar.ClosePopup();
    // Not from the header row.
    fg.SetRow(0);
    fg.UserKeyUp(93, 0);
    EXPECT_EQ(oBar.OpenPopup(), nullptr);
    // A right click on the header does nothing.
    fg.UserMouseUp(kRightButton, 0, 200, 10);
    EXPECT_EQ(oBar.OpenPopup(), nullptr);

    // Ctrl+A selects every data row; Ctrl+Shift+A leaves the selection to the grid.
    fg.Select(4, 1);
    fg.UserKeyDown(65, 3);
    EXPECT_EQ(fg.SelectedRows(), 1);
    fg.UserKeyDown(65, 2);
    EXPECT_EQ(fg.GetSelection().row1, fg.FixedRows());
    EXPECT_EQ(fg.GetSelection().row2, fg.Rows() - 1);
    EXPECT_TRUE(MessageTexts().empty()) << ErrorLog();
}

TEST_F(ReportGridTest, GetResourceGivesTheNoEntriesTextInTheUiLanguage)
{
    auto& oResource = Window().AsIControlResource();
    EXPECT_EQ(oResource.Caption(), Window().Caption());
    struct Case
    {
        long lLanguage;
        const char* sTag;
        std::string sExpected;
    };
    const long lBefore = common::modLanguage::GetLanguageID();
    for (const auto& c :
         {Case{1031, "4000", "Es wurden keine Einträge gefunden."}, Case{1031, "4001", ""},
          Case{1031, "abc", ""}, Case{1033, "4000", "No entries were found."},
          Case{1033, "14000", ""}, Case{1033, "", ""}}) {
        common::modLanguage::SetLanguageID(c.lLanguage);
        EXPECT_EQ(oResource.GetResource(c.sTag), c.sExpected) << c.lLanguage << " " << c.sTag;
    }
    common::modLanguage::SetLanguageID(lBefore);
}

} // namespace
