#include "platform/printing/PrintDialog.h"

#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

namespace platform::printing {
namespace {

namespace pf = platform::forms;
using testing::CupsFixture;
using testing::kNullQueue;
using testing::kPdfQueue;

class PrintDialogTest : public CupsFixture
{
protected:
    void SetUp() override
    {
        CupsFixture::SetUp();
        pf::Driver::current().Reset();
    }
    void TearDown() override
    {
        pf::Driver::current().Reset();
        CupsFixture::TearDown();
    }
    // Queues an answer that records the dialog as it opened and then changes it.
    void Answer(std::function<void(pf::PrintDialog&)> change, bool ok = true)
    {
        pf::Driver::current().QueueDialog([this, change, ok](pf::CommonDialog& dialog) {
            auto& print = dynamic_cast<pf::PrintDialog&>(dialog);
            opened = print;
            change(print);
            return ok;
        });
    }
    Spooler spooler;
    pf::PrintDialog opened;
};

TEST_F(PrintDialogTest, OpensOnTheDefaultPrinterWithItsStoredSettingsAndPresets)
{
    ASSERT_TRUE(spooler.SetDefaultPrinter(kNullQueue));
    DeviceMode stored;
    stored.fields = fields::Orientation | fields::PaperSize;
    stored.orientation = 2;
    stored.paperSize = 8;
    spooler.WriteDeviceMode(kNullQueue, stored);

    PrintDialogRecord request;
    request.flags = printflags::DisablePrintToFile | printflags::PageNums | printflags::Collate;
    request.fromPage = 2;
    request.toPage = 4;
    request.maxPage = 65534;
    request.copies = 3;
    Answer([](pf::PrintDialog&) {});
    const auto result = ShowPrintDialog(request, spooler);
    ASSERT_TRUE(result);
    EXPECT_EQ(opened.printer, kNullQueue);
    EXPECT_EQ(opened.orientation, 2);
    EXPECT_EQ(opened.paperSize, 8);
    EXPECT_EQ(opened.copies, 3);
    EXPECT_TRUE(opened.collate);
    EXPECT_EQ(opened.range, pf::PrintRange::Pages);
    EXPECT_EQ(opened.fromPage, 2);
    EXPECT_EQ(opened.toPage, 4);
    EXPECT_FALSE(opened.printToFileEnabled);

    EXPECT_EQ(result->deviceMode.deviceName, kNullQueue);
    EXPECT_EQ(result->deviceMode.fields, fields::All);
    EXPECT_EQ(result->deviceMode.copies, 3);
    EXPECT_EQ(result->deviceMode.collate, 1);
    EXPECT_EQ(result->record.copies, 1); // the copies travel in the device mode
    EXPECT_EQ(result->record.flags & printflags::PageNums, printflags::PageNums);
    EXPECT_EQ(result->record.fromPage, 2);
    EXPECT_EQ(result->record.toPage, 4);
}

TEST_F(PrintDialogTest, ReturnsThePersonsChoices)
{
    struct Case
    {
        const char* name;
        std::function<void(pf::PrintDialog&)> change;
        std::function<void(const PrintDialogResult&)> check;
    };
    const std::vector<Case> cases = {
        {"selection", [](pf::PrintDialog& d) { d.range = pf::PrintRange::Selection; },
         [](const PrintDialogResult& r) {
             EXPECT_EQ(r.record.flags & (printflags::Selection | printflags::PageNums),
                       printflags::Selection);
             EXPECT_EQ(r.record.fromPage, 0);
         }},
        {"pages",
         [](pf::PrintDialog& d) {
             d.range = pf::PrintRange::Pages;
             d.fromPage = 3;
             d.toPage = 7;
         },
         [](const PrintDialogResult& r) {
             EXPECT_EQ(r.record.flags & printflags::PageNums, printflags::PageNums);
             EXPECT_EQ(r.record.fromPage, 3);
             EXPECT_EQ(r.record.toPage, 7);
         }},
        {"page settings",
         [](pf::PrintDialog& d) {
             d.SelectPrinter(kPdfQueue);
             d.copies = 2;
             d.collate = false;
             d.orientation = 2;
             d.paperSize = 1;
             d.paperLength = 2794;
             d.paperWidth = 2159;
             d.paperSource = 15;
             d.color = 1;
             d.quality = -4;
             d.scale = 75;
         },
         [](const PrintDialogResult& r) {
             const auto& m = r.deviceMode;
             EXPECT_EQ(m.deviceName, kPdfQueue);
             EXPECT_EQ(m.copies, 2);
             EXPECT_EQ(m.collate, 0);
             EXPECT_EQ(r.record.flags & printflags::Collate, 0u);
             EXPECT_EQ(m.orientation, 2);
             EXPECT_EQ(m.paperSize, 1);
             EXPECT_EQ(m.paperLength, 2794);
             EXPECT_EQ(m.paperWidth, 2159);
             EXPECT_EQ(m.defaultSource, 15);
             EXPECT_EQ(m.color, 1);
             EXPECT_EQ(m.printQuality, -4);
             EXPECT_EQ(m.scale, 75);
         }},
    };
    PrintDialogRecord request;
    request.flags = printflags::DisablePrintToFile | printflags::Collate;
    request.maxPage = 65534;
    for (const auto& c : cases) {
        Answer(c.change);
        const auto result = ShowPrintDialog(request, spooler);
        ASSERT_TRUE(result) << c.name;
        c.check(*result);
    }
}

TEST_F(PrintDialogTest, CancelGivesNothingAndWrongAnswersAreRefused)
{
    PrintDialogRecord request;
    Answer([](pf::PrintDialog&) {}, false);
    EXPECT_FALSE(ShowPrintDialog(request, spooler));
    Answer([](pf::PrintDialog& d) { d.printer = "NoSuchPrinter-4711"; });
    EXPECT_THROW(ShowPrintDialog(request, spooler), platform::runtime::Error);
    // No page range was offered.
    Answer([](pf::PrintDialog& d) {
        d.range = pf::PrintRange::Pages;
        d.fromPage = 1;
        d.toPage = 1;
    });
    EXPECT_THROW(ShowPrintDialog(request, spooler), platform::runtime::Error);
}

TEST_F(PrintDialogTest, PresetOpensOnItsPrinterWithoutStoringIt)
{
    ASSERT_TRUE(spooler.SetDefaultPrinter(kNullQueue));
    const std::string before = ReadFile(OptionsFile());
    PrintDialogRecord request;
    request.copies = 2;
    DeviceMode preset;
    preset.deviceName = "tallymanpdf"; // any letter case names the queue
    preset.fields = fields::Orientation | fields::PaperSize | fields::Scale;
    preset.orientation = 2;
    preset.paperSize = 11;
    preset.scale = 80;
    request.preset = preset;
    Answer([](pf::PrintDialog&) {});
    const auto result = ShowPrintDialog(request, spooler);
    ASSERT_TRUE(result);
    EXPECT_EQ(opened.printer, kPdfQueue);
    EXPECT_EQ(opened.orientation, 2);
    EXPECT_EQ(opened.paperSize, 11);
    EXPECT_EQ(opened.scale, 80);
    EXPECT_EQ(opened.copies, 2);
    EXPECT_EQ(result->deviceMode.deviceName, kPdfQueue);
    // Nothing was stored for the preset: neither options nor the default printer.
    EXPECT_EQ(ReadFile(OptionsFile()), before);
    EXPECT_EQ(spooler.DefaultPrinterName(), kNullQueue);

    // A preset printer that is gone is refused before anything is shown.
    request.preset->deviceName = "NoSuchPrinter-4711";
    pf::Driver::current().Reset();
    try {
        ShowPrintDialog(request, spooler);
        ADD_FAILURE() << "no error for a missing printer";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), errors::PrinterNotFound);
    }
    EXPECT_TRUE(pf::Driver::current().Dialogs().empty());
}

TEST(PrintDialogNameTest, LongPrinterNamesAreCutToTheDeviceNameField)
{
    struct Case
    {
        std::string name;
        std::string field;
    };
    const std::vector<Case> cases = {
        {"TallymanPDF", "TallymanPDF"},
        {std::string(31, 'a'), std::string(31, 'a')},
        {"Abteilungsdrucker-im-zweiten-Stock-Farbe", "Abteilungsdrucker-im-zweiten-St"},
        // Never half a character: "ü" takes two bytes at 30 and 31.
        {std::string(30, 'x') + "\xc3\xbc" + "y", std::string(30, 'x')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeviceFieldName(c.name), c.field) << c.name;
}

} // namespace
} // namespace platform::printing
