#include "platform/printing/BackgroundPrint.h"

#include "platform/locale/Locale.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace platform::printing {
namespace {

namespace fs = std::filesystem;
using testing::CupsFixture;
using testing::kNullQueue;
using testing::kPdfQueue;

TEST(LaidOverTest, TheJobsFlaggedPageFieldsWinTheOthersStayAsStored)
{
    DeviceMode stored;
    stored.fields = fields::All;
    stored.orientation = 1;
    stored.paperSize = 9;
    stored.paperLength = 2970;
    stored.paperWidth = 2100;
    stored.scale = 100;
    stored.copies = 2;
    struct Case
    {
        const char* name;
        std::uint32_t flags;
        // orientation, paper size, length, width, scale of the result
        std::int16_t orientation, paperSize, paperLength, paperWidth, scale;
    };
    for (const Case& c : std::vector<Case>{
             {"nothing flagged", 0, 1, 9, 2970, 2100, 100},
             {"orientation", fields::Orientation, 2, 9, 2970, 2100, 100},
             {"paper size", fields::PaperSize, 1, 256, 2970, 2100, 100},
             // A custom paper from the print dialog: its length and width are not the same.
             {"custom paper", fields::PaperSize | fields::PaperLength | fields::PaperWidth, 1, 256,
              2800, 1500, 100},
             {"length only", fields::PaperLength, 1, 9, 2800, 2100, 100},
             {"width only", fields::PaperWidth, 1, 9, 2970, 1500, 100},
             {"scale", fields::Scale, 1, 9, 2970, 2100, 75},
             {"all", fields::All, 2, 256, 2800, 1500, 75},
         }) {
        SCOPED_TRACE(c.name);
        DeviceMode job;
        job.fields = c.flags;
        job.orientation = 2;
        job.paperSize = 256;
        job.paperLength = 2800;
        job.paperWidth = 1500;
        job.scale = 75;
        job.copies = 5;
        const DeviceMode laid = LaidOver(stored, job);
        EXPECT_EQ(laid.orientation, c.orientation);
        EXPECT_EQ(laid.paperSize, c.paperSize);
        EXPECT_EQ(laid.paperLength, c.paperLength);
        EXPECT_EQ(laid.paperWidth, c.paperWidth);
        EXPECT_EQ(laid.scale, c.scale);
        // Copies go to the print server with the job; the page does not depend on them.
        EXPECT_EQ(laid.copies, 2);
        const PageLayout page = PageLayout::Of(laid);
        EXPECT_EQ(page.paperLength, c.paperLength);
        EXPECT_EQ(page.paperWidth, c.paperWidth);
    }
}

class BackgroundPrintTest : public CupsFixture
{
protected:
    void TearDown() override
    {
        platform::locale::SetCurrent("en-US");
        CupsFixture::TearDown();
    }
};

TEST_F(BackgroundPrintTest, ThePageIsTheQueuesWithTheJobsSettingsLaidOver)
{
    DeviceMode stored;
    stored.fields = fields::Orientation | fields::PaperSize;
    stored.orientation = 2;
    stored.paperSize = 11; // A5
    Spooler().WriteDeviceMode(kPdfQueue, stored);

    PrintRequest request;
    request.printer = kPdfQueue;
    EXPECT_EQ(PreparePrint(request).page.paperSize, 11);
    EXPECT_EQ(PreparePrint(request).page.orientation, 2);

    DeviceMode job;
    job.fields = fields::PaperSize | fields::PaperLength | fields::PaperWidth;
    job.paperSize = 256;
    job.paperLength = 2500;
    job.paperWidth = 1200;
    request.jobSettings = job;
    const PageLayout page = PreparePrint(request).page;
    EXPECT_EQ(page.paperSize, 256);
    EXPECT_EQ(page.paperLength, 2500);
    EXPECT_EQ(page.paperWidth, 1200);
    EXPECT_EQ(page.orientation, 2);

    request.printer = "NoSuchQueueAnywhere";
    try {
        PreparePrint(request);
        ADD_FAILURE() << "no error for a missing queue";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), errors::PrinterNotFound);
    }
}

