#include "GuiFixture.h"

#include "gui/GridDelegate.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "gui/TextMeasure.h"
#include "gui/Units.h"
#include "platform/forms/FlexGrid.h"
#include "platform/win/Desktop.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QToolTip>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace pf = platform::forms;
using guitest::GuiFixture;

// A report grid: a header row, company and hours, grouped by company with sums.
class GridViewTest : public GuiFixture
{
protected:
    // Columns: the outline with the group captions, company, hours, a hidden key.
    static constexpr int kCompany = 1, kHours = 2, kKey = 3;

    void SetUp() override
    {
        GuiFixture::SetUp();
        FillReport(oGrid);
    }
    static void FillReport(pf::FlexGrid& grid)
    {
        grid.SetCols(4);
        grid.SetFixedCols(0);
        grid.SetRows(1);
        grid.SetTextMatrix(0, kCompany, "Company");
        grid.SetTextMatrix(0, kHours, "Hours");
        grid.SetTextMatrix(0, kKey, "Key");
        for (const char* s : {"\tÄrzte\t2", "\tÄrzte\t3", "\tBau\t4", "\tBau\t1", "\tBau\t5"})
            grid.AddItem(s);
        grid.SetColHidden(kKey, true);
        grid.Subtotal(pf::SubtotalFunction::Sum, kCompany, kHours, "%s", kCompany);
        grid.Subtotal(pf::SubtotalFunction::Sum, 0, kHours, "Total %s", 0);
    }
    static constexpr const char* kWideCaption = "Total Kategorien WWWWWWWW";
    // The grand total's row, its caption made wider than the narrowed outline column and its
    // company cell blank (a total row's empty cell holds a blank); -1 without one.
    int WideTotalCaption()
    {
        int r = 1;
        while (r < oGrid.Rows() && oGrid.TextMatrix(r, 0).rfind("Total", 0) != 0)
            ++r;
        if (r >= oGrid.Rows())
            return -1;
        oGrid.SetColWidth(0, 300);
        oGrid.SetTextMatrix(r, 0, kWideCaption);
        oGrid.SetTextMatrix(r, kCompany, " ");
        return r;
    }
    // Whether a cell of the column draws the text in that font without cutting it: the style
    // keeps a margin either side of a cell's text, and the cell its right grid line.
    static bool DrawnWhole(const gui::GridView& view, int col, const QFont& font,
                           const QString& text)
    {
        const int margin =
            view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
        return QFontMetricsF(font).horizontalAdvance(text) <=
               view.columnWidth(col) - 1 - 2 * margin;
    }
    // The view row that shows text in column col, or -1.
    int ViewRow(const gui::GridView& view, const QString& text, int col = 0) const
    {
        for (int r = 0; r < view.model()->rowCount(); ++r)
            if (view.model()->index(r, col).data().toString() == text)
                return r;
        return -1;
    }
    pf::FlexGrid oGrid;
};

TEST_F(GridViewTest, ColumnsSizedToTheirContentsShowThemWhole)
{
    // The desktop measures as the view draws: headers, bold totals, check boxes, indented
    // group captions and wide letters all show whole in the columns sized to them.
    pf::Driver::current().SetTextMeasure(gui::DesktopTextMeasure());
    oGrid.SetTextMatrix(0, kCompany, "Date Completed");
    oGrid.SetTextMatrix(1, kCompany, "1/1/2027 08:30 WWMM Größenordnung");
    oGrid.SetTextMatrix(oGrid.Rows() - 1, kHours, "130,000:45 WWW");
    oGrid.SetCellChecked({2, kCompany, 2, kCompany}, pf::CheckState::Checked);
    oGrid.SetTextMatrix(2, kCompany, "Privat");
    // The widest caption of the outline column is one of the first level.
    for (int r = 1; r < oGrid.Rows(); ++r)
        if (oGrid.TextMatrix(r, 0).rfind("Total", 0) == 0)
            oGrid.SetTextMatrix(r, 0, "Total WWWWWWWW");
    oGrid.AutoSize(0, kHours);
    gui::GridView view(oGrid);
    view.resize(900, 300);
    view.show();
    const QStyle* style = view.style();
    for (int c = 0; c <= kHours; ++c) {
        const QString header = view.model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_LE(view.horizontalHeader()->fontMetrics().horizontalAdvance(header) +
                      2 * style->pixelMetric(QStyle::PM_HeaderMargin),
                  view.columnWidth(c))
            << header.toStdString();
        for (int r = 0; r < view.model()->rowCount(); ++r) {
            const QModelIndex cell = view.model()->index(r, c);
            QFont font = view.font();
            if (const QVariant role = cell.data(Qt::FontRole); role.canConvert<QFont>())
                font = role.value<QFont>().resolve(font);
            int needed = QFontMetrics(font).horizontalAdvance(cell.data().toString()) + 4;
            if (cell.data(Qt::CheckStateRole).isValid())
                needed += style->pixelMetric(QStyle::PM_IndicatorWidth);
            if (const int node = cell.data(gui::GridModel::NodeRole).toInt(); c == 0 && node >= 0)
                needed += gui::GridDelegate::Indent(
                    std::max(cell.data(gui::GridModel::OutlineLevelRole).toInt(), 0));
            EXPECT_LE(needed, view.columnWidth(c)) << cell.data().toString().toStdString();
        }
    }
    // A width set by code stays as set, shown at the view's scale.
    oGrid.SetColWidth(kHours, 600);
    EXPECT_EQ(oGrid.ColWidth(kHours), 600);
    EXPECT_EQ(view.columnWidth(kHours), gui::Pixels(600, gui::GridWidthScale(view.font())));
}

