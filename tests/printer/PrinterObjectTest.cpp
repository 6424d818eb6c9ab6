#include "printer/PrinterObject.h"

#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "printer/detail/PrinterSettingsAccess.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace printer {
namespace {

namespace fs = std::filesystem;
namespace printing = platform::printing;
using printing::testing::kNullQueue;
using printing::testing::kPdfQueue;

constexpr const char* kMissing = "NoSuchPrinter-4711";

class PrinterObjectTest : public printing::testing::CupsFixture
{
protected:
    static std::string Lower(std::string s)
    {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    }

    // Stores what the print commands could have set and the system cannot say: letter paper,
    // a resolution in dots per inch and a printer-specific tray.
    static void StoreForeignSettings(const std::string& queue)
    {
        printing::DeviceMode dm;
        dm.fields = printing::fields::PaperSize | printing::fields::PrintQuality |
                    printing::fields::DefaultSource;
        dm.paperSize = 1;
        dm.printQuality = 600;
        dm.defaultSource = 259;
        printing::Spooler().WriteDeviceMode(queue, dm);
    }

    PrinterObject oPrinter;
};

TEST_F(PrinterObjectTest, ListsTheInstalledPrinters)
{
    const auto colPrinters = oPrinter.GetPrinters();
    const auto vNames = printing::Spooler().PrinterNames();
    ASSERT_EQ(colPrinters.Count(), static_cast<std::int32_t>(vNames.size()));
    for (std::int32_t i = 1; i <= colPrinters.Count(); ++i)
        EXPECT_EQ(colPrinters.Item(i), vNames[static_cast<std::size_t>(i - 1)]) << "in order";
    EXPECT_NE(std::find(colPrinters.begin(), colPrinters.end(), kPdfQueue), colPrinters.end());
    EXPECT_NE(std::find(colPrinters.begin(), colPrinters.end(), kNullQueue), colPrinters.end());
}

TEST_F(PrinterObjectTest, MissingPrinterGivesNothingWithoutError)
{
    EXPECT_EQ(oPrinter.GetPrinterSettings(kMissing), nullptr);
    EXPECT_EQ(oPrinter.GetPrinterSettings(""), nullptr);
}

TEST_F(PrinterObjectTest, ReadingNormalisesThePrintersValuesAndKeepsTheNameAsPassed)
{
    StoreForeignSettings(kNullQueue);
    const std::string sAsPassed = Lower(kNullQueue);
    const auto oSettings = oPrinter.GetPrinterSettings(sAsPassed);
    ASSERT_NE(oSettings, nullptr);
    EXPECT_EQ(oSettings->PrinterName(), sAsPassed);
    EXPECT_EQ(oSettings->PaperSize(), DMPAPER_A4);
    EXPECT_EQ(oSettings->Quality(), DMRES_MEDIUM);
    EXPECT_EQ(oSettings->PaperBin(), DMBIN_UPPER);
    EXPECT_EQ(oSettings->PrintWhat(), DMPAGES_ALL);
    EXPECT_EQ(oSettings->FromPage(), 0);
    EXPECT_EQ(oSettings->ToPage(), 0);
}

TEST_F(PrinterObjectTest, ReadingNeedsNoStoredSettings)
{
    ASSERT_FALSE(fs::exists(OptionsFile()));
    const auto oSettings = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oSettings, nullptr);
    EXPECT_EQ(oSettings->Copies(), 1);
    EXPECT_EQ(oSettings->ScaleOutput(), 100);
    EXPECT_FALSE(fs::exists(OptionsFile())) << "reading must not write";
}

