#include "platform/printing/Spooler.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace platform::printing {
namespace {

namespace fs = std::filesystem;
using testing::CupsFixture;
using testing::kNullQueue;
using testing::kPdfQueue;

class SpoolerTest : public CupsFixture
{
protected:
    Spooler spooler;
};

TEST_F(SpoolerTest, ListsTheInstalledQueues)
{
    const auto names = spooler.PrinterNames();
    EXPECT_NE(std::find(names.begin(), names.end(), kPdfQueue), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), kNullQueue), names.end());
}

TEST_F(SpoolerTest, UnknownPrinterHasNoSettingsAndCannotBeWritten)
{
    EXPECT_FALSE(spooler.ReadDeviceMode("NoSuchPrinter-4711").has_value());
    DeviceMode dm;
    dm.fields = fields::Copies;
    try {
        spooler.WriteDeviceMode("NoSuchPrinter-4711", dm);
        FAIL() << "writing to a missing printer must raise";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), errors::PrinterNotFound);
        EXPECT_NE(e.Description().find("NoSuchPrinter-4711"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(OptionsFile())) << "nothing may be stored";
    EXPECT_FALSE(spooler.SetDefaultPrinter("NoSuchPrinter-4711"));
}

TEST_F(SpoolerTest, WithoutStoredSettingsThePaperIsThePrintersDefault)
{
    // The printer's default page size as the print commands show it (the starred choice of
    // lpoptions), by a table of the host's paper-size codes.
    const std::pair<const char*, std::int16_t> kCodes[] = {
        {"Letter", 1}, {"Legal", 5}, {"A3", 8}, {"A4", 9}, {"A5", 11}};
    for (const char* sQueue : {kPdfQueue, kNullQueue}) {
        SCOPED_TRACE(sQueue);
        const std::string sOptions =
            testing::Output("LC_ALL=C lpoptions -p " + std::string(sQueue) + " -l");
        const auto at = sOptions.find("PageSize/");
        ASSERT_NE(at, std::string::npos) << sOptions;
        const std::string sLine = sOptions.substr(at, sOptions.find('\n', at) - at);
        const auto star = sLine.find(" *");
        ASSERT_NE(star, std::string::npos) << sLine;
        const std::string sDefault = sLine.substr(star + 2, sLine.find(' ', star + 2) - star - 2);
        const auto code = std::find_if(std::begin(kCodes), std::end(kCodes),
                                       [&](const auto& c) { return sDefault == c.first; });
        ASSERT_NE(code, std::end(kCodes)) << sDefault;
        const auto read = spooler.ReadDeviceMode(sQueue);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->paperSize, code->second) << sDefault;
    }
}

TEST_F(SpoolerTest, StoredSettingsRoundTripAndSurviveANewConnection)
{
    DeviceMode dm;
    dm.fields = fields::All;
    dm.paperSize = 8;
    dm.orientation = 2;
    dm.copies = 3;
    dm.color = 1;
    dm.printQuality = -2;  // no print-quality of its own
    dm.defaultSource = 14; // no media-source of its own
    dm.collate = 1;
    dm.scale = 90;
    dm.paperLength = 2970;
    dm.paperWidth = 2100;
    spooler.WriteDeviceMode(kNullQueue, dm);

    const auto back = Spooler().ReadDeviceMode(kNullQueue);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->deviceName, kNullQueue);
    EXPECT_EQ(back->fields, fields::All);
    EXPECT_EQ(back->paperSize, 8);
    EXPECT_EQ(back->orientation, 2);
    EXPECT_EQ(back->copies, 3);
    EXPECT_EQ(back->color, 1);
    EXPECT_EQ(back->printQuality, -2);
    EXPECT_EQ(back->defaultSource, 14);
    EXPECT_EQ(back->collate, 1);
    EXPECT_EQ(back->scale, 90);
    EXPECT_EQ(back->paperLength, 2970);
    EXPECT_EQ(back->paperWidth, 2100);

    // The settings are the user's, in the user's options file, readable by the print commands.
    const std::string stored = ReadFile(OptionsFile());
    EXPECT_NE(stored.find("media=A3"), std::string::npos) << stored;
    EXPECT_NE(stored.find("orientation-requested=4"), std::string::npos) << stored;
    // The other printer is untouched.
    const auto other = spooler.ReadDeviceMode(kPdfQueue);
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->copies, 1);
    EXPECT_EQ(other->orientation, 1);
}

TEST_F(SpoolerTest, SettingsThatCannotBeStoredRaise)
{
    // The folder of the options file is taken by a file, so nothing can be written there.
    const fs::path folder = OptionsFile().parent_path();
    fs::remove_all(folder);
    std::ofstream(folder) << "in the way";
    struct Cleanup
    {
        fs::path path;
        ~Cleanup() { fs::remove(path); }
    } cleanup{folder};

    DeviceMode dm;
    dm.fields = fields::Copies;
    dm.copies = 4;
    try {
        spooler.WriteDeviceMode(kNullQueue, dm);
        FAIL() << "a failed write must raise";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), errors::SettingsNotStored);
        EXPECT_NE(e.Description().find(kNullQueue), std::string::npos) << e.Description();
    }
    EXPECT_EQ(ReadFile(folder), "in the way");
}

