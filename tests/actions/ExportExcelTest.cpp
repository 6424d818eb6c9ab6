// The workbook writer fed from a filled report grid, the package read back with libzip and
// pugixml rather than through the project's own spreadsheet code.
#include "ExportFixture.h"

#include "actions/ExportExcel.h"
#include "actions/ExportPDF.h"
#include "engine/Field.h"
#include "engine/Record.h"
#include "views/GridFields.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

namespace actions::test {

namespace {

namespace rt = platform::runtime;

// One cell as read from the sheet: its text and whether it was stored as a number.
struct Cell
{
    std::string sText;
    bool bNumber = false;
    bool bBoolean = false;
};
using Sheet = std::vector<std::vector<Cell>>;

std::string ZipEntry(zip_t* oZip, const char* sName)
{
    zip_stat_t oStat;
    if (zip_stat(oZip, sName, 0, &oStat) != 0)
        return {};
    std::string sData(oStat.size, '\0');
    zip_file_t* oFile = zip_fopen(oZip, sName, 0);
    if (!oFile)
        return {};
    zip_fread(oFile, sData.data(), oStat.size);
    zip_fclose(oFile);
    return sData;
}

// Column letters of a cell reference as a 0-based index.
int ColumnOfRef(const std::string& sRef)
{
    int lCol = 0;
    for (char ch : sRef) {
        if (ch < 'A' || ch > 'Z')
            break;
        lCol = lCol * 26 + (ch - 'A' + 1);
    }
    return lCol - 1;
}

// The worksheet's own XML.
std::string SheetXml(const std::string& sPath)
{
    int lError = 0;
    zip_t* oZip = zip_open(sPath.c_str(), ZIP_RDONLY, &lError);
    if (!oZip)
        return {};
    std::string sSheet = ZipEntry(oZip, "xl/worksheets/sheet1.xml");
    zip_close(oZip);
    return sSheet;
}

Sheet ReadSheet(const std::string& sPath)
{
    int lError = 0;
    zip_t* oZip = zip_open(sPath.c_str(), ZIP_RDONLY, &lError);
    if (!oZip)
        return {};
    const std::string sSheet = ZipEntry(oZip, "xl/worksheets/sheet1.xml");
    const std::string sShared = ZipEntry(oZip, "xl/sharedStrings.xml");
    zip_close(oZip);

    std::vector<std::string> aShared;
    pugi::xml_document oStrings;
    if (oStrings.load_string(sShared.c_str()))
        for (auto oSi : oStrings.child("sst").children("si")) {
            std::string s;
            for (auto oT : oSi.select_nodes(".//t"))
                s += oT.node().text().get();
            aShared.push_back(s);
        }
    pugi::xml_document oDoc;
    oDoc.load_string(sSheet.c_str());
    Sheet aRows;
    for (auto oRow : oDoc.child("worksheet").child("sheetData").children("row")) {
        std::vector<Cell> aCells;
        for (auto oC : oRow.children("c")) {
            const int lCol = ColumnOfRef(oC.attribute("r").value());
            if (lCol >= 0 && size_t(lCol) >= aCells.size())
                aCells.resize(size_t(lCol) + 1);
            const std::string sType = oC.attribute("t").value();
            Cell& oCell = aCells[size_t(lCol)];
            if (sType == "s")
                oCell.sText = aShared.at(std::stoul(oC.child("v").text().get()));
            else if (sType == "inlineStr")
                oCell.sText = oC.child("is").child("t").text().get();
            else {
                oCell.sText = oC.child("v").text().get();
                oCell.bNumber = sType.empty() || sType == "n";
                oCell.bBoolean = sType == "b";
            }
        }
        aRows.push_back(aCells);
    }
    return aRows;
}

class ExportExcelTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        // Records whose durations are computed values (mapping 5), as a read delivers them.
        oView.AddColumn("Start", "Beginn", 7, 64);
        oRecords = std::make_shared<engine::Records>();
        AddTimed("Plan", "Rot", 30);
        AddTimed("Jour", "Blau", 60);
        AddTimed("Review", "Rot", 45);
        Fill();
        // The view as the save action hands it over: the grid's columns, durations mapped.
        for (const auto& oColumn : *oView.oFields) {
            auto f = std::make_shared<views::GridField>();
            const bool bDuration = oColumn->Key() == "Duration";
            f->InitField(oColumn->Key(), oColumn->Key(), oColumn->Key(), false, false, 3,
                         oColumn->PropertyType(), 1, 1000, true, {}, bDuration ? 5 : 0, false,
                         oColumn->Calculation(), oColumn->CalculatedColKey());
            oColumns->Add(f);
        }
    }