TEST_F(GridViewTest, StoredWidthsHoldTheTextsTheyWereMadeFor)
{
    // A template's widths are twips of the design font: the longest date text the grid writes
    // (English, with its day period) fills 1440, a
    // duration total 735. A wider desktop font shows the columns wider, so nothing is cut; a
    // column the person resizes keeps the width it is dragged to. A sum of a large report
    // that its stored width cannot hold shows whole all the same (a cut number reads as
    // another one), as does each choice of a column's drop-down list, while the grid keeps
    // the widths it was given.
    int lDataRow = oGrid.FixedRows();
    while (oGrid.IsSubtotal(lDataRow))
        ++lDataRow;
    oGrid.SetTextMatrix(lDataRow, kCompany, "12/31/2027 16:45 PM");
    oGrid.SetColWidth(kCompany, 1440);
    oGrid.SetTextMatrix(oGrid.Rows() - 1, kHours, "392:15");
    oGrid.SetTextMatrix(1, kHours, "581534:45");
    oGrid.SetColWidth(kHours, 735);
    oGrid.SetColComboList(kKey, " |Durchschnitt|Anzahl");
    oGrid.SetColHidden(kKey, false);
    oGrid.SetColWidth(kKey, 300);
    gui::GridView view(oGrid);
    view.resize(900, 300);
    view.show();
    QApplication::processEvents();
    EXPECT_EQ(oGrid.ColWidth(kHours), 735);
    EXPECT_EQ(oGrid.ColWidth(kKey), 300);
    for (const auto& [c, sText] :
         {std::pair{kCompany, QString("12/31/2027 16:45 PM")}, std::pair{kHours, QString("392:15")},
          std::pair{kHours, QString("581534:45")}}) {
        const int r = ViewRow(view, sText, c);
        ASSERT_GE(r, 0) << sText.toStdString();
        const QModelIndex cell = view.model()->index(r, c);
        QFont font = view.font();
        if (const QVariant role = cell.data(Qt::FontRole); role.canConvert<QFont>())
            font = role.value<QFont>().resolve(font);
        EXPECT_TRUE(DrawnWhole(view, c, font, sText)) << sText.toStdString();
    }
    EXPECT_TRUE(DrawnWhole(view, kKey, view.font(), QStringLiteral("Durchschnitt")));
    // A sum the add-in writes later widens its column as soon as it is in.
    const QString sLater = QStringLiteral("98765432:15");
    oGrid.SetTextMatrix(1, kHours, gui::FromQ(sLater));
    QApplication::processEvents();
    QFont bold = view.font();
    bold.setBold(true);
    EXPECT_TRUE(DrawnWhole(view, kHours, bold, sLater)) << sLater.toStdString();
    view.horizontalHeader()->resizeSection(kCompany, 150);
    EXPECT_EQ(view.columnWidth(kCompany), 150);
    EXPECT_EQ(gui::Pixels(oGrid.ColWidth(kCompany), gui::GridWidthScale(view.font())), 150);
}

TEST_F(GridViewTest, ATotalWithItsFunctionsNameShowsWhole)
{
    // A total shown with the name of its function before it, in either language, is a figure:
    // its column shows it whole whatever width is stored for it. A text in brackets with a
    // word after it is none, and keeps the stored width.
    struct Case
    {
        const char* sTotal;
        bool bWidened;
    };
    const Case aCases[] = {
        {"[Summe] 130:45", true}, {"[Durchschnitt] 7089,50", true}, {"[Average] 33.33 %", true},
        {"[Summe] Bau", false},   {"[Summe 130:45", false},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.sTotal);
        pf::FlexGrid oGrid;
        FillReport(oGrid);
        oGrid.SetColWidth(kHours, 300);
        int r = oGrid.FixedRows();
        while (!oGrid.IsSubtotal(r))
            ++r;
        oGrid.SetTextMatrix(r, kHours, c.sTotal);
        gui::GridView view(oGrid);
        view.resize(900, 300);
        view.show();
        QApplication::processEvents();
        QFont bold = view.font();
        bold.setBold(true);
        EXPECT_EQ(DrawnWhole(view, kHours, bold, QString::fromUtf8(c.sTotal)), c.bWidened)
            << view.columnWidth(kHours) << " for "
            << QFontMetricsF(bold).horizontalAdvance(QString::fromUtf8(c.sTotal));
        if (!c.bWidened) {
            EXPECT_EQ(view.columnWidth(kHours), gui::Pixels(300, gui::GridWidthScale(view.font())));
        }
        EXPECT_EQ(oGrid.ColWidth(kHours), 300);
    }
}

