#include "ExcelTestSupport.h"

#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"
#include "platform/excel/detail/CapturedStderr.h"
#include "platform/excel/detail/Writers.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/ReplacingFile.h"

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <functional>

namespace excel = platform::excel;
namespace rt = platform::runtime;

namespace {

using exceltest::ErrorNumberOf;
using exceltest::ReadBytes;

const char* const kSheet = "xl/worksheets/sheet1.xml";

class XlsxWriteTest : public exceltest::ExcelAppTest
{
};

TEST_F(XlsxWriteTest, ReportReadsBackWithValuesBoldRowsHeaderFooterAndWidths)
{
    const std::string path = PathOf("report.xlsx");
    exceltest::BuildReport(app_)->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
    const exceltest::XlsxFile file(path);
    EXPECT_EQ(file.WorkbookContentType(),
              "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    const auto cells = file.Cells(kSheet);

    EXPECT_EQ(cells.at("C2").value, "Subject");
    EXPECT_EQ(cells.at("B3").value, "Meetings");
    EXPECT_EQ(cells.at("C4").value, "Planung Müller & Söhne");
    EXPECT_EQ(std::stod(cells.at("E3").value), 3.5);
    EXPECT_EQ(std::stod(cells.at("E5").value), 2.0);
    EXPECT_EQ(cells.at("F4").type, "b");
    EXPECT_EQ(cells.at("F4").value, "1");
    EXPECT_EQ(cells.at("F5").value, "0");
    // Dates are numbers with a date format, so that they read as dates.
    EXPECT_DOUBLE_EQ(std::stod(cells.at("D5").value), rt::DateSerial(2024, 3, 16).Serial());
    EXPECT_EQ(file.NumberFormat(cells.at("D5").style), 14);
    EXPECT_DOUBLE_EQ(std::stod(cells.at("D4").value),
                     rt::DateSerial(2024, 3, 15).Serial() + 10.5 / 24);
    EXPECT_EQ(file.NumberFormat(cells.at("D4").style), 22);
    EXPECT_EQ(file.NumberFormat(cells.at("E4").style), 0);

    for (const char* bold : {"C2", "D2", "F2", "B3", "E3", "B4", "B5"}) {
        EXPECT_TRUE(file.IsBold(cells.at(bold).style)) << bold;
    }
    for (const char* plain : {"C4", "D4", "E4", "F5"}) {
        EXPECT_FALSE(file.IsBold(cells.at(plain).style)) << plain;
    }

    const auto widths = file.Widths(kSheet);
    // The file stores a width with the cell padding, in 1/256 of a character.
    EXPECT_DOUBLE_EQ(widths.at(2), std::floor((4.0 * 7 + 5) / 7 * 256) / 256);
    EXPECT_GE(widths.at(3), 22.0); // "Planung Müller & Söhne"
    EXPECT_GE(widths.at(4), 16.0); // a date with time
    EXPECT_LT(widths.at(5), widths.at(3));
    EXPECT_EQ(widths.count(1), 0u);

    EXPECT_EQ(file.HeaderFooter(kSheet, "oddHeader"), "&L&D&CWeekly report&R&P/&N");
    EXPECT_EQ(file.HeaderFooter(kSheet, "oddFooter"), "&CKestrova");
}

TEST_F(XlsxWriteTest, MacroEnabledWorkbookCarriesItsContentType)
{
    const std::string path = PathOf("report.xlsm");
    exceltest::BuildReport(app_)->SaveAs(path, excel::FileFormat::OpenXmlWorkbookMacroEnabled);
    const exceltest::XlsxFile file(path);
    EXPECT_EQ(file.WorkbookContentType(), "application/vnd.ms-excel.sheet.macroEnabled.main+xml");
    EXPECT_EQ(file.Cells(kSheet).at("C2").value, "Subject");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"report.xlsm"});
}

TEST_F(XlsxWriteTest, SavingReplacesAnExistingFileWholeAndKeepsItsPermissions)
{
    const std::string path = PathOf("report.xlsx");
    std::ofstream(path) << std::string(100000, 'o');
    ::chmod(path.c_str(), 0640);
    exceltest::BuildReport(app_)->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
    EXPECT_EQ(exceltest::XlsxFile(path).Cells(kSheet).at("C2").value, "Subject");
    struct stat st
    {
    };
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"report.xlsx"});
}