    void AddTimed(const std::string& sSubject, const std::string& sCat, std::int32_t lMinutes)
    {
        auto oRecord = std::make_shared<engine::Record>();
        oRecord->SetClass(1);
        auto Append = [&](const std::string& sKey, engine::PT_PROPERTY_TYPE lType,
                          rt::Variant vValue, long lMapping) {
            auto oField = std::make_shared<engine::Field>();
            oField->Init(sKey, 0, lType, rt::Variant(), "", sKey, lMapping);
            oField->SetFieldValue(vValue);
            oRecord->AppendField(oField);
        };
        Append("Subject", engine::PT_STRING8, rt::Variant(sSubject), 0);
        Append("Cat", engine::PT_STRING8, rt::Variant(sCat), 0);
        Append("Duration", engine::PT_LONG, rt::Variant(lMinutes), 5);
        Append("Start", engine::PT_SYSTIME, rt::Variant(rt::DateSerial(2024, 3, 14)), 0);
        Append("Icon", engine::PT_OBJECT, rt::Variant(std::int32_t(1)), 0);
        oRecords->Append(oRecord);
    }

    Sheet Export(bool bHeader, bool bSubtotals, bool bSubtotalsOnly, bool bKeywordGrouping = false)
    {
        oSave.SetReportTemplate({}); // a new workbook, no template
        oSave.SetPrintHeader(bHeader);
        oSave.SetPrintSubtotals(bSubtotals);
        oSave.SetPrintSubtotalsOnly(bSubtotalsOnly);
        ExportExcel oExcel;
        oExcel.AsIChild().Init(&oSave);
        oExcel.SetColumns(oColumns, bKeywordGrouping);
        oExcel.SetRecords(oRecords);
        oExcel.Export(fg, PathOf("report.xlsx"));
        return ReadSheet(PathOf("report.xlsx"));
    }

    std::shared_ptr<views::GridFields> oColumns = std::make_shared<views::GridFields>();
};

std::vector<std::string> Texts(const std::vector<Cell>& aRow)
{
    std::vector<std::string> a;
    for (const auto& c : aRow)
        a.push_back(c.sText);
    return a;
}

TEST_F(ExportExcelTest, DataRowsOnlyFromColumnOneWithRawDurations)
{
    const Sheet aRows = Export(false, false, false);
    ASSERT_EQ(aRows.size(), 3u); // no caption row, no subtotal rows
    std::map<std::string, std::string> aMinutes;
    for (const auto& aRow : aRows) {
        ASSERT_EQ(aRow.size(), 4u); // Subject, Cat, Duration, Start; no outline or icon column
        EXPECT_FALSE(aRow[0].bNumber);
        EXPECT_TRUE(aRow[2].bNumber) << aRow[0].sText;
        // The date's grid text arrives as the date's serial number.
        EXPECT_TRUE(aRow[3].bNumber) << aRow[3].sText;
        EXPECT_EQ(aRow[3].sText, "45365") << aRow[0].sText;
        aMinutes[aRow[0].sText] = aRow[2].sText;
    }
    EXPECT_EQ(aMinutes, (std::map<std::string, std::string>{
                            {"Jour", "60"}, {"Plan", "30"}, {"Review", "45"}}));
}

