#include "ExcelTestSupport.h"

#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"
#include "platform/win/RecordingShell.h"
#include "platform/win/Shell.h"

#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace excel = platform::excel;

namespace {

using exceltest::ErrorNumberOf;

class ApplicationTest : public exceltest::ExcelTest
{
};

TEST_F(ApplicationTest, CreateAndGetObjectFollowTheProgIdAndTheRunningApplication)
{
    EXPECT_EQ(ErrorNumberOf([] { excel::CreateObject("Word.Application"); }), 429);
    EXPECT_EQ(ErrorNumberOf([] { excel::GetObject("Excel.Application"); }), 429);

    auto app = excel::CreateObject("Excel.Application");
    EXPECT_EQ(app->Version(), "16.0");
    EXPECT_TRUE(app->DisplayAlerts());
    EXPECT_FALSE(app->Visible());
    app->Workbooks()->Add();

    auto running = excel::GetObject("excel.application");
    EXPECT_EQ(running->Workbooks()->Count(), 1);
    EXPECT_EQ(ErrorNumberOf([] { excel::GetObject("Other.Application"); }), 429);

    app->Quit();
    EXPECT_EQ(running->Workbooks()->Count(), 0);
    EXPECT_EQ(ErrorNumberOf([] { excel::GetObject("Excel.Application"); }), 429);
}

TEST_F(ApplicationTest, ReleasedInvisibleApplicationNoLongerRuns)
{
    excel::CreateObject("Excel.Application");
    EXPECT_EQ(ErrorNumberOf([] { excel::GetObject("Excel.Application"); }), 429);
}

TEST_F(ApplicationTest, InstalledVersionDecidesTheVersionText)
{
    excel::Application::SetInstalledVersion("11.0");
    EXPECT_EQ(excel::CreateObject("Excel.Application")->Version(), "11.0");
}

TEST_F(ApplicationTest, WorkbooksAreFoundByPositionAndByNameInAnyCase)
{
    auto app = excel::CreateObject("Excel.Application");
    auto books = app->Workbooks();
    auto first = books->Add();
    auto second = books->Add();
    EXPECT_EQ(first->Name(), "Book1");
    EXPECT_EQ(second->Name(), "Book2");
    EXPECT_EQ(books->Count(), 2);
    EXPECT_EQ(books->Item(2), second);
    EXPECT_EQ(books->Item("BOOK1"), first);
    EXPECT_EQ(ErrorNumberOf([&] { books->Item("Book3"); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { books->Item(0); }), 9);
    EXPECT_EQ(first->Worksheets(1)->Name(), "Sheet1");
    EXPECT_EQ(ErrorNumberOf([&] { first->Worksheets(2); }), 9);

    app->SetDisplayAlerts(false);
    const std::string path = PathOf("Report.XLSX");
    second->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
    EXPECT_EQ(second->Name(), "Report.XLSX");
    EXPECT_EQ(second->FullName(), path);
    EXPECT_EQ(books->Item("report.xlsx"), second);
    second->Close(false);
    EXPECT_EQ(books->Count(), 1);
    EXPECT_EQ(ErrorNumberOf([&] { first->Close(true); }), 438);
    app->Quit();
}

TEST_F(ApplicationTest, OpenFindsAnOpenWorkbookAndRejectsWhatIsNoWorkbook)
{
    auto app = excel::CreateObject("Excel.Application");
    app->SetDisplayAlerts(false);
    const std::string path = PathOf("saved.xlsx");
    app->Workbooks()->Add()->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
    auto books = app->Workbooks();
    books->Item(1)->Close();

    auto opened = books->Open(path);
    EXPECT_EQ(books->Open(path), opened);
    EXPECT_EQ(books->Count(), 1);
    EXPECT_EQ(opened->Name(), "saved.xlsx");

    std::ofstream(PathOf("notes.txt")) << "not a workbook";
    EXPECT_EQ(ErrorNumberOf([&] { books->Open(PathOf("notes.txt")); }), 1004);
    EXPECT_EQ(ErrorNumberOf([&] { books->Open(PathOf("missing.xlsx")); }), 1004);
    EXPECT_EQ(books->Count(), 1);
    app->Quit();
}

TEST_F(ApplicationTest, WhatIsNoWorkbookIsSaidInTheUsersLanguage)
{
    auto app = excel::CreateObject("Excel.Application");
    std::ofstream(PathOf("notes.txt")) << "not a workbook";
    // A package's signature and nothing the zip library can read after it.
    std::ofstream(PathOf("broken.xlsx")) << "PK\x03\x04 and then nothing of a package";
    struct Case
    {
        const char* sLocale;
        const char* sFile;
        const char* sSaid;
    };
    for (const auto& c :
         {Case{"de-DE", "notes.txt", "\" ist keine Arbeitsmappe"},
          Case{"de-DE", "broken.xlsx", "\" ist kein lesbares Arbeitsmappenpaket: "},
          Case{"de-DE", "missing.xlsx", "\" wurde nicht gefunden"},
          Case{"en-US", "notes.txt", "\" is not a workbook"},
          Case{"en-US", "broken.xlsx", "\" is not a readable workbook package: "}}) {
        platform::locale::SetCurrent(c.sLocale);
        try {
            app->Workbooks()->Open(PathOf(c.sFile));
            ADD_FAILURE() << c.sFile << " opened";
        } catch (const platform::runtime::Error& e) {
            EXPECT_NE(e.Description().find(c.sSaid), std::string::npos) << e.Description();
            // The zip library's own words stay out of a German message.
            if (std::string(c.sLocale) == "de-DE") {
                EXPECT_EQ(e.Description().find("zip archive"), std::string::npos)
                    << e.Description();
            }
        }
    }
    platform::locale::SetCurrent("en-US");
    app->Quit();
}

TEST_F(ApplicationTest, VisibleApplicationOpensItsFilesThroughTheShellAndKeepsRunning)
{
    auto app = excel::CreateObject("Excel.Application");
    app->SetDisplayAlerts(false);
    const std::string path = PathOf("shown.xls");
    app->Workbooks()->Add()->SaveAs(path, excel::FileFormat::Excel8);
    app->Quit();

    platform::win::RecordingShell shell;
    platform::win::ScopedShell scope(shell);
    shell.failWith(2, "no program for workbooks");
    auto failing = excel::CreateObject("Excel.Application");
    failing->Workbooks()->Open(path);
    EXPECT_EQ(ErrorNumberOf([&] { failing->SetVisible(true); }), 1004);
    failing->Quit();

    platform::win::RecordingShell working;
    platform::win::ScopedShell workingScope(working);
    {
        auto user = excel::CreateObject("Excel.Application");
        user->Workbooks()->Open(path);
        user->SetVisible(true);
        user->Workbooks()->Add(); // nothing to open for a workbook without a file
    }
    ASSERT_EQ(working.requests().size(), 1u);
    EXPECT_EQ(working.requests()[0].verb, "open");
    EXPECT_EQ(working.requests()[0].file, path);
    auto running = excel::GetObject("Excel.Application");
    EXPECT_TRUE(running->Visible());
    EXPECT_EQ(running->Workbooks()->Item("SHOWN.xls")->FullName(), path);
    EXPECT_EQ(running->Workbooks()->Count(), 2);
    running->Quit();
}

} // namespace
