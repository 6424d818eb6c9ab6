#include "ExcelTestSupport.h"

#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Font.h"
#include "platform/excel/PageSetup.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"

#include <fstream>
#include <functional>
#include <limits>
#include <string_view>

namespace excel = platform::excel;
namespace rt = platform::runtime;

namespace {

using exceltest::ErrorNumberOf;

class RangeTest : public exceltest::ExcelAppTest
{
protected:
    void SetUp() override
    {
        ExcelAppTest::SetUp();
        sheet_ = app_->Workbooks()->Add()->Worksheets(1);
    }

    std::shared_ptr<excel::Worksheet> sheet_;
};

TEST_F(RangeTest, AddressesAreParsedOrRejected)
{
    const std::vector<std::pair<std::string, std::string>> valid = {
        {"A1", "$A$1"},
        {"$b$2", "$B$2"},
        {"C3:a1", "$A$1:$C$3"},
        {"A3:C1", "$A$1:$C$3"},
        {"XFD1048576", "$XFD$1048576"},
        {"aa10", "$AA$10"},
    };
    for (const auto& [address, expected] : valid) {
        EXPECT_EQ(sheet_->Range(address)->Address(), expected) << address;
    }
    for (const std::string address :
         {"", "A0", "1A", "XFE1", "A1048577", "A1:", "A1:B", "A 1", "A1B2", "R1C1", "-A1"}) {
        EXPECT_EQ(ErrorNumberOf([&] { sheet_->Range(address); }), 1004) << address;
    }
}

TEST_F(RangeTest, OffsetResizeCornersAndCellsGiveTheExpectedAreas)
{
    auto start = sheet_->Range("B2");
    EXPECT_EQ(start->Offset(3, 2)->Address(), "$D$5");
    EXPECT_EQ(sheet_->Range(start, start->Offset(9, 4))->Address(), "$B$2:$F$11");
    EXPECT_EQ(sheet_->Range(start->Offset(9, 4), start)->Address(), "$B$2:$F$11");
    EXPECT_EQ(start->Resize(2, 3)->Address(), "$B$2:$D$3");
    EXPECT_EQ(sheet_->Cells(4, 27)->Address(), "$AA$4");
    EXPECT_EQ(start->EntireColumn()->Address(), "$B:$B");
    EXPECT_EQ(start->Row(), 2);
    EXPECT_EQ(start->Column(), 2);
    EXPECT_EQ(ErrorNumberOf([&] { start->Offset(-2, 0); }), 1004);
    EXPECT_EQ(ErrorNumberOf([&] { start->Resize(0, 1); }), 1004);
    EXPECT_EQ(ErrorNumberOf([&] { sheet_->Cells(0, 1); }), 1004);
    EXPECT_EQ(ErrorNumberOf([&] { sheet_->Range(start, nullptr); }), 91);
    auto other = app_->Workbooks()->Add()->Worksheets(1);
    EXPECT_EQ(ErrorNumberOf([&] { sheet_->Range(start, other->Range("A1")); }), 1004);
}

TEST_F(RangeTest, ArrayAssignmentWritesEveryKindOfValue)
{
    const rt::Date date = rt::DateSerial(2024, 3, 15);
    const rt::Variant table = exceltest::Table({
        {"Text", std::int16_t{7}, std::int32_t{70000}, 2.5},
        {true, date, rt::Variant(), rt::Null{}},
        {rt::Currency::FromDouble(12.3456), std::uint8_t{200}, 1.5f, "Grüße"},
    });
    auto target = sheet_->Range("B2")->Resize(3, 4);
    target->SetValue(table);
    const rt::Variant read = target->Value();
    const rt::Array& values = read.AsArray();
    EXPECT_EQ(values.LBound(1), 1);
    EXPECT_EQ(values(1, 1), rt::Variant("Text"));
    EXPECT_EQ(values(1, 2), rt::Variant(7.0));
    EXPECT_EQ(values(1, 3), rt::Variant(70000.0));
    EXPECT_EQ(values(1, 4), rt::Variant(2.5));
    EXPECT_EQ(values(2, 1), rt::Variant(true));
    EXPECT_EQ(values(2, 2), rt::Variant(date));
    EXPECT_TRUE(values(2, 3).IsEmpty());
    EXPECT_TRUE(values(2, 4).IsEmpty());
    EXPECT_EQ(values(3, 1), rt::Variant(12.3456));
    EXPECT_EQ(values(3, 2), rt::Variant(200.0));
    EXPECT_EQ(values(3, 3), rt::Variant(1.5));
    EXPECT_EQ(values(3, 4), rt::Variant("Grüße"));
    EXPECT_EQ(sheet_->Range("A1")->Value(), rt::Variant());
}

TEST_F(RangeTest, ArrayAndRangeOfDifferentSizesOverlap)
{
    sheet_->Range("A1:C3")->SetValue("x");
    sheet_->Range("A1:B2")->SetValue(exceltest::Table({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    sheet_->Range("B3:C3")->SetValue(exceltest::Table({{10}}));
    const rt::Variant read = sheet_->Range("A1:C3")->Value();
    const rt::Array& v = read.AsArray();
    EXPECT_EQ(v(1, 1), rt::Variant(1.0));
    EXPECT_EQ(v(2, 2), rt::Variant(5.0));
    EXPECT_EQ(v(1, 3), rt::Variant("x"));
    EXPECT_EQ(v(3, 1), rt::Variant("x"));
    EXPECT_EQ(v(3, 2), rt::Variant(10.0));
    EXPECT_EQ(v(3, 3), rt::Variant("x"));

    rt::Array row(rt::VarType::Variant, {{1, 3}});
    row(1) = "a";
    row(2) = "b";
    row(3) = "c";
    sheet_->Range("E1:G1")->SetValue(row);
    EXPECT_EQ(sheet_->Range("G1")->Value(), rt::Variant("c"));
}

TEST_F(RangeTest, BadElementsWriteNothing)
{
    const std::string tooLong(32768, 'x');
    const std::vector<std::pair<int, rt::Variant>> cases = {
        {13, exceltest::Table({{"ok", sheet_}})},
        {13, exceltest::Table({{"ok", rt::ErrorValue{2042}}})},
        {13, exceltest::Table({{"ok", exceltest::Table({{1}})}})},
        {1004, exceltest::Table({{"ok", tooLong}})},
        {1004, exceltest::Table({{"ok", std::numeric_limits<double>::infinity()}})},
    };
    for (const auto& [number, table] : cases) {
        EXPECT_EQ(ErrorNumberOf([&] { sheet_->Range("A1:B1")->SetValue(table); }), number);
        EXPECT_TRUE(sheet_->Range("A1")->Value().IsEmpty());
    }
    sheet_->Range("A1")->SetValue(std::string(32767, 'y'));
    EXPECT_EQ(sheet_->Range("A1")->Value(), rt::Variant(std::string(32767, 'y')));
}

TEST_F(RangeTest, EveryRefusalOfRangesSheetsAndWorkbooksIsInTheRunsLanguage)
{
    auto book = app_->Workbooks()->Add();
    auto other = book->Worksheets(1);
    const std::string existing = PathOf("existing.xlsx");
    std::ofstream(existing) << "old";
    const auto start = sheet_->Range("B2");
    const struct
    {
        const char* german;
        const char* english;
        std::function<void()> call;
    } cases[] = {
        {"Der verschobene Bereich liegt außerhalb", "the offset range lies outside",
         [&] { start->Offset(-2, 0); }},
        {"Der Bereich in neuer Größe liegt außerhalb", "the resized range lies outside",
         [&] { start->Resize(0, 1); }},
        {"Eine Zelle fasst höchstens 32.767 Zeichen", "a cell holds at most 32,767 characters",
         [&] { start->SetValue(std::string(32768, 'x')); }},
        {"Ein Zellwert ist keine endliche Zahl", "a cell value is not a finite number",
         [&] { start->SetValue(std::numeric_limits<double>::quiet_NaN()); }},
        {"Eine Zelle nimmt nur Zahlen", "a cell takes numbers",
         [&] { start->SetValue(rt::Variant(rt::ErrorValue{2042})); }},
        {"Ganze Spalten können nicht mit einem Wert gefüllt werden",
         "whole columns cannot be filled", [&] { start->EntireColumn()->SetValue(1); }},
        {"Eine Spaltenbreite liegt zwischen 0 und 255", "a column width lies between",
         [&] { start->SetColumnWidth(-1); }},
        {"Nur ganze Spalten können angepasst werden", "only whole columns can be fitted",
         [&] { start->AutoFit(); }},
        {"\"A0\" ist keine Zelladresse", "\"A0\" is not a cell address",
         [&] { sheet_->Range("A0"); }},
        {"Eine Ecke des Bereichs liegt auf einem anderen Arbeitsblatt",
         "a corner of the range lies on another worksheet",
         [&] { sheet_->Range(start, other->Range("C3")); }},
        {"Eine Ecke des Bereichs ist nicht gesetzt", "a corner of the range is not set",
         [&] { sheet_->Range(start, nullptr); }},
        {"Die Zelle (0, 1) liegt außerhalb des Arbeitsblatts",
         "the cell (0, 1) lies outside the worksheet", [&] { sheet_->Cells(0, 1); }},
        {"Die Kopfzeile wäre länger als 255 Zeichen",
         "the page header would be longer than 255 characters",
         [&] { sheet_->PageSetup()->SetLeftHeader(std::string(256, 'k')); }},
        {"Es gibt kein Arbeitsblatt 5", "there is no worksheet 5", [&] { book->Worksheets(5); }},
        {"Es gibt keine Arbeitsmappe 99", "there is no workbook 99",
         [&] { app_->Workbooks()->Item(99); }},
        {"Keine Arbeitsmappe namens \"x\" ist geöffnet", "no workbook named \"x\" is open",
         [&] { app_->Workbooks()->Item("x"); }},
        {"Das Dateiformat 44 wird nicht unterstützt", "the file format 44 is not supported",
         [&] { book->SaveAs(PathOf("r.htm"), 44); }},
        {"existiert bereits; die Datei wird nur bei ausgeschalteten Warnungen ersetzt",
         "exists; it is replaced only while alerts are off",
         [&] {
             app_->SetDisplayAlerts(true);
             try {
                 book->SaveAs(existing, excel::FileFormat::OpenXmlWorkbook);
             } catch (...) {
                 app_->SetDisplayAlerts(false);
                 throw;
             }
         }},
        {"Schließen mit Speichern wird nicht unterstützt", "closing with saving is not supported",
         [&] { book->Close(true); }},
    };
    for (const char* locale : {"de-DE", "en-US"}) {
        platform::locale::SetCurrent(locale);
        const bool german = std::string_view(locale) == "de-DE";
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(locale) + " " + c.english);
            try {
                c.call();
                ADD_FAILURE() << "no refusal";
            } catch (const rt::Error& error) {
                EXPECT_NE(error.Description().find(german ? c.german : c.english),
                          std::string::npos)
                    << error.Description();
            }
        }
    }
    platform::locale::SetCurrent("en-US");
}

TEST_F(RangeTest, BoldWidthAndAutoFit)
{
    sheet_->Range("A1:C1")->SetValue(exceltest::Table({{"Subject", "Start", "Duration"}}));
    sheet_->Range("A2:C3")->SetValue(
        exceltest::Table({{"A much longer subject line", rt::DateSerial(2024, 1, 2), 1.25},
                          {"Short", rt::DateSerial(2024, 1, 3), 12345678.5}}));
    sheet_->Range("A1:C1")->Font()->SetBold(true);
    EXPECT_TRUE(sheet_->Range("B1")->Font()->Bold());
    EXPECT_FALSE(sheet_->Range("B2")->Font()->Bold());
    sheet_->Range("D1")->EntireColumn()->Font()->SetBold(true);
    EXPECT_TRUE(sheet_->Range("D9")->Font()->Bold());

    EXPECT_DOUBLE_EQ(sheet_->Range("A1")->ColumnWidth(), 8.43);
    EXPECT_EQ(ErrorNumberOf([&] { sheet_->Range("A1")->AutoFit(); }), 1004);
    EXPECT_EQ(ErrorNumberOf([&] { sheet_->Range("A1")->SetColumnWidth(256); }), 1004);
    sheet_->Range("A1:D1")->EntireColumn()->AutoFit();
    const double subject = sheet_->Range("A1")->ColumnWidth();
    const double start = sheet_->Range("B1")->ColumnWidth();
    const double duration = sheet_->Range("C1")->ColumnWidth();
    EXPECT_GE(subject, 26.0); // the longest text's characters
    EXPECT_LT(subject, 29.0);
    EXPECT_GE(start, 10.0); // a date shows ten characters
    EXPECT_LT(start, subject);
    EXPECT_GE(duration, 10.0);                                  // "12345678.5"
    EXPECT_DOUBLE_EQ(sheet_->Range("D1")->ColumnWidth(), 8.43); // nothing to fit
    sheet_->Range("A5")->EntireColumn()->SetColumnWidth(4);
    EXPECT_DOUBLE_EQ(sheet_->Range("A1")->ColumnWidth(), 4.0);
}

TEST_F(RangeTest, HeaderAndFooterPartsAreKeptWithTheirCodes)
{
    auto setup = sheet_->PageSetup();
    setup->SetLeftHeader("&D &T");
    setup->SetCenterHeader("Fish && Chips");
    setup->SetRightFooter("Page &P of &N");
    EXPECT_EQ(setup->LeftHeader(), "&D &T");
    EXPECT_EQ(setup->CenterHeader(), "Fish && Chips");
    EXPECT_EQ(setup->RightHeader(), "");
    EXPECT_EQ(setup->RightFooter(), "Page &P of &N");
    EXPECT_EQ(ErrorNumberOf([&] { setup->SetRightHeader(std::string(250, 'r')); }), 1004);
    EXPECT_EQ(setup->RightHeader(), "");
    setup->SetRightHeader(std::string(200, 'r'));
    EXPECT_EQ(setup->RightHeader().size(), 200u);
}

} // namespace
