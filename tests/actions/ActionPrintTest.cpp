#include "NoticeRecorder.h"
#include "tests/actions/ActionFixture.h"
#include "tests/actions/PrintJobs.h"

#include "actions/ActionPrint.h"
#include "platform/forms/CommonDialogs.h"
#include "printer/PrinterObject.h"
#include "printer/detail/PrinterSettingsAccess.h"

#include <cups/cups.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace actions::test {
namespace {

namespace fs = std::filesystem;
namespace pf = platform::forms;
namespace printing = platform::printing;
namespace rt = platform::runtime;
using printing::testing::kNullQueue;
using printing::testing::kPdfQueue;

class ActionPrintTest : public ActionFixture
{
protected:
    void SetUp() override
    {
        ActionFixture::SetUp();
        std::error_code ec;
        fs::remove(printing::testing::ProcessHome() / ".cups" / "lpoptions", ec);
        if (const std::string sWhy = MissingTestQueues(); !sWhy.empty())
            GTEST_SKIP() << sWhy;
        ASSERT_TRUE(printing::Spooler().SetDefaultPrinter(kNullQueue));
        m_sStored = StoredOptions();
    }

    static std::string StoredOptions()
    {
        std::ifstream in(printing::testing::ProcessHome() / ".cups" / "lpoptions");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Neither the default printer nor any stored options changed.
    void ExpectPrinterSetupUnchanged()
    {
        EXPECT_EQ(printing::Spooler().DefaultPrinterName(), kNullQueue);
        EXPECT_EQ(StoredOptions(), m_sStored);
    }

    static std::string Title(const std::string& sFile) { return fs::path(sFile).filename(); }

    printer::PrinterObject oPrinter;

private:
    std::string m_sStored;
};

TEST_F(ActionPrintTest, EachFormatIsPrintedAsShownWithTheChosenSettings)
{
    const std::string sStem = "tvprint" + std::to_string(::getpid());
    const std::string sHtml = "<html><head><meta charset='utf-8'></head><body><table>"
                              "<tr><td>Subject</td><td>Minutes</td></tr>"
                              "<tr><td>Alpha</td><td>30</td></tr>"
                              "<tr><td>Jour</td><td>60</td></tr></table></body></html>";
    struct Case
    {
        std::string sExt;
        bool bTextPrinted; // printed as text, where the orientation shows in the words
    };
    for (const Case& c : {Case{"csv", true}, Case{"html", false}, Case{"xlsx", false}}) {
        const std::string sName = sStem + c.sExt + "." + c.sExt;
        std::string sFile;
        if (c.sExt == "csv")
            sFile = SaveReport(sName, "Subject;Minutes\r\nAlpha;30\r\nJour;60", 0);
        else if (c.sExt == "html")
            sFile = SaveReport(sName, sHtml, 1);
        else
            sFile = SaveWorkbook(sName, {{"Subject", "Minutes"}, {"Alpha", "30"}, {"Jour", "60"}});
        auto oSettings = oPrinter.GetPrinterSettings(kPdfQueue);
        ASSERT_NE(oSettings, nullptr);
        oSettings->SetCopies(2);
        oSettings->SetOrientation(printer::DMORIENT_LANDSCAPE);
        oSettings->SetPaperSize(printer::DMPAPER_A5);
        oAction.GetPrintAction()->SetPrinterSettings(oSettings);

        oAction.GetPrintAction()->Execute();
        ExpectPrinterSetupUnchanged();
        const int lJob = BackgroundJob(kPdfQueue, Title(sFile));
        ASSERT_GT(lJob, 0) << c.sExt;
        ASSERT_EQ(printing::testing::WaitForJob(kPdfQueue, lJob, std::chrono::seconds(120)),
                  IPP_JSTATE_COMPLETED)
            << c.sExt;
        EXPECT_EQ(JobAttribute(lJob, "copies"), "2") << c.sExt;
        EXPECT_EQ(JobAttribute(lJob, "job-media-sheets-completed"), "2") << c.sExt;
        EXPECT_EQ(JobAttribute(lJob, "orientation-requested"), "landscape") << c.sExt;
        EXPECT_EQ(JobAttribute(lJob, "media"), "A5") << c.sExt;
        // What the queue got: the text itself, or a PDF of the HTML page or the workbook,
        // never their raw bytes.
        EXPECT_EQ(JobAttribute(lJob, "document-format-detected"),
                  c.bTextPrinted ? "text/plain" : "application/pdf")
            << c.sExt;

        const fs::path oPdf = PrintedPdf(sStem + c.sExt);
        ASSERT_FALSE(oPdf.empty()) << c.sExt;
        const std::string sInfo = Output("pdfinfo '" + oPdf.string() + "'");
        EXPECT_NE(sInfo.find("(A5)"), std::string::npos) << sInfo;
        EXPECT_TRUE(std::regex_search(sInfo, std::regex("Pages:\\s+1\\n"))) << sInfo;
        const std::string sText = Output("pdftotext '" + oPdf.string() + "' -");
        for (const char* sCell : {"Subject", "Minutes", "Alpha", "Jour", "60"})
            EXPECT_NE(sText.find(sCell), std::string::npos) << c.sExt << ": " << sCell;
        if (c.bTextPrinted) {
            // Landscape on A5 paper: the lines run along the long edge, upright words are
            // taller than wide.
            std::smatch m;
            const std::string sBoxes = Output("pdftotext -bbox '" + oPdf.string() + "' -");
            ASSERT_TRUE(std::regex_search(
                sBoxes, m,
                std::regex("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                           "yMax=\"([0-9.]+)\">Subject")));
            EXPECT_GT(std::stod(m[4]) - std::stod(m[2]), std::stod(m[3]) - std::stod(m[1]));
        }
        std::error_code ec;
        fs::remove(oPdf, ec);
    }
}

// Where a word of the PDF's text stands: its page and its box's top left corner in points.
struct WordPlace
{
    int nPage;
    double dX, dY;
};

// Where each word of the PDF's text stands, by the word.
std::multimap<std::string, WordPlace> WordPlaces(const fs::path& oPdf)
{
    const std::string sBoxes = Output("pdftotext -bbox '" + oPdf.string() + "' -");
    const std::regex oItem("<page |xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                           "yMax=\"[0-9.]+\">([^<]*)</word>");
    std::multimap<std::string, WordPlace> words;
    int nPage = 0;
    for (auto it = std::sregex_iterator(sBoxes.begin(), sBoxes.end(), oItem);
         it != std::sregex_iterator(); ++it) {
        if (!(*it)[1].matched) {
            ++nPage;
            continue;
        }
        words.emplace((*it)[3].str(),
                      WordPlace{nPage, std::stod((*it)[1].str()), std::stod((*it)[2].str())});
    }
    return words;
}

// A column width as the spreadsheet shows it (characters of the workbook's standard font, 11
// points, whose digits are 7 pixels wide at 96 pixels an inch, with 5 pixels of margin), in
// points on paper.
double ColumnPoints(double dChars)
{
    return (std::trunc(dChars * 7) + 5) * 72 / 96;
}

TEST_F(ActionPrintTest, WorkbookPrintsInTheLocaleOnThePageOfTheSettings)
{
    // The workbook's dates carry the built-in date formats, which show as the run's locale
    // shows them; its seven columns need more than a portrait page's width and go on one
    // landscape page. The columns print as wide as the workbook makes them, in a font with
    // the widths of the workbook's own, and the words with "ff" and "fi" (drawn as one glyph)
    // are found in the PDF's text as they were written.
    struct Case
    {
        const char* sLocale;
        std::int16_t iOrientation;
        const char* sDate;
        const char* sDateTime;
        const char* sNumber;
        const char* sPages;
    };
    for (const Case& c :
         {Case{"de-DE", printer::DMORIENT_LANDSCAPE, "06.01.2027", "27.12.2026 14:00", "5,5", "1"},
          Case{"en-US", printer::DMORIENT_PORTRAIT, "1/6/2027", "12/27/2026 14:00", "5.5", "2"}}) {
        platform::locale::SetCurrent(c.sLocale);
        namespace xl = platform::excel;
        const std::string sStem = "tvlocale" + std::to_string(::getpid()) + c.sLocale;
        auto oExcel = xl::CreateObject("excel.application");
        auto oBook = oExcel->Workbooks()->Add();
        auto oSheet = oBook->Worksheets(1);
        // The date and time as wide as a fit to it makes it, the others narrower.
        const auto Width = [](long lCol) { return lCol == 2 ? 17.0 : 14.0; };
        for (long lCol = 1; lCol <= 7; ++lCol) {
            oSheet->Cells(1, lCol)->SetValue(rt::Variant("Spalte" + std::to_string(lCol)));
            oSheet->Cells(1, lCol)->EntireColumn()->SetColumnWidth(Width(lCol));
        }
        oSheet->Cells(2, 1)->SetValue(rt::Variant(rt::Date(46393.0)));
        oSheet->Cells(2, 2)->SetValue(rt::Variant(rt::Date(46383.0 + 14.0 / 24.0)));
        oSheet->Cells(2, 3)->SetValue(rt::Variant(5.5));
        oSheet->Cells(2, 7)->SetValue(rt::Variant("Ende"));
        oSheet->Cells(3, 1)->SetValue(rt::Variant("Betreff"));
        oSheet->Cells(3, 2)->SetValue(rt::Variant("Jour fixe"));
        oSheet->Cells(3, 3)->SetValue(rt::Variant("Schaffner AG"));
        oSheet->Cells(3, 4)->SetValue(rt::Variant("Offizielle"));
        const auto oPath = Dir() / (sStem + ".xlsx");
        oBook->SaveAs(oPath.string(), 51);
        oExcel->Quit();
        oAction.GetSaveAction()->SetReportFormat(4);
        oAction.GetSaveAction()->SetSavedAs(oPath.string());
        auto oSettings = oPrinter.GetPrinterSettings(kPdfQueue);
        ASSERT_NE(oSettings, nullptr);
        oSettings->SetPaperSize(printer::DMPAPER_A4);
        oSettings->SetOrientation(static_cast<printer::DMOrientation>(c.iOrientation));
        oAction.GetPrintAction()->SetPrinterSettings(oSettings);

        oAction.GetPrintAction()->Execute();
        const int lJob = BackgroundJob(kPdfQueue, oPath.filename().string());
        ASSERT_GT(lJob, 0) << c.sLocale;
        ASSERT_EQ(printing::testing::WaitForJob(kPdfQueue, lJob, std::chrono::seconds(120)),
                  IPP_JSTATE_COMPLETED);
        const fs::path oPdf = PrintedPdf(sStem);
        ASSERT_FALSE(oPdf.empty()) << c.sLocale;
        const std::string sText = Output("pdftotext '" + oPdf.string() + "' -");
        for (const char* sCell : {c.sDate, c.sDateTime, c.sNumber, "Spalte7", "Ende", "Betreff",
                                  "Jour fixe", "Schaffner AG", "Offizielle"})
            EXPECT_NE(sText.find(sCell), std::string::npos) << c.sLocale << ": " << sCell << "\n"
                                                            << sText;
        // Each column starts where the one before it ends on its page: the headers lie the
        // columns' widths apart along the lines (across the paper, or down it where the page
        // is turned), the cells' margins being the same in each.
        const auto oWords = WordPlaces(oPdf);
        int nCompared = 0;
        for (int lCol = 2; lCol <= 7; ++lCol) {
            const auto oLeft = oWords.find("Spalte" + std::to_string(lCol - 1));
            const auto oRight = oWords.find("Spalte" + std::to_string(lCol));
            ASSERT_TRUE(oLeft != oWords.end() && oRight != oWords.end()) << lCol;
            const WordPlace& a = oLeft->second;
            const WordPlace& b = oRight->second;
            if (a.nPage != b.nPage)
                continue;
            ++nCompared;
            // The office suite that prints it counts a character in the digit's exact width,
            // 6 % wider than the spreadsheet's whole pixels; a font of other widths prints a
            // third wider or more. Within a point of the width the spreadsheet shows.
            const double dWidth = ColumnPoints(Width(lCol - 1));
            EXPECT_NEAR(std::max(std::fabs(b.dX - a.dX), std::fabs(b.dY - a.dY)), dWidth, 1.0)
                << c.sLocale << ": column " << lCol - 1;
        }
        EXPECT_GE(nCompared, 4) << c.sLocale;
        const std::string sInfo = Output("pdfinfo '" + oPdf.string() + "'");
        EXPECT_TRUE(
            std::regex_search(sInfo, std::regex(std::string("Pages:\\s+") + c.sPages + "\\n")))
            << c.sLocale << "\n"
            << sInfo;
        std::error_code ec;
        fs::remove(oPdf, ec);
    }
}

TEST_F(ActionPrintTest, WithoutSettingsTheDefaultPrinterPrints)
{
    const std::string sFile =
        SaveReport("tvdefault" + std::to_string(::getpid()) + ".csv", "a;b", 0);
    oAction.GetPrintAction()->Execute();
    const int lJob = BackgroundJob(kNullQueue, Title(sFile));
    ASSERT_GT(lJob, 0);
    EXPECT_EQ(printing::testing::WaitForJob(kNullQueue, lJob, std::chrono::seconds(60)),
              IPP_JSTATE_COMPLETED);
    ExpectPrinterSetupUnchanged();
}

TEST_F(ActionPrintTest, MissingPrinterIsReportedAndNothingPrinted)
{
    const std::string sFile = SaveReport("tvmissing" + std::to_string(::getpid()) + ".csv", "a", 0);
    // The view keeps the settings of a printer that has been removed since.
    auto oSettings = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oSettings, nullptr);
    printer::detail::PrinterSettingsAccess::SetPrinterName(*oSettings, "NoSuchPrinter-4711");
    oAction.GetPrintAction()->SetPrinterSettings(oSettings);
    NoticeRecorder oNotices;
    const auto oError = Raised([&] { oAction.GetPrintAction()->Execute(); });
    ASSERT_TRUE(oError);
    // The program around hears that the print asked for was not made, and why.
    const auto vNotDone = oNotices.TakeNotDone();
    ASSERT_EQ(vNotDone.size(), 1U);
    EXPECT_EQ(vNotDone[0].detail, oError->Description());
    EXPECT_EQ(oError->Number(), printing::errors::PrinterNotFound);
    EXPECT_NE(oError->Source().find("ActionPrint.Execute"), std::string::npos);
    EXPECT_EQ(BackgroundJob(kPdfQueue, Title(sFile)), 0);
    EXPECT_EQ(BackgroundJob(kNullQueue, Title(sFile)), 0);
    ExpectPrinterSetupUnchanged();
}

TEST_F(ActionPrintTest, NothingIsPrintedWithoutASavedFile)
{
    auto oSettings = oPrinter.GetPrinterSettings(kPdfQueue);
    oAction.GetPrintAction()->SetPrinterSettings(oSettings);
    const int lBefore = NewestJob(kPdfQueue, "");
    EXPECT_NO_THROW(oAction.GetPrintAction()->Execute());
    // Other test programs print to the same queue at the same time, so only a job of no file
    // (an empty title) can have come from here.
    for (const std::string& sTitle : JobTitlesSince(kPdfQueue, lBefore))
        EXPECT_FALSE(sTitle.empty()) << "a job without a file reached the queue";
}

TEST_F(ActionPrintTest, StoredSettingsOfAnInstalledPrinterComeBackFieldByField)
{
    // Every field a value no other field holds, so that a field read from the wrong place shows.
    const std::vector<std::string> aFields = {
        "1",       "0", "1",    // active, automatic, print action
        "1",       "1", "3",    // collate, monochrome, copies
        "4",       "2", "5",    // from page, landscape, paper bin
        "2970",    "8", "2100", // paper length, A3, paper width
        kPdfQueue, "2", "-1",   // printer, page range, draft quality
        "90",      "9"};        // scale, to page
    std::string sData;
    for (std::size_t i = 0; i < aFields.size(); ++i)
        sData += (i ? std::string(1, '\0') : std::string()) + aFields[i];
    auto& oPrint = *oAction.GetPrintAction();
    std::string sCopy = sData;
    oPrint.ToObject(sCopy);
    const auto& o = oPrint.PrinterSettings();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->PrinterName(), kPdfQueue);
    EXPECT_TRUE(o->Collate());
    EXPECT_EQ(o->Copies(), 3);
    EXPECT_EQ(o->FromPage(), 4);
    EXPECT_EQ(o->ToPage(), 9);
    EXPECT_EQ(o->PaperLength(), 2970);
    EXPECT_EQ(o->PaperWidth(), 2100);
    EXPECT_EQ(o->ScaleOutput(), 90);
    EXPECT_EQ(oPrint.ToString(), sData);
}