TEST_F(GridViewTest, ACaptionRunsOnIntoTheNextCellWhenItsCellIsCurrent)
{
    // The grand total's caption is wider than the narrow outline column and runs on into the
    // blank company cell, which has a background of its own: the caption must show there
    // also while its own cell is the current one (painted in the selection's colours). With
    // the company column hidden, it runs on past it into the blank hours cell.
    int r = 1;
    while (r < oGrid.Rows() && oGrid.TextMatrix(r, 0).rfind("Total", 0) != 0)
        ++r;
    ASSERT_LT(r, oGrid.Rows());
    oGrid.SetColWidth(0, 300);
    oGrid.SetTextMatrix(r, 0, "Total WWWWWWWW");
    oGrid.SetTextMatrix(r, kCompany, " "); // a total row's empty cell holds a blank
    oGrid.SetCellBackColor({r, 0, r, kHours}, 0xF0E0D0);
    oGrid.Select(r, 0, r, 0);
    for (const int nInto : {kCompany, kHours}) {
        SCOPED_TRACE(nInto == kCompany ? "company" : "hours, company hidden");
        if (nInto == kHours) {
            oGrid.SetColHidden(kCompany, true);
            oGrid.SetTextMatrix(r, kHours, " ");
        }
        gui::GridView view(oGrid);
        view.resize(600, 300);
        view.show();
        QApplication::processEvents();
        const int m = ViewRow(view, "Total WWWWWWWW");
        ASSERT_GE(m, 0);
        const QRect cell = view.visualRect(view.model()->index(m, nInto)).adjusted(2, 2, -2, -2);
        const QImage shot = view.viewport()->grab().toImage();
        const QRgb background = shot.pixel(cell.right(), cell.center().y());
        int text = 0;
        for (int x = cell.left(); x < cell.right(); ++x)
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                text += shot.pixel(x, y) != background ? 1 : 0;
        EXPECT_GT(text, 20) << "the caption does not run on into the next cell";
    }
}

TEST_F(GridViewTest, ACaptionOverBlankCellsHasNoGridLineUnderItAndOneLook)
{
    // A group caption wider than the narrow outline column runs on over the blank company
    // cell: the grid line between them does not cut it, and with its own cell selected it
    // shows in the selection's colours across both cells. A data row keeps its lines. The
    // caption ends in the company cell: the blank hours cell after it keeps its grid line and
    // its own look.
    const int r = WideTotalCaption();
    ASSERT_GT(r, 0);
    oGrid.SetColWidth(kCompany, 3000);
    oGrid.SetTextMatrix(r, kHours, " ");
    gui::GridView view(oGrid);
    view.resize(600, 300);
    view.show();
    QApplication::processEvents();
    const int m = ViewRow(view, kWideCaption);
    int data = 0;
    while (data < view.model()->rowCount() &&
           view.model()->index(data, 0).data(gui::GridModel::NodeRole).toInt() >= 0)
        ++data;
    ASSERT_GE(m, 0);
    ASSERT_LT(data, view.model()->rowCount());
    const QRect caption = view.visualRect(view.model()->index(m, 0));
    const QRect company = view.visualRect(view.model()->index(m, kCompany));
    const QRect hours = view.visualRect(view.model()->index(m, kHours));
    ASSERT_LT(QFontMetrics(view.font()).horizontalAdvance(kWideCaption) * 3 / 2,
              company.right() - caption.left())
        << "the caption does not end in the company cell";
    const auto lineAt = [&](const QImage& shot, int row, int col = kCompany) {
        // How many pixels of the row's height stand in the grid line's colour at the right
        // edge of the column before col, and that colour (the lines' crossing below the row).
        const int x = view.columnViewportPosition(col) - 1;
        const int top = view.rowViewportPosition(row), bottom = top + view.rowHeight(row) - 1;
        const QRgb line = shot.pixel(x, bottom);
        int n = 0;
        for (int y = top; y < bottom; ++y)
            n += shot.pixel(x, y) == line ? 1 : 0;
        return n;
    };
    QImage shot = view.viewport()->grab().toImage();
    EXPECT_EQ(lineAt(shot, data), view.rowHeight(data) - 1) << "a data row lost its grid line";
    EXPECT_LE(lineAt(shot, m), 2) << "the grid line cuts the caption";
    EXPECT_EQ(lineAt(shot, m, kHours), view.rowHeight(m) - 1)
        << "the caption runs on past its text over the blank hours cell";
    const QRgb background = shot.pixel(company.right() - 2, company.top() + 3);
    const QRgb hoursBackground = shot.pixel(hours.right() - 2, hours.top() + 3);
    int text = 0;
    for (int x = company.left(); x < company.right(); ++x)
        for (int y = company.top() + 1; y < company.bottom(); ++y)
            text += shot.pixel(x, y) != background ? 1 : 0;
    EXPECT_GT(text, 20) << "the caption does not run on into the next cell";

    oGrid.Select(r, 0, r, 0);
    QApplication::processEvents();
    shot = view.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixel(caption.right() - 2, caption.top() + 3),
              shot.pixel(company.right() - 2, company.top() + 3))
        << "the selected caption's cells differ";
    EXPECT_NE(shot.pixel(company.right() - 2, company.top() + 3), background)
        << "the caption's cells do not show the selection";
    EXPECT_EQ(shot.pixel(hours.right() - 2, hours.top() + 3), hoursBackground)
        << "the blank cell after the caption shows the caption's selection";
    // Its text there is in the selection's colour too, not in the dark ink of a cell that
    // is not selected.
    int dark = 0;
    for (int x = company.left() + 1; x < company.right() - 1; ++x)
        for (int y = company.top() + 1; y < company.bottom() - 1; ++y)
            dark += qGray(shot.pixel(x, y)) < 80 ? 1 : 0;
    EXPECT_EQ(dark, 0) << "the caption's text changes colour at the cell's edge";
}

