#include "WritersFixture.h"

#include "tests/platform/excel/ExcelTestSupport.h"

#include "engine/ExportExcel.h"
#include "engine/detail/modExcel.h"

#include "platform/excel/Application.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"
#include "platform/win/RecordingShell.h"
#include "platform/win/Shell.h"

#include <freexl.h>
#include <xlsxwriter.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace engine::test {

namespace xl = platform::excel;

namespace {

const char* const kSheet = "xl/worksheets/sheet1.xml";

class ExportExcelTest : public WritersFixture
{
protected:
    void SetUp() override
    {
        WritersFixture::SetUp();
        UseVersion("16.0");
    }
    void TearDown() override
    {
        UseVersion("16.0");
        WritersFixture::TearDown();
    }
    // The spreadsheet version the next application reports, not yet known to the writer.
    static void UseVersion(const std::string& sVersion)
    {
        xl::Application::SetInstalledVersion(sVersion);
        detail::modExcel::ResetExcelVersion();
    }
};

// The writer's Data argument: cells and the header and footer texts.
rt::Variant MakeData(const std::vector<std::vector<rt::Variant>>& rows, const std::string& sHeader,
                     const std::string& sFooter)
{
    rt::Array aTexts(rt::VarType::Variant, {{0, 1}});
    aTexts(0) = sHeader;
    aTexts(1) = sFooter;
    rt::Array aData(rt::VarType::Variant, {{0, 1}});
    aData(0) = exceltest::Table(rows);
    aData(1) = rt::Variant(aTexts);
    return rt::Variant(aData);
}

rt::Variant ReportData(const std::string& sHeader = "Links;Mitte;Rechts",
                       const std::string& sFooter = ";Kestrova")
{
    return MakeData({{"", "Betreff", "Beginn", "Stunden"},
                     {"Büro", "", "", 3.5},
                     {"", "Planung Müller & Söhne", rt::DateSerial(2024, 3, 15), 1.5},
                     {"", "Zeile 1\r\nZeile 2", rt::DateSerial(2024, 3, 16), 2}},
                    sHeader, sFooter);
}

} // namespace

TEST_F(ExportExcelTest, NewWorkbookIsFormattedAndReadsBack)
{
    ExportExcel oExcel;
    auto vData = ReportData();
    std::string sFirst = "B2";
    const auto sPath = OutPath("report.xlsx");
    oExcel.Export(sPath, "", vData, true, true, sFirst);
    EXPECT_FALSE(oExcel.OpenedFromFile());

    const exceltest::XlsxFile file(sPath);
    const auto cells = file.Cells(kSheet);
    EXPECT_EQ(cells.at("C2").value, "Betreff");
    EXPECT_EQ(cells.at("B3").value, "Büro");
    EXPECT_EQ(cells.at("C4").value, "Planung Müller & Söhne");
    EXPECT_EQ(cells.at("C5").value, "Zeile 1\nZeile 2");
    EXPECT_EQ(std::stod(cells.at("E3").value), 3.5);
    EXPECT_DOUBLE_EQ(std::stod(cells.at("D4").value), rt::DateSerial(2024, 3, 15).Serial());
    for (const char* bold : {"C2", "D2", "E2", "B3", "E3"})
        EXPECT_TRUE(file.IsBold(cells.at(bold).style)) << bold;
    for (const char* plain : {"C4", "D4", "E4", "C5"})
        EXPECT_FALSE(file.IsBold(cells.at(plain).style)) << plain;
    const auto widths = file.Widths(kSheet);
    EXPECT_DOUBLE_EQ(widths.at(2), std::floor((4.0 * 7 + 5) / 7 * 256) / 256);
    EXPECT_GE(widths.at(3), 20.0); // fitted to "Planung Müller & Söhne"
    EXPECT_LT(widths.at(5), widths.at(3));
    EXPECT_EQ(file.HeaderFooter(kSheet, "oddHeader"), "&LLinks&CMitte&RRechts");
    EXPECT_EQ(file.HeaderFooter(kSheet, "oddFooter"), "&CKestrova");
    // The caller's array holds the texts as they went in.
    EXPECT_EQ(rt::CStr(vData.AsArray()(0).AsArray()(3, 1)), "Zeile 1\nZeile 2");
}

TEST_F(ExportExcelTest, WithoutHeaderOrSubtotalsEveryColumnIsFittedAndNothingBold)
{
    ExportExcel oExcel;
    auto vData = ReportData("", "");
    const auto sPath = OutPath("plain.xlsx");
    oExcel.Export(sPath, "", vData, false, false);
    const exceltest::XlsxFile file(sPath);
    const auto cells = file.Cells(kSheet);
    EXPECT_EQ(cells.at("B1").value, "Betreff");
    for (const char* plain : {"B1", "A2", "B3"})
        EXPECT_FALSE(file.IsBold(cells.at(plain).style)) << plain;
    const auto widths = file.Widths(kSheet);
    EXPECT_GT(widths.at(1), 4.0);
    EXPECT_GE(widths.at(2), 20.0);
    EXPECT_EQ(file.HeaderFooter(kSheet, "oddHeader"), "");
}