TEST_F(ActionPrintTest, PickingKeepsTheOldSettingsOnCancelAndTakesTheChoiceOnOk)
{
    auto& driver = pf::Driver::current();
    driver.QueueDialog([](pf::CommonDialog&) { return false; });
    oAction.GetPrintAction()->PickPrinterSettings();
    EXPECT_EQ(oAction.GetPrintAction()->PrinterSettings(), nullptr);

    auto oOld = oPrinter.GetPrinterSettings(kPdfQueue);
    oAction.GetPrintAction()->SetPrinterSettings(oOld);
    driver.QueueDialog([](pf::CommonDialog&) { return false; });
    oAction.GetPrintAction()->PickPrinterSettings();
    EXPECT_EQ(oAction.GetPrintAction()->PrinterSettings(), oOld);

    driver.QueueDialog([](pf::CommonDialog& d) {
        auto& print = dynamic_cast<pf::PrintDialog&>(d);
        print.copies = 3;
        print.orientation = 2;
        return true;
    });
    oAction.GetPrintAction()->PickPrinterSettings();
    const auto& oNew = oAction.GetPrintAction()->PrinterSettings();
    ASSERT_NE(oNew, nullptr);
    EXPECT_NE(oNew, oOld);
    EXPECT_EQ(oNew->PrinterName(), kPdfQueue);
    EXPECT_EQ(oNew->Copies(), 3);
    EXPECT_EQ(oNew->Orientation(), printer::DMORIENT_LANDSCAPE);
    ExpectPrinterSetupUnchanged();
}

} // namespace
} // namespace actions::test