TEST_F(PrinterObjectTest, WrittenSettingsReadBack)
{
    auto oSettings = oPrinter.GetPrinterSettings(kNullQueue);
    ASSERT_NE(oSettings, nullptr);
    oSettings->SetCollate(true);
    oSettings->SetColor(DMCOLOR_MONOCHROME);
    oSettings->SetCopies(3);
    oSettings->SetOrientation(DMORIENT_LANDSCAPE);
    oSettings->SetPaperBin(DMBIN_CASSETTE); // no print server counterpart
    oSettings->SetPaperLength(2970);        // neither
    oSettings->SetPaperSize(DMPAPER_A2);
    oSettings->SetPaperWidth(-1);
    oSettings->SetQuality(DMRES_LOW); // prints as draft, kept exactly
    oSettings->SetScaleOutput(0);     // no print server counterpart
    oSettings->SetPrintWhat(DMPAGES_PAGENUM);
    oSettings->SetFromPage(2);
    EXPECT_TRUE(oPrinter.SetPrinterSettings(oSettings));

    const auto oBack = PrinterObject().GetPrinterSettings(kNullQueue);
    ASSERT_NE(oBack, nullptr);
    EXPECT_TRUE(oBack->Collate());
    EXPECT_EQ(oBack->Color(), DMCOLOR_MONOCHROME);
    EXPECT_EQ(oBack->Copies(), 3);
    EXPECT_EQ(oBack->Orientation(), DMORIENT_LANDSCAPE);
    EXPECT_EQ(oBack->PaperBin(), DMBIN_CASSETTE);
    EXPECT_EQ(oBack->PaperLength(), 2970);
    EXPECT_EQ(oBack->PaperSize(), DMPAPER_A2);
    EXPECT_EQ(oBack->PaperWidth(), -1);
    EXPECT_EQ(oBack->Quality(), DMRES_LOW);
    EXPECT_EQ(oBack->ScaleOutput(), 0);
    // The print range belongs to the dialog, not to the printer.
    EXPECT_EQ(oBack->PrintWhat(), DMPAGES_ALL);
    EXPECT_EQ(oBack->FromPage(), 0);

    const std::string sStored = ReadFile(OptionsFile());
    EXPECT_NE(sStored.find("media=A2"), std::string::npos) << sStored;
    EXPECT_NE(sStored.find("print-color-mode=monochrome"), std::string::npos) << sStored;
}

TEST_F(PrinterObjectTest, EmptyPrinterNameWritesNothing)
{
    auto oSettings = std::make_shared<PrinterSettings>();
    oSettings->SetCopies(9);
    EXPECT_FALSE(oPrinter.SetPrinterSettings(oSettings));
    EXPECT_FALSE(fs::exists(OptionsFile()));
}

TEST_F(PrinterObjectTest, WritingToAMissingPrinterRaisesWithTheSourceChain)
{
    // A view keeps settings whose printer has been removed since.
    auto oSettings = std::make_shared<PrinterSettings>();
    detail::PrinterSettingsAccess::SetPrinterName(*oSettings, kMissing);
    try {
        oPrinter.SetPrinterSettings(oSettings);
        FAIL() << "writing to a missing printer must raise";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), printing::errors::PrinterNotFound);
        EXPECT_NE(e.Description().find(kMissing), std::string::npos) << e.Description();
        EXPECT_EQ(e.Source(), "Wicket; Wicket.modPrinter.SetPrinterSettings (20); "
                              "Wicket.PrinterObject.SetPrinterSettings (20)");
    }
    EXPECT_FALSE(fs::exists(OptionsFile())) << "nothing may be written";
}

TEST_F(PrinterObjectTest, WritingNoSettingsObjectRaises)
{
    try {
        oPrinter.SetPrinterSettings(nullptr);
        FAIL() << "no settings object must raise";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), platform::runtime::errors::ObjectNotSet);
        EXPECT_EQ(e.Source(), "Wicket; Wicket.PrinterObject.SetPrinterSettings (10)");
    }
}

TEST_F(PrinterObjectTest, RestoringAfterAPrintPutsBackExactlyWhatWasStored)
{
    StoreForeignSettings(kNullQueue);
    const std::string sBefore = ReadFile(OptionsFile());

    // The print action: save the printer's settings, write the view's, print, restore.
    const auto oSaved = oPrinter.GetPrinterSettings(kNullQueue);
    ASSERT_NE(oSaved, nullptr);
    auto oView = oPrinter.GetPrinterSettings(kNullQueue);
    ASSERT_NE(oView, nullptr);
    oView->SetPaperSize(DMPAPER_A3);
    oView->SetOrientation(DMORIENT_LANDSCAPE);
    oView->SetCopies(2);
    oView->SetQuality(DMRES_HIGH);
    oView->SetPaperBin(DMBIN_LOWER);
    ASSERT_TRUE(oPrinter.SetPrinterSettings(oView));
    const auto oDuring = printing::Spooler().ReadDeviceMode(kNullQueue);
    ASSERT_TRUE(oDuring.has_value());
    EXPECT_EQ(oDuring->paperSize, 8);
    EXPECT_EQ(oDuring->orientation, 2);
    EXPECT_EQ(oDuring->copies, 2);
    EXPECT_EQ(oDuring->printQuality, -4);
    EXPECT_EQ(oDuring->defaultSource, 2);

    ASSERT_TRUE(oPrinter.SetPrinterSettings(oSaved));
    EXPECT_EQ(ReadFile(OptionsFile()), sBefore);
    const auto oAfter = printing::Spooler().ReadDeviceMode(kNullQueue);
    ASSERT_TRUE(oAfter.has_value());
    EXPECT_EQ(oAfter->paperSize, 1) << "letter, not the normalised A4";
    EXPECT_EQ(oAfter->printQuality, 600) << "600 dpi, not the normalised medium quality";
    EXPECT_EQ(oAfter->defaultSource, 259) << "the printer's own tray, not the upper bin";
}