TEST_F(GridViewTest, GroupCaptionsShowWholeWhateverColumnStandsBesideThem)
{
    // The outline column keeps a narrow stored width (a template's, which the grid keeps for
    // the add-in to save). A caption runs on over the blank cells beside it; where a filled
    // cell (a total) stops it first, the view shows the outline column wide enough for it,
    // and only then. The grid's own width does not change.
    struct Case
    {
        const char* sWhat;
        int nCompanyWidth; // twips; 0: the company column is hidden
        bool bHoursBlank;  // the totals are blank: nothing stops the captions
    };
    const Case aCases[] = {
        {"a total beside the captions", 0, false},
        {"a narrow blank column, then a total", 300, false},
        {"a wide blank column, then a total", 4000, false},
        {"only blank cells beside the captions", 0, true},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.sWhat);
        pf::FlexGrid oGrid;
        FillReport(oGrid);
        oGrid.SetColWidth(0, 300);
        oGrid.SetColHidden(kCompany, c.nCompanyWidth == 0);
        if (c.nCompanyWidth > 0)
            oGrid.SetColWidth(kCompany, c.nCompanyWidth);
        oGrid.SetColWidth(kHours, 600);
        for (int r = 1; r < oGrid.Rows(); ++r)
            if (oGrid.IsSubtotal(r)) {
                oGrid.SetTextMatrix(r, 0, oGrid.TextMatrix(r, 0) + " Kategorien: (Keine)");
                if (c.bHoursBlank)
                    oGrid.SetTextMatrix(r, kHours, " ");
            }
        gui::GridView view(oGrid);
        view.resize(900, 300);
        view.show();
        QApplication::processEvents();
        QFont bold = view.font();
        bold.setBold(true);
        const int margin =
            view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
        int nCaptions = 0;
        for (int m = 0; m < view.model()->rowCount(); ++m) {
            const QModelIndex caption = view.model()->index(m, 0);
            if (caption.data(gui::GridModel::NodeRole).toInt() < 0)
                continue;
            ++nCaptions;
            const int needed =
                gui::GridDelegate::Indent(caption.data(gui::GridModel::OutlineLevelRole).toInt()) +
                QFontMetrics(bold).horizontalAdvance(caption.data().toString()) + 2 * margin;
            // The room up to the first filled cell after the caption.
            int room = view.columnWidth(0);
            bool stopped = false;
            for (int col = 1; col < view.model()->columnCount() && !stopped; ++col) {
                if (view.isColumnHidden(col))
                    continue;
                stopped = !view.model()->index(m, col).data().toString().trimmed().isEmpty();
                room += stopped ? 0 : view.columnWidth(col);
            }
            if (stopped) {
                EXPECT_LE(needed, room) << caption.data().toString().toStdString() << " is cut";
            }
        }
        EXPECT_EQ(nCaptions, 3);
        EXPECT_EQ(oGrid.ColWidth(0), 300);
        // Column 0 grows only as far as its widest stopped caption needs.
        if (c.bHoursBlank || c.nCompanyWidth == 4000) {
            EXPECT_EQ(view.columnWidth(0), gui::Pixels(300, gui::GridWidthScale(view.font())));
        }
    }
}

TEST_F(GridViewTest, ALongerCaptionAloneWidensTheOutlineColumn)
{
    // The add-in writes a longer caption into a group row while the window shows, and nothing
    // else changes (no figure, no width): the outline column grows as far as the caption
    // needs up to the total beside it. The grid's own width does not change.
    oGrid.SetColWidth(0, 300);
    oGrid.SetColHidden(kCompany, true);
    oGrid.SetColWidth(kHours, 600);
    gui::GridView view(oGrid);
    view.resize(900, 300);
    view.show();
    QApplication::processEvents();
    const int nBefore = view.columnWidth(0);
    int r = oGrid.FixedRows();
    while (!oGrid.IsSubtotal(r))
        ++r;
    const QString sLonger = QString::fromStdString(oGrid.TextMatrix(r, 0)) +
                            QStringLiteral(" Kategorien: Besprechungen und Reisen");
    oGrid.SetTextMatrix(r, 0, gui::FromQ(sLonger));
    QApplication::processEvents();
    const int m = ViewRow(view, sLonger);
    ASSERT_GE(m, 0);
    QFont bold = view.font();
    bold.setBold(true);
    const QModelIndex caption = view.model()->index(m, 0);
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const int needed =
        gui::GridDelegate::Indent(caption.data(gui::GridModel::OutlineLevelRole).toInt()) +
        QFontMetrics(bold).horizontalAdvance(sLonger) + 2 * margin;
    EXPECT_GT(view.columnWidth(0), nBefore);
    EXPECT_LE(needed, view.columnWidth(0)) << "the longer caption is cut";
    EXPECT_EQ(oGrid.ColWidth(0), 300);
}

