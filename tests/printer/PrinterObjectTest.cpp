#include "printer/PrinterObject.h"

#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"
#include "platform/printing/PrintDialog.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "printer/CommDlgs.h"
#include "printer/detail/PrinterSettingsAccess.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

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

class PrinterDialogTest : public PrinterObjectTest
{
protected:
    void SetUp() override
    {
        PrinterObjectTest::SetUp();
        platform::forms::Driver::current().Reset();
    }
    void TearDown() override
    {
        platform::forms::Driver::current().Reset();
        PrinterObjectTest::TearDown();
    }
    // Queues an answer that records the dialog as it opened, then changes it.
    void Answer(std::function<void(platform::forms::PrintDialog&)> change, bool bOk = true)
    {
        platform::forms::Driver::current().QueueDialog(
            [this, change, bOk](platform::forms::CommonDialog& dialog) {
                auto& print = dynamic_cast<platform::forms::PrintDialog&>(dialog);
                opened = print;
                change(print);
                return bOk;
            });
    }
    platform::forms::PrintDialog opened;
};

TEST_F(PrinterDialogTest, PresetIsShownAndTheAnswersBecomeTheSettings)
{
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(kNullQueue));
    const std::string sStored = ReadFile(OptionsFile());
    auto oPreset = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oPreset, nullptr);
    oPreset->SetOrientation(DMORIENT_LANDSCAPE);
    oPreset->SetPaperSize(DMPAPER_A5);
    oPreset->SetCopies(3);
    oPreset->SetCollate(true);
    oPreset->SetPrintWhat(DMPAGES_PAGENUM);
    oPreset->SetFromPage(2);
    oPreset->SetToPage(5);

    Answer([](platform::forms::PrintDialog& d) {
        d.copies = 4;
        d.paperSize = 8;
    });
    const auto oResult = oPrinter.Dialog(oPreset);
    EXPECT_EQ(opened.printer, kPdfQueue);
    EXPECT_EQ(opened.orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(opened.paperSize, DMPAPER_A5);
    EXPECT_EQ(opened.copies, 3);
    EXPECT_TRUE(opened.collate);
    EXPECT_EQ(opened.range, platform::forms::PrintRange::Pages);
    EXPECT_EQ(opened.fromPage, 2);
    EXPECT_EQ(opened.toPage, 5);
    EXPECT_FALSE(opened.printToFileEnabled);
    ASSERT_NE(oResult, nullptr);
    EXPECT_EQ(oResult->PrinterName(), kPdfQueue);
    EXPECT_EQ(oResult->Copies(), 4);
    EXPECT_EQ(oResult->PaperSize(), DMPAPER_A3);
    EXPECT_EQ(oResult->Orientation(), DMORIENT_LANDSCAPE);
    EXPECT_EQ(oResult->PrintWhat(), DMPAGES_PAGENUM);
    EXPECT_EQ(oResult->FromPage(), 2);
    EXPECT_EQ(oResult->ToPage(), 5);
    // Showing the preset stored nothing.
    EXPECT_EQ(ReadFile(OptionsFile()), sStored);
    EXPECT_EQ(oPrinter.GetDefaultPrinter(), kNullQueue);

    // Cancel gives nothing and stores nothing either.
    Answer([](platform::forms::PrintDialog& d) { d.copies = 9; }, false);
    EXPECT_EQ(oPrinter.Dialog(oPreset), nullptr);
    EXPECT_EQ(ReadFile(OptionsFile()), sStored);

    // A preset of the selection opens on the selection and keeps it when confirmed.
    oPreset->SetPrintWhat(DMPAGES_SELECTION);
    oPreset->SetFromPage(0);
    oPreset->SetToPage(0);
    Answer([](platform::forms::PrintDialog&) {});
    const auto oSelection = oPrinter.Dialog(oPreset);
    EXPECT_EQ(opened.range, platform::forms::PrintRange::Selection);
    ASSERT_NE(oSelection, nullptr);
    EXPECT_EQ(oSelection->PrintWhat(), DMPAGES_SELECTION);
    EXPECT_EQ(oSelection->FromPage(), 0);
}