TEST_F(PrinterObjectTest, FieldsSetAfterReadingAreWrittenTheOthersStayAsStored)
{
    StoreForeignSettings(kNullQueue);
    auto oSettings = oPrinter.GetPrinterSettings(kNullQueue);
    ASSERT_NE(oSettings, nullptr);
    oSettings->SetPaperSize(DMPAPER_A4); // the value it already reads as, but set on purpose
    ASSERT_TRUE(oPrinter.SetPrinterSettings(oSettings));
    const auto oAfter = printing::Spooler().ReadDeviceMode(kNullQueue);
    ASSERT_TRUE(oAfter.has_value());
    EXPECT_EQ(oAfter->paperSize, 9);
    EXPECT_EQ(oAfter->printQuality, 600);
    EXPECT_EQ(oAfter->defaultSource, 259);
}

TEST_F(PrinterObjectTest, SwitchesTheDefaultPrinterAndBack)
{
    const std::string sBefore = oPrinter.GetDefaultPrinter();
    const std::string sOther = sBefore == kNullQueue ? kPdfQueue : kNullQueue;
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(sOther));
    EXPECT_EQ(PrinterObject().GetDefaultPrinter(), sOther);
    if (!sBefore.empty()) {
        ASSERT_TRUE(oPrinter.SetDefaultPrinter(sBefore));
        EXPECT_EQ(PrinterObject().GetDefaultPrinter(), sBefore);
    }
}

TEST_F(PrinterObjectTest, RefusedDefaultPrinterChangesNothing)
{
    const std::string sBefore = oPrinter.GetDefaultPrinter();
    EXPECT_FALSE(oPrinter.SetDefaultPrinter(""));
    EXPECT_FALSE(oPrinter.SetDefaultPrinter(kMissing));
    EXPECT_EQ(oPrinter.GetDefaultPrinter(), sBefore);
    EXPECT_FALSE(fs::exists(OptionsFile()));
}

TEST_F(PrinterObjectTest, PrintsOnAChosenPrinterWithItsSettingsAndRestoresBoth)
{
    // What the print action does around the shell's print verb.
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(kNullQueue));
    const std::string sOldDefault = oPrinter.GetDefaultPrinter();
    const auto oSaved = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oSaved, nullptr);
    auto oView = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oView, nullptr);
    oView->SetOrientation(DMORIENT_LANDSCAPE);
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(kPdfQueue));
    ASSERT_TRUE(oPrinter.SetPrinterSettings(oView));

    const std::string sTitle = "tallyman-printer-" + std::to_string(::getpid());
    const int lJob = printing::Spooler().PrintFile(oPrinter.GetDefaultPrinter(),
                                                   WritePage("report.ps").string(), sTitle);
    ASSERT_TRUE(oPrinter.SetPrinterSettings(oSaved));
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(sOldDefault));

    ASSERT_EQ(printing::testing::WaitForJob(kPdfQueue, lJob, std::chrono::seconds(60)),
              IPP_JSTATE_COMPLETED);
    const fs::path pdf = FindPrintedPdf(sTitle);
    ASSERT_FALSE(pdf.empty()) << "no PDF for " << sTitle;
    EXPECT_EQ(ReadFile(pdf).substr(0, 5), "%PDF-");
    std::error_code ec;
    fs::remove(pdf, ec);

    EXPECT_EQ(oPrinter.GetDefaultPrinter(), kNullQueue);
    const auto oAfter = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oAfter, nullptr);
    EXPECT_EQ(oAfter->Orientation(), DMORIENT_PORTRAIT);
}

} // namespace
} // namespace printer