TEST_F(GridViewTest, ShowsTheGridsRowsHeaderAndSubtotalsInBold)
{
    gui::GridView view(oGrid);
    view.resize(400, 300);
    view.show();
    // Five data rows, two group totals, the grand total.
    EXPECT_EQ(view.model()->rowCount(), 8);
    EXPECT_EQ(view.model()->headerData(kHours, Qt::Horizontal).toString(), "Hours");
    EXPECT_TRUE(view.isColumnHidden(kKey));
    const int bau = ViewRow(view, "Bau");
    ASSERT_GE(bau, 0);
    EXPECT_EQ(view.model()->index(bau, kHours).data().toString(), "10");
    EXPECT_TRUE(view.model()->index(bau, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(view.model()->index(bau + 1, 0).data(Qt::FontRole).value<QFont>().bold());
    // Numbers stand at the right of their cells, texts at the left.
    const auto alignment = [&](int row, int col) {
        return view.model()->index(row, col).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    EXPECT_TRUE(alignment(bau + 1, kHours) & Qt::AlignRight);
    EXPECT_TRUE(alignment(bau + 1, kCompany) & Qt::AlignLeft);
    const double scale = gui::GridWidthScale(view.font());
    EXPECT_EQ(view.columnWidth(kHours), gui::Pixels(oGrid.ColWidth(kHours), scale));

    // Changes by code show at once: texts, colours, widths.
    oGrid.SetTextMatrix(oGrid.Rows() - 1, kHours, "50");
    oGrid.SetCellBackColor({1, kCompany, 1, kCompany}, 0x0000FF);
    oGrid.SetColWidth(0, 3000);
    EXPECT_EQ(view.model()->index(view.model()->rowCount() - 1, kHours).data().toString(), "50");
    EXPECT_EQ(view.model()->index(0, kCompany).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(255, 0, 0));
    EXPECT_EQ(view.columnWidth(0), gui::Pixels(3000, scale));
}

TEST_F(GridViewTest, ClickOnTheNodeBoxCollapsesAndExpands)
{
    gui::GridView view(oGrid);
    view.resize(400, 300);
    view.show();
    std::vector<std::string> vEvents;
    oGrid.Events.AfterCollapse = [&](int row, pf::OutlineState state) {
        vEvents.push_back(std::to_string(row) + ":" + std::to_string(int(state)));
    };
    const int bau = ViewRow(view, "Bau");
    const int nGridRow = view.Model().GridRow(bau);
    const QRect box = view.NodeBoxRect(view.model()->index(bau, 0));
    ASSERT_FALSE(box.isEmpty());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(oGrid.IsCollapsed(nGridRow), pf::OutlineState::Collapsed);
    EXPECT_EQ(view.model()->rowCount(), 5);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      view.NodeBoxRect(view.model()->index(bau, 0)).center());
    EXPECT_EQ(view.model()->rowCount(), 8);
    const std::vector<std::string> vWanted = {std::to_string(nGridRow) + ":2",
                                              std::to_string(nGridRow) + ":0"};
    EXPECT_EQ(vEvents, vWanted);
}

TEST_F(GridViewTest, ClicksSelectTheCellTheGridFindsUnderTheMouse)
{
    gui::GridView view(oGrid);
    view.resize(400, 120);
    view.show();
    int nClicks = 0;
    oGrid.Events.Click = [&] { ++nClicks; };
    // Scrolled down first, so that the grid's own top row must follow the view.
    view.scrollToBottom();
    const int last = view.model()->rowCount() - 1;
    const QRect cell = view.visualRect(view.model()->index(last, kHours));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(nClicks, 1);
    EXPECT_EQ(oGrid.Row(), view.Model().GridRow(last));
    EXPECT_EQ(oGrid.Col(), kHours);
    EXPECT_TRUE(view.selectionModel()->isSelected(view.model()->index(last, kHours)));

    // List-box mode: Ctrl adds rows to the selection.
    oGrid.SetSelectionMode(pf::SelectionMode::ListBox);
    for (int row : {view.rowAt(0), last})
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          view.visualRect(view.model()->index(row, kCompany)).center());
    EXPECT_EQ(oGrid.SelectedRows(), 2);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(view.rowAt(0), {}));
    EXPECT_TRUE(view.selectionModel()->isRowSelected(last, {}));
}

TEST_F(GridViewTest, ARightClickTellsTheDesktopWhereThePointerIs)
{
    gui::GridView view(oGrid);
    view.resize(400, 300);
    view.show();
    int nReleased = 0;
    platform::win::ScreenPoint oAtRelease;
    oGrid.Events.MouseUp = [&](int& button, int, double, double) {
        nReleased += button == 2;
        oAtRelease = platform::win::Desktop::current().cursorPosition().value_or(
            platform::win::ScreenPoint{-1, -1});
    };
    const QPoint at = view.visualRect(view.model()->index(2, kCompany)).center();
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, at);
    const QPoint screen = view.viewport()->mapToGlobal(at);
    EXPECT_EQ(nReleased, 1);
    EXPECT_EQ(oAtRelease, (platform::win::ScreenPoint{screen.x(), screen.y()}));
    platform::win::Desktop::current().setCursorPosition(std::nullopt);
}