TEST_F(PrinterDialogTest, WithoutPresetItOpensOnTheDefaultPrinter)
{
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(kNullQueue));
    Answer(
        [](platform::forms::PrintDialog& d) { d.range = platform::forms::PrintRange::Selection; });
    const auto oResult = oPrinter.Dialog();
    EXPECT_EQ(opened.printer, kNullQueue);
    EXPECT_EQ(opened.copies, 1);
    EXPECT_EQ(opened.maxPage, 65534);
    ASSERT_NE(oResult, nullptr);
    EXPECT_EQ(oResult->PrinterName(), kNullQueue);
    EXPECT_EQ(oResult->PrintWhat(), DMPAGES_SELECTION);
    EXPECT_EQ(oResult->FromPage(), 0);
}

TEST_F(PrinterDialogTest, PresetOnAMissingPrinterRaisesWithoutShowingTheDialog)
{
    auto oPreset = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oPreset, nullptr);
    detail::PrinterSettingsAccess::SetPrinterName(*oPreset, kMissing);
    try {
        oPrinter.Dialog(oPreset);
        ADD_FAILURE() << "no error for a missing printer";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), printing::errors::PrinterNotFound);
        EXPECT_NE(e.Source().find("PrinterObject.Dialog"), std::string::npos) << e.Source();
    }
    EXPECT_TRUE(platform::forms::Driver::current().Dialogs().empty());
}

// A print queue that discards its jobs like the null queue; removed
// again at the end of the test. Adding a queue needs the print administrators' rights:
// without them `added` stays false.
class TemporaryQueue
{
public:
    explicit TemporaryQueue(std::string sName) : name(std::move(sName))
    {
        added = std::system(("lpadmin -p '" + name +
                             "' -E -v file:/dev/null -P /usr/share/ppd/cupsfilters/pxlcolor.ppd"
                             " >/dev/null 2>&1")
                                .c_str()) == 0;
    }
    ~TemporaryQueue() { Remove(); }
    TemporaryQueue(const TemporaryQueue&) = delete;
    TemporaryQueue& operator=(const TemporaryQueue&) = delete;

    void Remove()
    {
        if (added)
            added = std::system(("lpadmin -x '" + name + "' >/dev/null 2>&1").c_str()) != 0;
    }

    const std::string name;
    bool added = false;
};