TEST_F(ExportExcelTest, FirstCellDefaultsToA1)
{
    for (const std::string sGiven : {"", "nicht eine Adresse"}) {
        ExportExcel oExcel;
        auto vData = MakeData({{"x", 1}}, "", "");
        std::string sFirst = sGiven;
        const auto sPath = OutPath("a1.xlsx");
        oExcel.Export(sPath, "", vData, false, false, sFirst);
        EXPECT_EQ(sFirst, sGiven.empty() ? "A1" : sGiven);
        const auto cells = exceltest::XlsxFile(sPath).Cells(kSheet);
        EXPECT_EQ(cells.at("A1").value, "x") << sGiven;
        EXPECT_EQ(cells.at("B1").value, "1") << sGiven;
    }
}

TEST_F(ExportExcelTest, ExtensionAndVersionChooseTheFormat)
{
    struct Case
    {
        std::string sVersion;
        std::string sName;
        std::string sKind; // "xlsx", "xlsm" or "xls"
    };
    const Case cases[] = {
        {"16.0", "r.xlsx", "xlsx"}, {"16.0", "R.XLSX", "xlsx"}, {"12.0", "r.Xlsm", "xlsm"},
        {"16.0", "r.xls", "xls"},   {"16.0", "r.txt", "xls"},   {"11.0", "r.xls", "xls"},
    };
    for (const auto& c : cases) {
        UseVersion(c.sVersion);
        ExportExcel oExcel;
        auto vData = MakeData({{"Wert", 42}}, "", "");
        const auto sPath = OutPath(c.sName);
        oExcel.Export(sPath, "", vData, true, false);
        const auto sBytes = ReadAll(sPath);
        if (c.sKind == "xls") {
            EXPECT_EQ(sBytes.substr(0, 4), "\xD0\xCF\x11\xE0") << c.sName;
            const exceltest::XlsFile file(sPath);
            EXPECT_EQ(file.Cell(0, 0).text, "Wert");
            EXPECT_EQ(file.Cell(0, 1).number, 42);
            continue;
        }
        ASSERT_EQ(sBytes.substr(0, 2), "PK") << c.sName;
        EXPECT_EQ(
            exceltest::XlsxFile(sPath).WorkbookContentType(),
            c.sKind == "xlsm"
                ? "application/vnd.ms-excel.sheet.macroEnabled.main+xml"
                : "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml")
            << c.sName;
    }
}

TEST_F(ExportExcelTest, LongTextsKeepEverythingUpToTheFormatsLimit)
{
    const auto Repeat = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i)
            r += s;
        return r;
    };
    const std::string s1000(1000, 'a');
    {
        ExportExcel oExcel;
        auto vData = MakeData({{s1000, Repeat("ü", 33000), Repeat("😀", 17000)}}, "", "");
        const auto sPath = OutPath("long.xlsx");
        oExcel.Export(sPath, "", vData, false, false);
        const auto cells = exceltest::XlsxFile(sPath).Cells(kSheet);
        EXPECT_TRUE(cells.at("A1").value == s1000);
        EXPECT_TRUE(cells.at("B1").value == Repeat("ü", 32767)) << cells.at("B1").value.size();
        // Characters beyond the basic plane count twice and are never split.
        EXPECT_TRUE(cells.at("C1").value == Repeat("😀", 16383)) << cells.at("C1").value.size();
    }
    {
        ExportExcel oExcel;
        auto vData = MakeData({{s1000, Repeat("ü", 9000)}}, "", "");
        const auto sPath = OutPath("long.xls");
        oExcel.Export(sPath, "", vData, false, false);
        const exceltest::XlsFile file(sPath);
        EXPECT_TRUE(file.Cell(0, 0).text == s1000);
        EXPECT_TRUE(file.Cell(0, 1).text == Repeat("ü", 9000)) << file.Cell(0, 1).text.size();
    }
}