TEST_F(GridViewTest, ChecksAndDropDownEditsGoThroughTheGrid)
{
    oGrid.SetEditable(true);
    oGrid.SetColComboList(kHours, "1|2|8");
    const int nRow = oGrid.FindRow("Bau", std::nullopt, kCompany, false, true);
    ASSERT_GT(nRow, 0);
    oGrid.SetCellChecked({nRow, kCompany, nRow, kCompany}, pf::CheckState::Unchecked);
    std::vector<std::string> vEdits;
    oGrid.Events.AfterEdit = [&](int row, int col) {
        vEdits.push_back(std::to_string(row) + "," + std::to_string(col));
    };
    gui::GridView view(oGrid);
    view.resize(400, 300);
    view.show();
    const int row = view.Model().ModelRow(nRow);
    const QRect cell = view.visualRect(view.model()->index(row, kCompany));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(cell.left() + 8, cell.center().y()));
    EXPECT_EQ(oGrid.CellChecked(nRow, kCompany), pf::CheckState::Checked);
    EXPECT_EQ(view.model()->index(row, kCompany).data(Qt::CheckStateRole).toInt(), Qt::Checked);

    const QModelIndex hours = view.model()->index(row, kHours);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(hours).center());
    auto* combo = view.viewport()->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    QTest::keyClick(combo, Qt::Key_Return);
    QApplication::processEvents(); // the editor commits from the loop
    EXPECT_EQ(oGrid.TextMatrix(nRow, kHours), "8");
    EXPECT_EQ(oGrid.ComboIndex(), 2);
    const std::string r = std::to_string(nRow);
    const std::vector<std::string> vWanted = {r + ",1", r + ",2"};
    EXPECT_EQ(vEdits, vWanted);

    // The cell with the box toggles and takes no text: a double click on its text and F2
    // open no editor, and an edit that reaches the model is refused.
    const QModelIndex boxed = view.model()->index(row, kCompany);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {},
                       QPoint(cell.right() - 4, cell.center().y()));
    QTest::keyClick(&view, Qt::Key_F2);
    EXPECT_EQ(view.viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_FALSE(view.model()->setData(boxed, QString("Renamed by typing"), Qt::EditRole));
    EXPECT_EQ(oGrid.TextMatrix(nRow, kCompany), "Bau");
    EXPECT_EQ(oGrid.CellChecked(nRow, kCompany), pf::CheckState::Checked);
    EXPECT_EQ(vEdits, vWanted);
}

// The flags of the first data row, right under the header: checkable where the cell has a
// box, editable elsewhere, and neither while the grid is not editable.
TEST_F(GridViewTest, FirstDataRowIsCheckableOrEditableAsTheGridSays)
{
    oGrid.SetCellChecked({1, kCompany, 1, kCompany}, pf::CheckState::Unchecked);
    gui::GridView view(oGrid);
    ASSERT_EQ(view.Model().GridRow(0), 1);
    const auto flagsOf = [&](int col) { return view.model()->flags(view.model()->index(0, col)); };
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    EXPECT_EQ(flagsOf(kCompany), base);
    EXPECT_EQ(flagsOf(kHours), base);
    oGrid.SetEditable(true);
    EXPECT_EQ(flagsOf(kCompany), base | Qt::ItemIsUserCheckable);
    EXPECT_EQ(flagsOf(kHours), base | Qt::ItemIsEditable);
}