TEST_F(PrinterDialogTest, NameCutByTheDeviceFieldFindsItsPrinterAndAShortNameOnlyItself)
{
    const std::string sProcess = std::to_string(::getpid());
    TemporaryQueue oLong("TallymanQueueWithANameLongerThanTheDeviceField" + sProcess);
    TemporaryQueue oShort("TallymanShort" + sProcess);
    const TemporaryQueue oShortAndMore(oShort.name + "AndMore");
    if (!oLong.added || !oShort.added || !oShortAndMore.added)
        GTEST_SKIP() << "cannot add print queues (needs the print administrators' rights)";
    ASSERT_GT(oLong.name.size(), printing::kDeviceNameField);
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(kNullQueue));
    struct Case
    {
        std::string sChosen;                    // the printer the dialog reports
        std::string sExpected;                  // the settings' printer; "" for no settings
        std::function<void()> fnMeanwhile = {}; // done while the dialog is open
    };
    const std::vector<Case> aCases = {
        {oLong.name, oLong.name},
        {Lower(oLong.name), oLong.name},
        {oShort.name, oShort.name},
        {kPdfQueue, kPdfQueue},
        // Names the device-name field did not cut stand for the printer of that very name
        // only; without it, for none (the first printer, or one whose name begins with
        // theirs, is never taken instead).
        {"", ""},
        {"Tallyman", ""},
        {oLong.name.substr(0, 20), ""},
        {oShort.name, "", [&] { oShort.Remove(); }},
        {oLong.name, "", [&] { oLong.Remove(); }},
    };
    for (const Case& c : aCases) {
        Answer([&c](platform::forms::PrintDialog& d) {
            // The dialog listed the name: the spooler may know it under other capitals or
            // no more.
            if (std::find(d.printers.begin(), d.printers.end(), c.sChosen) == d.printers.end())
                d.printers.push_back(c.sChosen);
            d.printer = c.sChosen;
            if (c.fnMeanwhile)
                c.fnMeanwhile();
        });
        const auto oResult = oPrinter.Dialog();
        if (c.sExpected.empty()) {
            EXPECT_EQ(oResult, nullptr)
                << "\"" << c.sChosen << "\" gave " << (oResult ? oResult->PrinterName() : "");
            continue;
        }
        ASSERT_NE(oResult, nullptr) << c.sChosen;
        EXPECT_EQ(oResult->PrinterName(), c.sExpected) << c.sChosen;
        if (c.sChosen == oLong.name) {
            // The full name found prints on that queue.
            oPrinter.PrintFile(WritePage("long.ps").string(), oResult);
            const int lJob = printing::testing::BackgroundJob(oLong.name, "long.ps");
            ASSERT_GT(lJob, 0);
            EXPECT_EQ(printing::testing::WaitForJob(oLong.name, lJob, std::chrono::seconds(60)),
                      IPP_JSTATE_COMPLETED);
        }
    }
}

TEST(PrinterDialogResultTest, CopiesComeFromWhereTheDialogReportsThem)
{
    struct Case
    {
        std::uint16_t lDialogCount;
        std::int16_t iDevModeCopies;
        std::int16_t iExpected;
    };
    for (const Case& c : {Case{1, 3, 3}, Case{4, 1, 4}, Case{1, 1, 1}, Case{5, 5, 5}}) {
        printing::PrintDialogResult tResult;
        tResult.record.copies = c.lDialogCount;
        tResult.deviceMode.deviceName = kPdfQueue;
        tResult.deviceMode.copies = c.iDevModeCopies;
        tResult.deviceMode.paperSize = 1; // letter: normalised to A4
        tResult.deviceMode.printQuality = 600;
        const auto oSettings = CommDlgs::SettingsFromDialog(tResult);
        EXPECT_EQ(oSettings->Copies(), c.iExpected) << c.lDialogCount << "/" << c.iDevModeCopies;
        EXPECT_EQ(oSettings->PaperSize(), DMPAPER_A4);
        EXPECT_EQ(oSettings->Quality(), DMRES_MEDIUM);
        EXPECT_EQ(oSettings->PrinterName(), kPdfQueue);
    }
}

TEST_F(PrinterObjectTest, PrintsWithSettingsForTheJobOnly)
{
    ASSERT_TRUE(oPrinter.SetDefaultPrinter(kNullQueue));
    const std::string sStored = ReadFile(OptionsFile());
    auto oView = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oView, nullptr);
    oView->SetOrientation(DMORIENT_LANDSCAPE);
    const std::string sTitle = "tallyman-job-" + std::to_string(::getpid()) + ".ps";
    const fs::path page = WritePage(sTitle);
    oPrinter.PrintFile(page.string(), oView);
    const int lJob = printing::testing::BackgroundJob(kPdfQueue, sTitle);
    ASSERT_GT(lJob, 0);
    ASSERT_EQ(printing::testing::WaitForJob(kPdfQueue, lJob, std::chrono::seconds(60)),
              IPP_JSTATE_COMPLETED);
    // The job went to the chosen printer; the default and the stored options are untouched.
    EXPECT_EQ(oPrinter.GetDefaultPrinter(), kNullQueue);
    EXPECT_EQ(ReadFile(OptionsFile()), sStored);
    EXPECT_EQ(oPrinter.GetPrinterSettings(kPdfQueue)->Orientation(), DMORIENT_PORTRAIT);
    const fs::path pdf = FindPrintedPdf(page.stem().string());
    ASSERT_FALSE(pdf.empty());
    std::error_code ec;
    fs::remove(pdf, ec);

    // Without settings the job goes to the default printer.
    oPrinter.PrintFile(page.string(), nullptr);
    const int lDefaultJob = printing::testing::BackgroundJob(kNullQueue, sTitle);
    ASSERT_GT(lDefaultJob, 0);
    EXPECT_EQ(printing::testing::WaitForJob(kNullQueue, lDefaultJob, std::chrono::seconds(60)),
              IPP_JSTATE_COMPLETED);
}