TEST_F(BackgroundPrintTest, AWorkbookRendersInTheLocaleOfTheRunWhenItWasPrinted)
{
    // An office suite that notes the locale of the profile it is given, and the folders it
    // works in with their permissions (the print's folder above the profile, the copy's folder
    // above the document), then fails, so that nothing reaches the queue.
    const fs::path bin = data() / "bin";
    fs::create_directories(bin);
    const fs::path noted = data() / "locales";
    const fs::path folders = data() / "folders";
    {
        std::ofstream script(bin / "soffice");
        script << "#!/bin/sh\n"
               << "for a in \"$@\"; do case \"$a\" in -env:UserInstallation=file://*)\n"
               << "  p=\"${a#-env:UserInstallation=file://}\"\n"
               << "  sed -n 's:.*<value>\\(.*\\)</value>.*:\\1:p' "
                  "\"$p/user/registrymodifications.xcu\" >> '"
               << noted.string() << "'\n"
               << "  d=$(dirname \"$p\"); echo \"$(stat -c %a \"$d\") $d\" >> '" << folders.string()
               << "';;\n"
               << "esac; s=\"$a\"; done\n"
               << "d=$(dirname \"$s\"); echo \"$(stat -c %a \"$d\") $d\" >> '" << folders.string()
               << "'\n"
               << "exit 1\n";
    }
    fs::permissions(bin / "soffice", fs::perms::owner_all);
    const std::string sPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    struct PathGuard
    {
        std::string sOld;
        ~PathGuard() { ::setenv("PATH", sOld.c_str(), 1); }
    } guard{sPath};
    ::setenv("PATH", (bin.string() + ":" + sPath).c_str(), 1);

    const fs::path book = data() / "Bericht.xls";
    std::ofstream(book) << "not rendered";
    TakeBackgroundPrintFailures();
    for (const char* sLocale : {"de-DE", "en-US"}) {
        SCOPED_TRACE(sLocale);
        std::error_code ec;
        fs::remove(noted, ec);
        fs::remove(folders, ec);
        platform::locale::SetCurrent(sLocale);
        PrintRequest request;
        request.printer = kNullQueue;
        request.file = book.string();
        PrintInBackground(request);
        // The run may change its locale while the copy is rendered: the print keeps its own.
        platform::locale::SetCurrent(std::string(sLocale) == "de-DE" ? "en-US" : "de-DE");
        WaitForBackgroundPrints();
        std::ifstream in(noted);
        std::string sNoted;
        std::getline(in, sNoted);
        EXPECT_EQ(sNoted, sLocale);
        // The failure names the file and the queue; nobody else is told here.
        const auto failures = TakeBackgroundPrintFailures();
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0].file, book.string());
        EXPECT_EQ(failures[0].printer, kNullQueue);
        // Why, in the language of the run that asked, naming the file asked for and not
        // its copy.
        const std::string& sWhy = failures[0].reason;
        const bool bGerman = std::string(sLocale) == "de-DE";
        EXPECT_NE(sWhy.find("\"" + book.string() + "\""), std::string::npos) << sWhy;
        EXPECT_NE(sWhy.find(bGerman ? " konnte nicht für den Druck vorbereitet werden: "
                                    : " could not be made ready for printing: "),
                  std::string::npos)
            << sWhy;
        EXPECT_NE(
            sWhy.find(bGerman ? "scheiterte mit dem Exit-Status 1" : "failed with exit status 1"),
            std::string::npos)
            << sWhy;
        EXPECT_EQ(sWhy.find("tallyman-"), std::string::npos) << sWhy;
        // The print's folders were the user's alone, and are gone with the failed print.
        std::ifstream seen(folders);
        int nFolders = 0;
        for (std::string sMode, sFolder; seen >> sMode >> sFolder; ++nFolders) {
            EXPECT_EQ(sMode, "700") << sFolder;
            EXPECT_FALSE(fs::exists(sFolder)) << sFolder;
        }
        EXPECT_EQ(nFolders, 2) << "the office suite saw no folders";
    }
}

} // namespace
} // namespace platform::printing