// A tree as the folder picker fills it: no header, a box on every node row, folders indented
// by their level, a leaf without a box to expand, and a flat list as the category list's.
TEST_F(GridViewTest, EveryCheckBoxTogglesByAClickOnItsBoxAndBySpace)
{
    for (const bool bTree : {true, false}) {
        SCOPED_TRACE(bTree ? "tree" : "list");
        pf::FlexGrid grid;
        grid.SetFixedRows(0);
        grid.SetFixedCols(0);
        grid.SetCols(1);
        grid.SetRows(0);
        grid.SetEditable(true);
        const std::vector<std::pair<const char*, int>> vRows = {{" Store", 0},
                                                                {" Inbox (12)", 1},
                                                                {" Archive (3)", 2},
                                                                {" Spam (0)", 2},
                                                                {" Journal (800)", 1}};
        for (const auto& [sText, nLevel] : vRows) {
            const int r = grid.AddItem(sText);
            if (bTree) {
                grid.SetIsSubtotal(r, true);
                grid.SetRowOutlineLevel(r, nLevel);
            }
            grid.SetCellChecked({r, 0, r, 0}, pf::CheckState::Unchecked);
        }
        std::vector<int> vEdited;
        grid.Events.AfterEdit = [&](int row, int) { vEdited.push_back(row); };
        gui::GridView view(grid);
        view.setColumnWidth(0, 200);
        view.resize(300, 200);
        view.show();
        for (int r = 0; r < grid.Rows(); ++r) {
            SCOPED_TRACE(vRows[size_t(r)].first);
            const QModelIndex cell = view.model()->index(view.Model().ModelRow(r), 0);
            const QRect box = view.CheckBoxRect(cell);
            ASSERT_FALSE(box.isEmpty());
            // The box follows the indent: a click beside it selects the row only.
            if (bTree && vRows[size_t(r)].second > 1) {
                EXPECT_GT(box.left(), view.visualRect(cell).left() + 20);
                QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                                  QPoint(view.visualRect(cell).left() + 10, box.center().y()));
                EXPECT_EQ(grid.CellChecked(r, 0), pf::CheckState::Unchecked);
            }
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box.center());
            EXPECT_EQ(grid.CellChecked(r, 0), pf::CheckState::Checked);
            EXPECT_EQ(cell.data(Qt::CheckStateRole).toInt(), Qt::Checked);
            // Space toggles the current row's box; the press made that row current.
            ASSERT_EQ(grid.Row(), r);
            QTest::keyClick(&view, Qt::Key_Space);
            EXPECT_EQ(grid.CellChecked(r, 0), pf::CheckState::Unchecked);
            // Two quick clicks change the box twice: the second arrives as a double click.
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box.center());
            QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, box.center());
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, box.center());
            EXPECT_EQ(grid.CellChecked(r, 0), pf::CheckState::Unchecked);
        }
        EXPECT_EQ(vEdited.size(), 4 * vRows.size());
        // Leaves show no box to expand: the archive (followed by a sibling), the spam folder
        // (last of its branch) and the journal.
        EXPECT_EQ(view.NodeBoxRect(view.model()->index(0, 0)).isEmpty(), !bTree);
        EXPECT_EQ(view.NodeBoxRect(view.model()->index(1, 0)).isEmpty(), !bTree);
        for (int m = 2; m < int(vRows.size()); ++m)
            EXPECT_TRUE(view.NodeBoxRect(view.model()->index(m, 0)).isEmpty()) << m;
    }
}

// A window that notes the keys that reach it.
class KeyWindow : public QDialog
{
public:
    std::vector<int> vKeys;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        vKeys.push_back(event->key());
        QDialog::keyPressEvent(event);
    }
};

// Escape is the window's: it leaves the grid for the dialog, unless a cell is being edited,
// where it cancels the edit and nothing more. F1 goes on to the window too (its help).
TEST_F(GridViewTest, EscapeCancelsAnEditFirstAndThenGoesToTheWindow)
{
    oGrid.SetEditable(true);
    KeyWindow window;
    auto* view = new gui::GridView(oGrid, &window);
    int nRejected = 0;
    QObject::connect(&window, &QDialog::rejected, [&] { ++nRejected; });
    window.resize(400, 300);
    view->resize(400, 300);
    window.show();
    const QModelIndex hours = view->model()->index(1, kHours);
    const std::string sBefore = oGrid.TextMatrix(view->Model().GridRow(1), kHours);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(hours).center());
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, "99");
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(oGrid.TextMatrix(view->Model().GridRow(1), kHours), sBefore);
    EXPECT_EQ(nRejected, 0);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F1);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(nRejected, 1);
    const std::vector<int> vWanted = {Qt::Key_F1, Qt::Key_Escape};
    EXPECT_EQ(window.vKeys, vWanted);
}

TEST_F(GridViewTest, ResizeAndMoveOfColumnsReachTheGrid)
{
    gui::GridView view(oGrid);
    view.show();
    bool bRefuse = false;
    oGrid.Events.ColumnResizing = [&](int, int, bool& cancel) { cancel = bRefuse; };
    const int lTwips = gui::Twips(150, gui::GridWidthScale(view.font()));
    view.horizontalHeader()->resizeSection(kHours, 150);
    EXPECT_EQ(oGrid.ColWidth(kHours), lTwips);
    bRefuse = true;
    view.horizontalHeader()->resizeSection(kHours, 40);
    EXPECT_EQ(oGrid.ColWidth(kHours), lTwips);
    EXPECT_EQ(view.columnWidth(kHours), 150);

    view.horizontalHeader()->moveSection(kHours, kCompany);
    EXPECT_EQ(oGrid.TextMatrix(0, kCompany), "Hours");
    EXPECT_EQ(view.model()->headerData(kCompany, Qt::Horizontal).toString(), "Hours");
    EXPECT_EQ(view.horizontalHeader()->visualIndex(kCompany), kCompany);
}

TEST_F(GridViewTest, WaitsWhileRedrawIsOffAndShowsAllAfter)
{
    gui::GridView view(oGrid);
    view.show();
    oGrid.SetRedraw(false);
    oGrid.Subtotal(pf::SubtotalFunction::Clear);
    for (int i = 0; i < 10; ++i)
        oGrid.AddItem("\tNeu\t1");
    EXPECT_EQ(view.model()->rowCount(), 8);
    oGrid.SetRedraw(true);
    EXPECT_EQ(view.model()->rowCount(), 15);
}