TEST_F(PrinterObjectTest, PrintingFailuresAreReported)
{
    auto oGone = oPrinter.GetPrinterSettings(kPdfQueue);
    ASSERT_NE(oGone, nullptr);
    detail::PrinterSettingsAccess::SetPrinterName(*oGone, kMissing);
    const fs::path page = WritePage("page.ps");
    struct Case
    {
        std::string sFile;
        std::shared_ptr<PrinterSettings> oSettings;
        std::int32_t lNumber;
    };
    for (const Case& c : {Case{page.string(), oGone, printing::errors::PrinterNotFound},
                          Case{(data() / "missing.csv").string(), nullptr,
                               platform::runtime::errors::FileNotFound}}) {
        try {
            oPrinter.PrintFile(c.sFile, c.oSettings);
            ADD_FAILURE() << "no error for " << c.sFile;
        } catch (const platform::runtime::Error& e) {
            EXPECT_EQ(e.Number(), c.lNumber) << c.sFile;
            EXPECT_NE(e.Source().find("PrinterObject.PrintFile"), std::string::npos);
        }
    }
}

TEST_F(PrinterObjectTest, PrintReturnsAtOnceAndPrintsACopyOfTheFile)
{
    // An HTML renderer that waits until the test lets it go, then renders as the real one.
    const fs::path bin = data() / "bin";
    fs::create_directories(bin);
    const fs::path release = data() / "release";
    const fs::path finished = data() / "finished";
    {
        std::ofstream script(bin / "weasyprint");
        script << "#!/bin/sh\n"
               << "i=0\n"
               << "while [ ! -e '" << release.string() << "' ] && [ $i -lt 300 ]; do\n"
               << "  sleep 0.1; i=$((i+1))\n"
               << "done\n"
               << "/usr/bin/weasyprint \"$@\"\n"
               << "status=$?\n"
               << "touch '" << finished.string() << "'\n"
               << "exit $status\n";
    }
    fs::permissions(bin / "weasyprint", fs::perms::owner_all);
    const std::string sPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    struct PathGuard
    {
        std::string sOld;
        ~PathGuard() { ::setenv("PATH", sOld.c_str(), 1); }
    } oGuard{sPath};
    ::setenv("PATH", (bin.string() + ":" + sPath).c_str(), 1);

    ASSERT_TRUE(oPrinter.SetDefaultPrinter(kNullQueue));
    const std::string sTitle = "tallyman-later-" + std::to_string(::getpid()) + ".html";
    const fs::path page = data() / sTitle;
    std::ofstream(page) << "<html><body><p>Bericht</p></body></html>";
    oPrinter.PrintFile(page.string(), nullptr);
    // Back before the document was made ready; the file may go at once.
    EXPECT_FALSE(fs::exists(finished));
    fs::remove(page);
    std::ofstream(release) << "go";

    const int lJob = printing::testing::BackgroundJob(kNullQueue, sTitle);
    EXPECT_TRUE(fs::exists(finished));
    EXPECT_TRUE(printing::TakeBackgroundPrintFailures().empty());
    ASSERT_GT(lJob, 0);
    EXPECT_EQ(printing::testing::WaitForJob(kNullQueue, lJob, std::chrono::seconds(60)),
              IPP_JSTATE_COMPLETED);
}

} // namespace
} // namespace printer
