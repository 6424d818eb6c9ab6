#include "ExcelTestSupport.h"

#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Error.h"
#include "platform/win/FileIo.h"

#include <freexl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace excel = platform::excel;
namespace rt = platform::runtime;

namespace {

using exceltest::ErrorNumberOf;

class XlsWriteTest : public exceltest::ExcelAppTest
{
};

TEST_F(XlsWriteTest, ReportReadsBackWithTextsNumbersDatesAndBooleans)
{
    const std::string path = PathOf("report.XLS");
    exceltest::BuildReport(app_)->SaveAs(path, excel::FileFormat::Excel8);
    const exceltest::XlsFile file(path);
    EXPECT_EQ(file.SheetName(), "Sheet1");
    EXPECT_EQ(file.Cell(0, 0).type, FREEXL_CELL_NULL);
    EXPECT_EQ(file.Cell(1, 2).type, FREEXL_CELL_SST_TEXT);
    EXPECT_EQ(file.Cell(1, 2).text, "Subject");
    EXPECT_EQ(file.Cell(2, 1).text, "Meetings");
    EXPECT_EQ(file.Cell(3, 2).text, "Planung Müller & Söhne");
    EXPECT_EQ(file.Cell(2, 4).number, 3.5);
    EXPECT_EQ(file.Cell(4, 4).number, 2.0);
    EXPECT_EQ(file.Cell(3, 3).type, FREEXL_CELL_DATETIME);
    EXPECT_EQ(file.Cell(3, 3).text, "2024-03-15 10:30:00");
    EXPECT_EQ(file.Cell(4, 3).type, FREEXL_CELL_DATE);
    EXPECT_EQ(file.Cell(4, 3).text, "2024-03-16");
    EXPECT_EQ(file.Cell(3, 5).number, 1);
    EXPECT_EQ(file.Cell(4, 5).number, 0);
}

TEST_F(XlsWriteTest, ManyAndLongTextsCrossRecordBoundaries)
{
    // A long Latin-1 text and a long text needing 16-bit characters, each split across two
    // records of the string table, then enough short texts for several more records. (The
    // reading library misreads a text split over more than two records, so none is.)
    const long rows = 3000;
    rt::Array table(rt::VarType::Variant, {{0, rows + 1}, {0, 1}});
    std::string latin;
    for (int i = 0; i < 12000; ++i) {
        latin += static_cast<char>('a' + i % 26);
    }
    std::string wide;
    for (int i = 0; i < 3000; ++i) {
        wide += i % 2 == 0 ? "Ω" : "ß";
    }
    table(0, 0) = latin;
    table(1, 0) = wide;
    table(0, 1) = "Eintrag Nummer 7"; // a repeated text is stored once
    for (long r = 2; r < rows + 2; ++r) {
        table(static_cast<std::int32_t>(r), 0) = "Eintrag Nummer " + std::to_string(r - 2);
        table(static_cast<std::int32_t>(r), 1) = static_cast<double>(r) / 4;
    }
    auto book = app_->Workbooks()->Add();
    book->Worksheets(1)->Range("A1")->Resize(rows + 2, 2)->SetValue(table);
    const std::string path = PathOf("many.xls");
    book->SaveAs(path, excel::FileFormat::WorkbookNormal);

    const exceltest::XlsFile file(path);
    EXPECT_EQ(file.Cell(0, 0).text, latin);
    EXPECT_EQ(file.Cell(1, 0).text, wide);
    EXPECT_EQ(file.Cell(0, 1).text, "Eintrag Nummer 7");
    for (long r : {2L, 3L, 500L, 1234L, rows + 1}) {
        EXPECT_EQ(file.Cell(static_cast<unsigned>(r), 0).text,
                  "Eintrag Nummer " + std::to_string(r - 2));
        EXPECT_EQ(file.Cell(static_cast<unsigned>(r), 1).number, static_cast<double>(r) / 4);
    }
}

TEST_F(XlsWriteTest, SheetsBeyondTheOldLimitsAreRefusedWithoutWritingAFile)
{
    auto book = app_->Workbooks()->Add();
    auto sheet = book->Worksheets(1);
    sheet->Range("A65537")->SetValue(1);
    try {
        book->SaveAs(PathOf("big.xls"), excel::FileFormat::Excel8);
        ADD_FAILURE() << "no error raised";
    } catch (const rt::Error& error) {
        EXPECT_EQ(error.Number(), 1004);
        EXPECT_NE(error.Description().find("65,536"), std::string::npos);
    }
    auto wide = app_->Workbooks()->Add();
    wide->Worksheets(1)->Range("IW1")->SetValue("x");
    EXPECT_THROW(wide->SaveAs(PathOf("wide.xls"), excel::FileFormat::Excel8), rt::Error);
    EXPECT_TRUE(FolderEntries().empty());
    book->SaveAs(PathOf("big.xlsx"), excel::FileFormat::OpenXmlWorkbook);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"big.xlsx"});
}

TEST_F(XlsWriteTest, AFullDiskIsSaidInTheRunsLanguageAndTheOldFileStays)
{
    const std::string path = PathOf("report.xls");
    std::ofstream(path) << "the user's old file";
    auto book = exceltest::BuildReport(app_);
    const struct
    {
        const char* locale;
        const char* said;
        const char* foreign;
    } cases[] = {
        {"de-DE", "\" kann nicht geschrieben werden: auf dem Datenträger ist kein Platz mehr frei",
         "cannot"},
        {"en-US", "\" cannot be written: there is no space left on the disk", "Datenträger"},
    };
    for (const auto& c : cases) {
        for (const std::size_t room : {std::size_t(0), std::size_t(5000)}) {
            SCOPED_TRACE(std::string(c.locale) + " after " + std::to_string(room) + " bytes");
            platform::locale::SetCurrent(c.locale);
            // The disk fills up after `room` bytes of the save.
            std::size_t left = room;
            const platform::win::ScopedWriteFault fault(
                [&](int fd, const char* data, std::size_t size) -> ssize_t {
                    if (left == 0) {
                        errno = ENOSPC;
                        return -1;
                    }
                    const std::size_t n = std::min(size, left);
                    left -= n;
                    return ::write(fd, data, n);
                });
            try {
                book->SaveAs(path, excel::FileFormat::Excel8);
                ADD_FAILURE() << "saved on a full disk";
            } catch (const rt::Error& error) {
                const std::string& said = error.Description();
                // The sentence that names the cause comes first and names the file.
                EXPECT_EQ(said.rfind("\"" + path + c.said, 0), 0u) << said;
                EXPECT_EQ(said.find(c.foreign), std::string::npos) << said;
            }
        }
    }
    platform::locale::SetCurrent("en-US");
    EXPECT_EQ(exceltest::ReadBytes(path), "the user's old file");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"report.xls"});
    book->SaveAs(path, excel::FileFormat::Excel8);
    EXPECT_EQ(exceltest::XlsFile(path).Cell(1, 2).text, "Subject");
}

} // namespace