TEST_F(ExportExcelTest, SubtotalsBringOutlineColumnAndGroupTotals)
{
    const Sheet aRows = Export(true, true, false);
    ASSERT_EQ(aRows.size(), size_t(fg.Rows())); // every grid row from the caption row on
    EXPECT_EQ(Texts(aRows[0]),
              (std::vector<std::string>{"", "Betreff", "Kategorie", "Dauer", "Beginn"}));
    std::vector<std::string> aTotals;
    for (int r = 1; r < fg.Rows(); ++r) {
        const auto& aRow = aRows[size_t(r)];
        ASSERT_EQ(aRow.size(), 5u) << r;
        if (!fg.IsSubtotal(r))
            continue;
        EXPECT_EQ(aRow[0].sText, rt::Trim(fg.TextMatrix(r, 0))) << r;
        EXPECT_TRUE(aRow[3].bNumber) << r;
        aTotals.push_back(aRow[3].sText);
    }
    // The category totals (Blau 60, Rot 75) and, when the grid shows one, the grand total.
    ASSERT_GE(aTotals.size(), 2u);
    EXPECT_NE(std::find(aTotals.begin(), aTotals.end(), "75"), aTotals.end());
    EXPECT_NE(std::find(aTotals.begin(), aTotals.end(), "60"), aTotals.end());
}

TEST_F(ExportExcelTest, SubtotalsOnlyKeepCaptionAsTextAndOneRowPerSubtotal)
{
    int lSubtotals = 0;
    for (int r = 1; r < fg.Rows(); ++r)
        lSubtotals += fg.IsSubtotal(r) ? 1 : 0;
    const Sheet aRows = Export(true, true, true);
    ASSERT_EQ(aRows.size(), size_t(lSubtotals) + 1);
    EXPECT_EQ(Texts(aRows[0]),
              (std::vector<std::string>{"", "Betreff", "Kategorie", "Dauer", "Beginn"}));
    EXPECT_FALSE(aRows[0][3].bNumber);
    for (size_t i = 1; i < aRows.size(); ++i)
        EXPECT_TRUE(aRows[i][3].bNumber) << i;
}

TEST_F(ExportExcelTest, GridTextsAreConvertedByTheColumnsDataType)
{
    struct Case
    {
        int lDataType;
        const char* sGrid;
        const char* sCell;
        bool bNumber;
        bool bBoolean;
    };
    // German locale: decimal comma.
    const Case aCases[] = {
        {3, "42", "42", true, false},
        {4, "2,5", "2.5", true, false},
        {5, "1234,75", "1234.75", true, false},
        {6, "3,25", "3.25", true, false},
        {11, "1", "1", false, true},
        {11, "0", "0", false, true},
        {5, "zwölf", "zwölf", false, false},
        {8, "42", "42", false, false},
        {3, "", "", false, false},
    };
    const int c = fg.ColIndex("Subject");
    int r = 1;
    while (fg.IsSubtotal(r))
        ++r;
    for (const auto& oCase : aCases) {
        SCOPED_TRACE(std::to_string(oCase.lDataType) + " " + oCase.sGrid);
        fg.SetColDataType(c, oCase.lDataType);
        fg.SetTextMatrix(r, c, oCase.sGrid);
        const Sheet aRows = Export(true, true, false);
        ASSERT_GT(aRows.size(), size_t(r));
        ASSERT_GT(aRows[size_t(r)].size(), size_t(c));
        const Cell& oCell = aRows[size_t(r)][size_t(c)];
        EXPECT_EQ(oCell.sText, oCase.sCell);
        EXPECT_EQ(oCell.bNumber, oCase.bNumber);
        EXPECT_EQ(oCell.bBoolean, oCase.bBoolean);
        // The caption row keeps its caption as text.
        EXPECT_EQ(aRows[0][size_t(c)].sText, "Betreff");
    }
}

