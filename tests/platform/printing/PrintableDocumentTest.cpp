#include "platform/printing/PrintableDocument.h"
#include "tests/platform/ProcessLocale.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>

namespace platform::printing {
namespace {

namespace fs = std::filesystem;

using platform::printing::testing::Output;

// A size in pdfinfo's words ("841.89"); a stream reads in the classic locale, whatever the
// process locale's numbers are.
double Points(const std::string& sText)
{
    std::istringstream in(sText);
    double d = 0;
    in >> d;
    return d;
}

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
    // Also where the process locale writes numbers with a decimal comma, which no style
    // sheet reads.
    for (const char* sProcess : {"C", platformtest::kGermanProcessLocale})
        for (const Case& c :
             {Case{9, 2, 841.9, 595.3}, Case{11, 1, 419.5, 595.3}, Case{11, 2, 595.3, 419.5}}) {
            const platformtest::ProcessLocale oProcess(sProcess);
            ASSERT_TRUE(oProcess.Set()) << sProcess;
            PageLayout layout;
            layout.paperSize = c.iPaper;
            layout.orientation = c.iOrientation;
            const PrintableDocument document(page.string(), layout, "de-DE");
            ASSERT_TRUE(document.rendered());
            const std::string sInfo = Output("pdfinfo '" + document.path() + "'");
            std::smatch m;
            ASSERT_TRUE(
                std::regex_search(sInfo, m, std::regex("Page size:\\s+([0-9.]+) x ([0-9.]+)")))
                << sInfo;
            EXPECT_NEAR(Points(m[1]), c.dWidth, 1.0)
                << c.iPaper << "/" << c.iOrientation << " " << sProcess;
            EXPECT_NEAR(Points(m[2]), c.dHeight, 1.0)
                << c.iPaper << "/" << c.iOrientation << " " << sProcess;
        }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

// The glyphs the PDF's pages show, counted by a reader of its own (Python's zlib over the
// content streams): one four-digit hexadecimal glyph id each in the text arrays.
constexpr const char* kGlyphCounter = R"(import re, sys, zlib
data = open(sys.argv[1], 'rb').read()
glyphs = 0
for stream in re.findall(rb'stream\r?\n(.*?)\r?\nendstream', data, re.S):
    try:
        text = zlib.decompress(stream)
    except zlib.error:
        continue
    for array in re.findall(rb'\[(.*?)\]\s*TJ', text, re.S):
        glyphs += sum(len(h) // 4 for h in re.findall(rb'<([0-9a-fA-F]*)>', array))
print(glyphs)
)";

TEST(PrintableDocumentTest, PagesDrawEachLetterAsAGlyphOfItsOwn)
{
    if (Output("command -v weasyprint").empty())
        GTEST_SKIP() << "no HTML renderer";
    const fs::path dir = fs::temp_directory_path() / ("tvligatures" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "glyphs.py") << kGlyphCounter;
    // Letters that the renderer's fonts join by default ("ff", "fi", "fl"); the page's own
    // style asks for them too.
    const std::string sText = "Betreff offizielle Aufgabe flach";
    const fs::path page = dir / "page.html";
    std::ofstream(page) << "<html><head><style>p { font-variant-ligatures: common-ligatures; }"
                           "</style></head><body><p>"
                        << sText << "</p></body></html>";
    const PrintableDocument document(page.string(), PageLayout{}, "de-DE");
    ASSERT_TRUE(document.rendered());
    const std::string sGlyphs =
        Output("/usr/bin/python3 '" + (dir / "glyphs.py").string() + "' '" + document.path() + "'");
    EXPECT_EQ(sGlyphs, std::to_string(sText.size()) + "\n");
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
} // namespace platform::printing