TEST_F(ExportExcelTest, TemplateIsFilledAndKeepsItsFormatting)
{
    const auto sTemplate = OutPath("vorlage.xltx");
    {
        lxw_workbook* book = workbook_new(sTemplate.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(book, "Bericht");
        lxw_format* title = workbook_add_format(book);
        format_set_bold(title);
        format_set_bg_color(title, LXW_COLOR_YELLOW);
        worksheet_write_string(sheet, 0, 0, "Titel der Vorlage", title);
        worksheet_write_string(sheet, 2, 1, "", title);
        worksheet_set_column(sheet, 1, 1, 30, nullptr);
        worksheet_set_header(sheet, "&LVorlage");
        ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    }
    const auto sBefore = ReadAll(sTemplate);
    ExportExcel oExcel;
    auto vData = ReportData(";Mitte", "");
    std::string sFirst = "B3";
    const auto sPath = OutPath("gefuellt.xlsx");
    oExcel.Export(sPath, sTemplate, vData, true, true, sFirst);
    EXPECT_TRUE(oExcel.OpenedFromFile());

    EXPECT_EQ(ReadAll(sTemplate), sBefore);
    const exceltest::XlsxFile original(sTemplate);
    const exceltest::XlsxFile filled(sPath);
    const auto cellsBefore = original.Cells(kSheet);
    // Every style the template had is still what it was (a date format may be added).
    for (long style = 0; style <= cellsBefore.at("A1").style; ++style) {
        EXPECT_EQ(filled.NumberFormat(style), original.NumberFormat(style));
        EXPECT_EQ(filled.IsBold(style), original.IsBold(style));
    }
    EXPECT_EQ(filled.Widths(kSheet), original.Widths(kSheet)); // no width set, nothing fitted
    const auto cells = filled.Cells(kSheet);
    EXPECT_EQ(cells.at("A1").value, "Titel der Vorlage");
    EXPECT_EQ(cells.at("A1").style, cellsBefore.at("A1").style);
    EXPECT_EQ(cells.at("C3").value, "Betreff");
    EXPECT_EQ(cells.at("B4").value, "Büro");
    EXPECT_FALSE(filled.IsBold(cells.at("C3").style)); // no bold caption row from the writer
    EXPECT_FALSE(filled.IsBold(cells.at("B4").style));
    EXPECT_TRUE(filled.IsBold(cells.at("B3").style)); // the template's own bold cell
    EXPECT_EQ(filled.HeaderFooter(kSheet, "oddHeader"), "&LVorlage&CMitte");
}

TEST_F(ExportExcelTest, FailedExportEndsTheApplicationAndKeepsTheOldFile)
{
    const auto sPath = OutPath("alt.xlsx");
    WriteAll(sPath, "alter Inhalt");
    ExportExcel oExcel;
    auto vData = MakeData({{rt::Variant(rt::Array())}}, "", ""); // an array in a cell
    const auto nError = RaisedNumber([&] { oExcel.Export(sPath, "", vData, false, false); });
    EXPECT_EQ(nError, 13);
    EXPECT_EQ(ReadAll(sPath), "alter Inhalt");
    EXPECT_EQ(RaisedNumber([] { xl::GetObject("excel.application"); }), 429);

    // A missing template: the creation error reaches the caller, and nothing keeps running.
    auto vGood = MakeData({{"x"}}, "", "");
    EXPECT_TRUE(RaisedNumber([&] {
                    oExcel.Export(OutPath("neu.xlsx"), OutPath("fehlt.xltx"), vGood, false, false);
                }).has_value());
    EXPECT_FALSE(std::filesystem::exists(OutPath("neu.xlsx")));
    EXPECT_EQ(RaisedNumber([] { xl::GetObject("excel.application"); }), 429);
}

TEST_F(ExportExcelTest, OpenWorkbookShowsTheFileAndReusesAnOpenWorkbook)
{
    platform::win::RecordingShell shell;
    platform::win::ScopedShell scope(shell);
    ExportExcel oExcel;
    auto vData = MakeData({{"x"}}, "", "");
    const auto sPath = OutPath("zeigen.xlsx");
    oExcel.Export(sPath, "", vData, false, false);

    oExcel.OpenWorkbook("");
    EXPECT_TRUE(shell.requests().empty());
    oExcel.OpenWorkbook(sPath);
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].verb, "open");
    EXPECT_EQ(shell.requests()[0].file, sPath);
    auto oRunning = xl::GetObject("excel.application");
    EXPECT_TRUE(oRunning->Visible());
    EXPECT_EQ(oRunning->Workbooks()->Count(), 1);
    oExcel.OpenWorkbook(sPath);
    EXPECT_EQ(oRunning->Workbooks()->Count(), 1);
    oRunning->Quit();
}

} // namespace engine::test

namespace engine::test {

TEST_F(ExportExcelTest, HeaderTheSheetRefusesIsLoggedAndTheExportGoesOn)
{
    ExportExcel oExcel;
    auto vData = MakeData({{"x"}}, std::string(300, 'h'), "Links;;Rechts;zu viel");
    const auto sPath = OutPath("kopf.xlsx");
    oExcel.Export(sPath, "", vData, false, false);
    const exceltest::XlsxFile file(sPath);
    EXPECT_EQ(file.Cells(kSheet).at("A1").value, "x");
    EXPECT_EQ(file.HeaderFooter(kSheet, "oddHeader"), "");
    const auto sLog = ReadAll((DataDir() / "config/Kestrova/Fenwick615/error.txt").string());
    EXPECT_NE(sLog.find("Fenwick5.ExportExcel.SetHeaderFooter (2)"), std::string::npos) << sLog;
    EXPECT_NE(sLog.find("No : 1004"), std::string::npos) << sLog;
}

} // namespace engine::test
