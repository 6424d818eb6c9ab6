// The HTML writer fed from a filled report grid, the table read back from the file.
#include "ExportFixture.h"

#include "actions/ExportHTML.h"
#include "common/ErrorObject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <vector>

namespace actions::test {

namespace {

struct Cell
{
    std::string sAttr;
    std::string sText;
};
using HtmlRow = std::vector<Cell>;

// The table's rows between "<tr" and the next row or the table's end.
std::vector<HtmlRow> ParseRows(const std::string& sText)
{
    std::vector<HtmlRow> aRows;
    const std::regex oRow("<tr[^>]*>([\\s\\S]*?)(?=<tr|</tr>|</table>)");
    const std::regex oCell("<td([^>]*)>([\\s\\S]*?)</td>");
    for (std::sregex_iterator it(sText.begin(), sText.end(), oRow), end; it != end; ++it) {
        HtmlRow aRow;
        const std::string sRow = (*it)[1];
        for (std::sregex_iterator c(sRow.begin(), sRow.end(), oCell); c != end; ++c)
            aRow.push_back({(*c)[1], (*c)[2]});
        aRows.push_back(aRow);
    }
    return aRows;
}

std::string SampleTemplate()
{
    const char* sRoot = std::getenv("TV_SOURCE_DIR");
    return std::string(sRoot ? sRoot : ".") + "/resources/samples/modern.html";
}

class ExportHTMLTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        oSave.SetReportTemplate(SampleTemplate());
        oSave.SetReportHeader("Kopf<br>Zeile");
        oSave.SetReportFooter("Fuß");
    }
    std::string Export()
    {
        ExportHTML oHtml;
        oHtml.AsIChild().Init(&oSave);
        oHtml.Export(fg, PathOf("report.html"));
        return ReadAll(PathOf("report.html"));
    }
    // Columns the table shows from column lFirst on.
    int ShownFrom(int lFirst) const
    {
        int n = 0;
        for (int c = lFirst; c < fg.Cols(); ++c)
            n += !fg.ColHidden(c) && fg.ColWidth(c) >= 1 ? 1 : 0;
        return n;
    }
};

TEST_F(ExportHTMLTest, CaptionDataAndSubtotalRowsHaveTheirCellsAndClasses)
{
    ASSERT_FALSE(fg.ColHidden(0));
    const std::string sText = Export();
    EXPECT_NE(sText.find("<p>Kopf<br />Zeile</p>"), std::string::npos);
    EXPECT_NE(sText.find("<p>Fu&szlig;</p>"), std::string::npos);
    EXPECT_NE(sText.find("Kestrova - Outlook Tallyman"), std::string::npos);
    const auto aRows = ParseRows(sText);
    ASSERT_EQ(int(aRows.size()), fg.Rows());

    // Caption row: from column 1, the first cell spanning the outline column.
    ASSERT_EQ(int(aRows[0].size()), ShownFrom(1));
    EXPECT_EQ(aRows[0][0].sAttr, " class='tlv_columnheader' colspan='2'");
    EXPECT_EQ(aRows[0][0].sText, "Betreff");
    EXPECT_EQ(aRows[0].back().sText, "Symbol");

    int lSubtotals = 0;
    for (int r = 1; r < fg.Rows(); ++r) {
        const auto& aRow = aRows[r];
        if (!fg.IsSubtotal(r)) {
            ASSERT_EQ(int(aRow.size()), ShownFrom(0)) << r;
            for (const auto& oCell : aRow)
                EXPECT_EQ(oCell.sAttr, " class='tlv_cell'");
            EXPECT_EQ(aRow[0].sText, "&nbsp;"); // the outline column of a data row is empty
            continue;
        }
        ++lSubtotals;
        ASSERT_EQ(int(aRow.size()), ShownFrom(0) - 1) << r;
        const std::string sLevel = fg.RowOutlineLevel(r) == 0 ? "0" : "1";
        EXPECT_EQ(aRow[0].sAttr, " class='tlv_subtotal_" + sLevel + "' colspan='2'") << r;
        EXPECT_EQ(aRow[1].sAttr, " class='tlv_subtotal_" + sLevel + "'") << r;
    }
    EXPECT_GE(lSubtotals, 2);
    // Markup in a cell is shown as text; a data cell of blanks keeps them.
    EXPECT_NE(sText.find(">Plan &lt;A&gt;</td>"), std::string::npos);
    EXPECT_NE(sText.find("<td class='tlv_cell'>   </td>"), std::string::npos);
}

TEST_F(ExportHTMLTest, CellsShowExactlyWhatTheItemHolds)
{
    int r = 1;
    while (fg.IsSubtotal(r))
        ++r;
    ASSERT_FALSE(fg.ColHidden(0));
    const struct
    {
        const char* sItem;
        const char* sHtml;
    } aCases[] = {
        {"<br>", "&lt;br&gt;"},
        {"&amp;", "&amp;amp;"},
        {"&nbsp;", "&amp;nbsp;"},
        {"&#60;", "&amp;#60;"},
        {"M\xC3\xBCller & S\xC3\xB6hne <GmbH>", "M&uuml;ller &amp; S&ouml;hne &lt;GmbH&gt;"},
    };
    for (const auto& c : aCases) {
        fg.SetTextMatrix(r, 1, c.sItem);
        fg.SetTextMatrix(0, 1, c.sItem);
        const std::string sText = Export();
        const auto aRows = ParseRows(sText);
        ASSERT_GT(int(aRows.size()), r);
        EXPECT_EQ(aRows[r][1].sText, c.sHtml) << c.sItem;
        EXPECT_EQ(aRows[0][0].sText, c.sHtml) << c.sItem;
        // The writer's own markup stays: the header's line break and the empty cells.
        EXPECT_NE(sText.find("<p>Kopf<br />Zeile</p>"), std::string::npos);
        EXPECT_EQ(aRows[r][0].sText, "&nbsp;");
    }
}