TEST_F(ExportExcelTest, KeywordGroupingTakesEachLevelsOwnTotalColumn)
{
    // A level's total column sits beside the column of all levels; a group row whose outline
    // level names the first group-key column takes it.
    auto oDuration = oColumns->Item(rt::Variant(std::string("Duration")));
    ASSERT_TRUE(oDuration);
    const std::string sTotal = oDuration->CalculatedColKey();
    ASSERT_GE(fg.ColIndex(sTotal), 0);
    const int lGroupKey = fg.ColIndex("g1");
    ASSERT_GT(lGroupKey, 0);
    const int cLevel = fg.Cols();
    fg.SetCols(cLevel + 1);
    fg.SetColKey(cLevel, sTotal + "_0");
    fg.SetColHidden(cLevel, true);
    int nGroups = 0;
    for (int r = 1; r < fg.Rows(); ++r) {
        if (!fg.IsSubtotal(r) || fg.RowOutlineLevel(r) == 0)
            continue;
        fg.SetRowOutlineLevel(r, lGroupKey);
        fg.SetTextMatrix(r, cLevel, "1000");
        ++nGroups;
    }
    ASSERT_EQ(nGroups, 2);
    for (bool bKeywords : {false, true}) {
        SCOPED_TRACE(bKeywords);
        const Sheet aRows = Export(false, true, false, bKeywords);
        std::vector<std::string> aGroupTotals, aGrandTotals;
        for (int r = 1; r < fg.Rows(); ++r) {
            if (!fg.IsSubtotal(r))
                continue;
            const std::string sCell = aRows[size_t(r - 1)][3].sText;
            (fg.RowOutlineLevel(r) == 0 ? aGrandTotals : aGroupTotals).push_back(sCell);
        }
        std::sort(aGroupTotals.begin(), aGroupTotals.end());
        EXPECT_EQ(aGroupTotals, bKeywords ? (std::vector<std::string>{"1000", "1000"})
                                          : (std::vector<std::string>{"60", "75"}));
        for (const auto& sGrand : aGrandTotals)
            EXPECT_EQ(sGrand, "135");
    }
}

TEST_F(ExportExcelTest, HeaderFooterAndFirstCellReachTheWorkbook)
{
    struct Case
    {
        const char* sStored; // the first cell as the stored settings give it
        const char* sFirstRef;
    };
    for (const Case& c : {Case{"C4", "C4"}, Case{"", "A1"}}) {
        SCOPED_TRACE(c.sStored);
        // The stored form's last field is the first cell.
        std::string sData = oSave.ToString();
        sData = sData.substr(0, sData.rfind('\0') + 1) + c.sStored;
        oSave.ToObject(sData);
        ASSERT_EQ(oSave.TemplateExcelFirstCell(), c.sStored);
        oSave.SetReportHeader("Links;Mitte;Rechts");
        oSave.SetReportFooter("Fuß<br>zweite Zeile");
        Export(true, false, false);
        const std::string sXml = SheetXml(PathOf("report.xlsx"));
        pugi::xml_document oDoc;
        ASSERT_TRUE(oDoc.load_string(sXml.c_str()));
        const auto oWorksheet = oDoc.child("worksheet");
        EXPECT_EQ(std::string(
                      oWorksheet.child("sheetData").child("row").child("c").attribute("r").value()),
                  c.sFirstRef);
        const std::string sHeader =
            oWorksheet.child("headerFooter").child("oddHeader").text().get();
        const std::string sFooter =
            oWorksheet.child("headerFooter").child("oddFooter").text().get();
        for (const char* sPart : {"Links", "Mitte", "Rechts"})
            EXPECT_NE(sHeader.find(sPart), std::string::npos) << sHeader;
        EXPECT_NE(sFooter.find("Fuß\nzweite Zeile"), std::string::npos) << sFooter;
        EXPECT_EQ(sFooter.find("<br>"), std::string::npos) << sFooter;
    }
}

TEST_F(ExportExcelTest, NothingToWriteLeavesNoFile)
{
    for (int c = 1; c < fg.Cols(); ++c)
        fg.SetColHidden(c, true);
    Export(true, false, false);
    EXPECT_FALSE(std::filesystem::exists(PathOf("report.xlsx")));
}

TEST_F(ExportExcelTest, PdfWriterLeavesNoFile)
{
    ExportPDF oPdf;
    oPdf.AsIChild().Init(&oSave);
    oPdf.Export(fg, PathOf("report.pdf"));
    EXPECT_FALSE(std::filesystem::exists(PathOf("report.pdf")));
}

} // namespace

} // namespace actions::test