TEST_F(XlsxWriteTest, FailedSavesKeepTheOldFileAndLeaveNoTemporaryFile)
{
    const std::string path = PathOf("report.xlsx");
    std::ofstream(path) << "the user's old file";
    auto book = exceltest::BuildReport(app_);

    rt::ReplacingFile::FailNextWriteForTesting();
    EXPECT_EQ(ErrorNumberOf([&] { book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook); }), 61);
    app_->SetDisplayAlerts(true);
    EXPECT_EQ(ErrorNumberOf([&] { book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook); }), 1004);
    app_->SetDisplayAlerts(false);
    EXPECT_EQ(ErrorNumberOf([&] { book->SaveAs(path, 0); }), 1004);
    EXPECT_EQ(ErrorNumberOf([&] { book->SaveAs(path, 44); }), 1004);
    EXPECT_EQ(ReadBytes(path), "the user's old file");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"report.xlsx"});

    EXPECT_EQ(ErrorNumberOf([&] {
                  book->SaveAs(PathOf("missing/report.xlsx"), excel::FileFormat::OpenXmlWorkbook);
              }),
              76);
    std::filesystem::create_directory(PathOf("folder.xlsx"));
    EXPECT_EQ(ErrorNumberOf(
                  [&] { book->SaveAs(PathOf("folder.xlsx"), excel::FileFormat::OpenXmlWorkbook); }),
              75);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"folder.xlsx", "report.xlsx"}));
}

TEST_F(XlsxWriteTest, OldVersionsKnowOnlyTheOldFormat)
{
    excel::Application::SetInstalledVersion("11.0");
    auto old = excel::CreateObject("Excel.Application");
    old->SetDisplayAlerts(false);
    auto book = exceltest::BuildReport(old);
    for (long format :
         {excel::FileFormat::OpenXmlWorkbook, excel::FileFormat::OpenXmlWorkbookMacroEnabled,
          excel::FileFormat::Excel8}) {
        EXPECT_EQ(ErrorNumberOf([&] { book->SaveAs(PathOf("r.xls"), format); }), 1004) << format;
    }
    book->SaveAs(PathOf("r.xls"), excel::FileFormat::WorkbookNormal);
    EXPECT_EQ(exceltest::XlsFile(PathOf("r.xls")).Cell(1, 2).text, "Subject");
    old->Quit();
}

TEST_F(XlsxWriteTest, AFullDiskIsSaidInTheUsersLanguageAndTheWritersLogStaysOffTheTerminal)
{
    excel::detail::Sheet sheet("Sheet1");
    sheet.At(1, 1).kind = excel::detail::Cell::Kind::Number;
    sheet.At(1, 1).number = 1;
    sheet.At(1, 1).written = true;
    const excel::detail::SheetList sheets{std::cref(sheet)};
    for (const auto& [locale, expected] : std::vector<std::pair<std::string, std::string>>{
             {"de-DE", "auf dem Datenträger ist kein Platz mehr frei"},
             {"en-US", "there is no space left on the disk"}}) {
        platform::locale::SetCurrent(locale);
        testing::internal::CaptureStderr();
        std::string description;
        try {
            // Every write into /dev/full fails as on a full disk.
            excel::detail::WriteXlsx(sheets, "/dev/full");
        } catch (const rt::Error& error) {
            description = error.Description();
        }
        const std::string terminal = testing::internal::GetCapturedStderr();
        EXPECT_NE(description.find(expected), std::string::npos) << description;
        EXPECT_NE(description.find("/dev/full"), std::string::npos) << description;
        EXPECT_EQ(terminal.find("[ERROR]"), std::string::npos) << terminal;
    }
    platform::locale::SetCurrent("en-US");
    EXPECT_EQ(excel::detail::LibraryReasons(
                  "[ERROR][./src/packager.c:1532]: Error in writing member in the zipfile\n"
                  "[ERROR] workbook_close(): Memory error\n"),
              "Error in writing member in the zipfile; workbook_close(): Memory error");
}

} // namespace