TEST_F(ExportHTMLTest, ThreeLevelsNameTheirSubtotalClassesAndBlankTotalsShowNbsp)
{
    // Category, then subject, then duration: the three items make two, three and three groups.
    oView.Group(1, "Subject");
    oView.Group(2, "Duration");
    Fill();
    int r = 1;
    while (r < fg.Rows() && !fg.IsSubtotal(r))
        ++r;
    ASSERT_LT(r, fg.Rows());
    const int cCat = fg.ColIndex("Cat");
    fg.SetTextMatrix(r, cCat, "   ");
    oSave.SetPrintSubtotalsOnly(true);
    const auto aRows = ParseRows(Export());
    std::map<std::string, int> aClasses;
    for (size_t i = 1; i < aRows.size(); ++i)
        ++aClasses[aRows[i][1].sAttr];
    EXPECT_EQ(aClasses[" class='tlv_subtotal_1'"], 2);
    EXPECT_EQ(aClasses[" class='tlv_subtotal_2'"], 3);
    EXPECT_EQ(aClasses[" class='tlv_subtotal_3'"], 3);
    EXPECT_LE(aClasses[" class='tlv_subtotal_0'"], 1);
    // The first subtotal row's category cell of blanks (the cell after the label).
    int lBefore = 0;
    for (int c = 2; c < cCat; ++c)
        lBefore += !fg.ColHidden(c) && fg.ColWidth(c) >= 1 ? 1 : 0;
    ASSERT_GT(aRows.size(), 1u);
    EXPECT_EQ(aRows[1][size_t(1 + lBefore)].sText, "&nbsp;");
}

TEST_F(ExportHTMLTest, SubtotalsOnlyLeavesOutDataRowsAndClassesTakeThePrefix)
{
    oSave.SetPrintSubtotalsOnly(true);
    ExportHTML oHtml;
    oHtml.AsIChild().Init(&oSave);
    oHtml.SetClassPrefix("my_");
    oHtml.Export(fg, PathOf("report.html"));
    const auto aRows = ParseRows(ReadAll(PathOf("report.html")));
    int lSubtotals = 0;
    for (int r = 1; r < fg.Rows(); ++r)
        lSubtotals += fg.IsSubtotal(r) ? 1 : 0;
    ASSERT_EQ(int(aRows.size()), 1 + lSubtotals);
    EXPECT_EQ(aRows[0][0].sAttr, " class='my_columnheader' colspan='2'");
    for (size_t r = 1; r < aRows.size(); ++r)
        EXPECT_EQ(aRows[r][0].sAttr.find(" class='my_subtotal_"), 0u) << r;
}

TEST_F(ExportHTMLTest, ColumnStylesFollowAlignmentAndSkipTheIconColumn)
{
    namespace forms = platform::forms;
    fg.SetColAlignment(fg.ColIndex("Subject"), forms::Alignment::General);
    fg.SetColAlignment(fg.ColIndex("Cat"), forms::Alignment::CenterTop);
    fg.SetColAlignment(fg.ColIndex("Duration"), forms::Alignment::RightCenter);
    fg.SetColWidth(fg.ColIndex("Duration"), 1500);
    const std::string sText = Export();
    std::vector<std::string> aStyles;
    const std::regex oCol("<col (style='[^']*') />");
    for (std::sregex_iterator it(sText.begin(), sText.end(), oCol), end; it != end; ++it)
        aStyles.push_back((*it)[1]);
    ASSERT_EQ(int(aStyles.size()), ShownFrom(0) - 1); // the "Icon" column has none
    EXPECT_EQ(aStyles[1].rfind("style='text-align:left; width:", 0), 0u);
    EXPECT_EQ(aStyles[2].rfind("style='text-align:center; width:", 0), 0u);
    EXPECT_EQ(aStyles[3], "style='text-align:right; width:100px;'");
}

TEST_F(ExportHTMLTest, NoShownColumnWritesNothingAndWriterErrorsReachTheCaller)
{
    for (int c = 0; c < fg.Cols(); ++c)
        fg.SetColWidth(c, 0);
    ExportHTML oHtml;
    oHtml.AsIChild().Init(&oSave);
    EXPECT_NO_THROW(oHtml.Export(fg, PathOf("none.html")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("none.html")));

    Fill();
    oSave.SetReportTemplate(PathOf("missing.html"));
    try {
        oHtml.Export(fg, PathOf("report.html"));
        ADD_FAILURE() << "no error";
    } catch (...) {
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError("test", bFlag);
        EXPECT_NE(oError.Source().find("ExportHTML.IExport_Export"), std::string::npos)
            << oError.Source();
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("report.html")));
}

} // namespace

} // namespace actions::test