TEST_F(SpoolerTest, NamesAreMatchedWithoutCase)
{
    DeviceMode dm;
    dm.fields = fields::Copies;
    dm.copies = 7;
    std::string lower = kNullQueue;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    spooler.WriteDeviceMode(lower, dm);
    const auto back = spooler.ReadDeviceMode(kNullQueue);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->copies, 7);
    EXPECT_EQ(back->deviceName, kNullQueue) << "the server's spelling";
}

TEST_F(SpoolerTest, WritingBackWhatWasReadRestoresTheStoredSettings)
{
    DeviceMode letter;
    letter.fields = fields::PaperSize | fields::PrintQuality;
    letter.paperSize = 1;
    letter.printQuality = 600;
    spooler.WriteDeviceMode(kPdfQueue, letter);
    const auto saved = spooler.ReadDeviceMode(kPdfQueue);
    ASSERT_TRUE(saved.has_value());
    const std::string before = ReadFile(OptionsFile());

    DeviceMode print = *saved;
    print.paperSize = 9;
    print.printQuality = -4;
    print.copies = 2;
    print.asRead.reset();
    spooler.WriteDeviceMode(kPdfQueue, print);
    ASSERT_NE(ReadFile(OptionsFile()), before);

    spooler.WriteDeviceMode(kPdfQueue, *saved);
    EXPECT_EQ(ReadFile(OptionsFile()), before);
    const auto back = spooler.ReadDeviceMode(kPdfQueue);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->paperSize, 1);
    EXPECT_EQ(back->printQuality, 600);
}

TEST_F(SpoolerTest, WritingSettingsLeavesTheDefaultPrinterAlone)
{
    const std::string before = spooler.DefaultPrinterName();
    DeviceMode dm;
    dm.fields = fields::Copies;
    dm.copies = 2;
    spooler.WriteDeviceMode(kNullQueue, dm);
    EXPECT_EQ(spooler.DefaultPrinterName(), before);
    spooler.WriteDeviceMode(before.empty() ? kPdfQueue : before, dm);
    EXPECT_EQ(Spooler().DefaultPrinterName(), before);
}

TEST_F(SpoolerTest, SwitchesTheDefaultPrinterAndBack)
{
    const std::string before = spooler.DefaultPrinterName();
    const std::string other = before == kNullQueue ? kPdfQueue : kNullQueue;
    ASSERT_TRUE(spooler.SetDefaultPrinter(other));
    EXPECT_EQ(Spooler().DefaultPrinterName(), other);
    if (!before.empty()) {
        ASSERT_TRUE(spooler.SetDefaultPrinter(before));
        EXPECT_EQ(Spooler().DefaultPrinterName(), before);
    }
}

TEST_F(SpoolerTest, PrintsAFileToThePdfQueue)
{
    const std::string title = "tallyman-spooler-" + std::to_string(::getpid());
    const int job = spooler.PrintFile(kPdfQueue, WritePage("page.ps").string(), title);
    ASSERT_GT(job, 0);
    ASSERT_EQ(testing::WaitForJob(kPdfQueue, job, std::chrono::seconds(60)), IPP_JSTATE_COMPLETED);

    const fs::path pdf = FindPrintedPdf(title);
    ASSERT_FALSE(pdf.empty()) << "no PDF for " << title << " in " << testing::CupsPdfOutputFolder();
    EXPECT_EQ(ReadFile(pdf).substr(0, 5), "%PDF-");
    std::error_code ec;
    fs::remove(pdf, ec);
}

TEST_F(SpoolerTest, AJobTheServerRefusesIsToldByItsTitleInTheRunsLanguage)
{
    // A file gone before it reached the server: the job is refused.
    const fs::path gone = data() / "tallyman-job-copy" / "Bericht.csv";
    for (const char* sLocale : {"de-DE", "en-US"}) {
        SCOPED_TRACE(sLocale);
        platform::locale::SetCurrent(sLocale);
        try {
            spooler.PrintFile(kNullQueue, gone.string(), "Bericht.csv");
            ADD_FAILURE() << "the server took a missing file";
        } catch (const platform::runtime::Error& e) {
            EXPECT_EQ(e.Number(), errors::JobNotAccepted);
            const std::string sStart =
                std::string(sLocale) == "de-DE"
                    ? "Der Drucker \"" + std::string(kNullQueue) +
                          "\" hat \"Bericht.csv\" nicht "
                          "angenommen: "
                    : "Printer \"" + std::string(kNullQueue) + "\" did not take \"Bericht.csv\": ";
            EXPECT_EQ(e.Description().rfind(sStart, 0), 0u) << e.Description();
            EXPECT_EQ(e.Description().find("tallyman-job-copy"), std::string::npos)
                << e.Description();
        }
    }
    platform::locale::SetCurrent("en-US");
}

TEST_F(SpoolerTest, PrintingOnAMissingPrinterRaises)
{
    try {
        spooler.PrintFile("NoSuchPrinter-4711", WritePage("page.ps").string(), "x");
        FAIL() << "printing on a missing printer must raise";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), errors::PrinterNotFound);
    }
}

} // namespace
} // namespace platform::printing
