#include "platform/printing/PrintableDocument.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <unistd.h>

namespace platform::printing {
namespace {

namespace fs = std::filesystem;

using platform::printing::testing::Output;

TEST(PrintableDocumentTest, PagesAreRenderedOnThePaperAndInTheOrientationOfTheLayout)
{
    if (Output("command -v weasyprint").empty())
        GTEST_SKIP() << "no HTML renderer";
    const fs::path dir = fs::temp_directory_path() / ("tvprintable" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path page = dir / "page.html";
    std::ofstream(page) << "<html><body><p>Bericht</p></body></html>";
    struct Case
    {
        std::int16_t iPaper;
        std::int16_t iOrientation;
        double dWidth; // points
        double dHeight;
    };
    for (const Case& c :
         {Case{9, 2, 841.9, 595.3}, Case{11, 1, 419.5, 595.3}, Case{11, 2, 595.3, 419.5}}) {
        PageLayout layout;
        layout.paperSize = c.iPaper;
        layout.orientation = c.iOrientation;
        const PrintableDocument document(page.string(), layout, "de-DE");
        ASSERT_TRUE(document.rendered());
        const std::string sInfo = Output("pdfinfo '" + document.path() + "'");
        std::smatch m;
        ASSERT_TRUE(std::regex_search(sInfo, m, std::regex("Page size:\\s+([0-9.]+) x ([0-9.]+)")))
            << sInfo;
        EXPECT_NEAR(std::stod(m[1]), c.dWidth, 1.0) << c.iPaper << "/" << c.iOrientation;
        EXPECT_NEAR(std::stod(m[2]), c.dHeight, 1.0) << c.iPaper << "/" << c.iOrientation;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
} // namespace platform::printing