// A long list under a header and two more fixed rows, red so that a look at the band shows
// whose cells stand there.
TEST_F(GridViewTest, FixedRowsBelowTheHeaderStayWhileTheRestScrolls)
{
    pf::FlexGrid grid;
    grid.SetCols(2);
    grid.SetFixedCols(0);
    grid.SetRows(63);
    grid.SetFixedRows(3);
    for (int r = 0; r < grid.Rows(); ++r)
        grid.SetTextMatrix(r, 0, "row " + std::to_string(r));
    grid.SetCellBackColor({1, 0, 2, 1}, 0x0000FF);
    int nClicks = 0;
    grid.Events.Click = [&] { ++nClicks; };
    gui::GridView view(grid);
    view.resize(300, 240);
    view.show();
    const int band = view.FrozenHeight();
    ASSERT_EQ(band, 2 * view.rowHeight(0));

    // Scrolled by the person: the grid's top row is the first row below the band.
    view.verticalScrollBar()->setValue(20);
    EXPECT_EQ(grid.TopRow(), 23);
    EXPECT_EQ(view.Model().GridRow(view.rowAt(band)), 23);
    // At the right of the first column: no text there, and not the current cell.
    const int x = view.columnViewportPosition(1) - 4;
    const QImage shot = view.grab().toImage();
    const QPoint origin = view.viewport()->geometry().topLeft();
    for (int y : {band / 4, band * 3 / 4})
        EXPECT_EQ(QColor(shot.pixel(origin + QPoint(x, y))), QColor(Qt::red)) << y;
    EXPECT_NE(QColor(shot.pixel(origin + QPoint(x, band + 3))), QColor(Qt::red));

    // A press in the band is on a fixed row (no click); below it, on the top row.
    for (auto [y, wantedRow, wantedClicks] :
         {std::tuple{band * 3 / 4, 2, 0}, std::tuple{band + view.rowHeight(0) / 2, 23, 1}}) {
        EXPECT_EQ(view.Model().GridRow(view.indexAt(QPoint(x, y)).row()), wantedRow);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(x, y));
        EXPECT_EQ(grid.MouseRow(), wantedRow) << y;
        EXPECT_EQ(nClicks, wantedClicks) << y;
    }
    EXPECT_EQ(grid.Row(), 23);

    // Scrolled by code, or to show a row above: the row lands below the band, not under it.
    grid.SetTopRow(40);
    EXPECT_EQ(view.Model().GridRow(view.rowAt(band)), 40);
    view.scrollTo(view.model()->index(view.Model().ModelRow(30), 0));
    EXPECT_EQ(view.Model().GridRow(view.rowAt(band)), 30);
    EXPECT_EQ(grid.TopRow(), 30);
}

// A list of one column across its width (the template manager's): a name too long for it is cut
// with an ellipsis inside the list and read whole in its tooltip; a short one has no tooltip.
TEST_F(GridViewTest, ALongNameIsCutWithAnEllipsisAndReadWholeInItsTooltip)
{
    pf::FlexGrid list;
    list.SetCols(1);
    list.SetFixedCols(0);
    list.SetRows(0);
    list.SetFixedRows(0);
    list.SetSelectionMode(pf::SelectionMode::ListBox);
    list.SetExtendLastCol(true);
    const std::string sLong = "Monatsbericht " + std::string(286, 'W');
    list.AddItem("Kurz");
    list.AddItem(sLong);
    gui::GridView view(list);
    view.resize(250, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.textElideMode(), Qt::ElideRight);
    const auto tipAt = [&view](int row) {
        const QPoint at = view.visualRect(view.model()->index(row, 0)).center();
        QHelpEvent event(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), QString());
    EXPECT_EQ(tipAt(1), QString::fromStdString(sLong));
    QToolTip::hideText();
}

// The view tells the grid how wide it shows in the columns' twips, which it draws wider than
// plain twips in a wide font: a column that the add-in makes that wide ends at the viewport's
// edge, before and after a vertical scroll bar takes its room, and with another font size.
TEST_F(GridViewTest, AColumnAsWideAsTheClientWidthEndsAtTheVisibleEdge)
{
    pf::FlexGrid list;
    list.SetCols(1);
    list.SetFixedCols(0);
    list.SetRows(0);
    list.SetFixedRows(0);
    list.SetFontSize(8);
    list.AddItem("Kurz");
    int nTold = 0;
    list.Events.ClientResize = [&] {
        ++nTold;
        list.SetColWidth(0, list.ClientWidth());
    };
    gui::GridView view(list);
    view.resize(250, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const auto endsAtTheEdge = [&view](const char* sWhen) {
        QApplication::processEvents();
        const int nEnd = view.columnViewportPosition(0) + view.columnWidth(0);
        EXPECT_NEAR(nEnd, view.viewport()->width(), 1) << sWhen;
        EXPECT_FALSE(view.horizontalScrollBar()->isVisible()) << sWhen;
    };
    EXPECT_GT(nTold, 0);
    endsAtTheEdge("shown");
    const int nWide = view.viewport()->width();
    for (int i = 0; i < 40; ++i)
        list.AddItem("Zeile " + std::to_string(i));
    ASSERT_TRUE(QTest::qWaitFor([&view] { return view.verticalScrollBar()->isVisible(); }));
    EXPECT_LT(view.viewport()->width(), nWide);
    endsAtTheEdge("with a vertical scroll bar");
    list.SetFontSize(12);
    endsAtTheEdge("at 12 points");
    view.resize(320, 200);
    endsAtTheEdge("wider");
}

} // namespace
