#include "platform/printing/PrintableDocument.h"
#include "platform/runtime/Error.h"
#include "tests/platform/ProcessLocale.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
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

// Restores an environment variable at the end of the scope.
struct EnvironmentGuard
{
    const char* sName;
    std::string sOld = std::getenv(sName) ? std::getenv(sName) : "";
    bool bHad = std::getenv(sName) != nullptr;
    ~EnvironmentGuard()
    {
        if (bHad)
            ::setenv(sName, sOld.c_str(), 1);
        else
            ::unsetenv(sName);
    }
};

TEST(PrintableDocumentTest, ARenderThatFailsSaysWhyInTheRunsLanguageAndLeavesNoFolder)
{
    const fs::path dir = fs::temp_directory_path() / ("tvnotrendered" + std::to_string(::getpid()));
    const fs::path bin = dir / "bin";
    const fs::path tmp = dir / "tmp";
    fs::create_directories(bin);
    fs::create_directories(tmp);
    const EnvironmentGuard path{"PATH"};
    const EnvironmentGuard temporary{"TMPDIR"};
    ::setenv("TMPDIR", tmp.c_str(), 1);
    // The programs as the case makes them: missing, failing, or ending well with no PDF.
    const auto Programs = [&](const char* sBody) {
        for (const char* sName : {"soffice", "weasyprint"}) {
            std::error_code ec;
            fs::remove(bin / sName, ec);
            if (sBody == nullptr)
                continue;
            std::ofstream(bin / sName) << "#!/bin/sh\n" << sBody << "\n";
            fs::permissions(bin / sName, fs::perms::owner_all);
        }
    };
    struct Case
    {
        const char* sWhat;
        const char* sProgram; // null: not installed
        const char* sEnglish;
        const char* sGerman;
    };
    const Case cases[] = {
        {"missing", nullptr, "\" is not installed.", "\" ist nicht installiert."},
        {"failing", "exit 3", "\" failed with exit status 3.",
         "\" scheiterte mit dem Exit-Status 3."},
        {"making nothing", "exit 0", ": no {made} file was made.",
         ": es entstand keine {made}-Datei."},
    };
    const fs::path book = dir / "Bericht.xls";
    const fs::path page = dir / "Bericht.html";
    std::ofstream(book) << "not rendered";
    std::ofstream(page) << "<p>not rendered</p>";
    ::setenv("PATH", (bin.string() + ":/usr/bin:/bin").c_str(), 1);
    for (const Case& c : cases) {
        Programs(c.sProgram);
        if (c.sProgram == nullptr)
            ::setenv("PATH", bin.c_str(), 1); // nor the real ones
        for (const fs::path& file : {book, page})
            for (const char* sLocale : {"de-DE", "en-US"}) {
                SCOPED_TRACE(std::string(c.sWhat) + " " + file.filename().string() + " " + sLocale);
                const bool bGerman = std::string(sLocale) == "de-DE";
                try {
                    const PrintableDocument document(file.string(), PageLayout{}, sLocale,
                                                     "/home/anna/Bericht");
                    ADD_FAILURE() << "rendered";
                } catch (const platform::runtime::Error& e) {
                    const std::string sWhy = e.Description();
                    EXPECT_EQ(sWhy.rfind(bGerman ? "\"/home/anna/Bericht\" konnte nicht für den "
                                                   "Druck vorbereitet werden: "
                                                 : "\"/home/anna/Bericht\" could not be made ready "
                                                   "for printing: ",
                                         0),
                              0u)
                        << sWhy;
                    // A binary workbook is made an open one first.
                    std::string sEnd = bGerman ? c.sGerman : c.sEnglish;
                    if (const auto at = sEnd.find("{made}"); at != std::string::npos)
                        sEnd.replace(at, 6, file == book ? ".xlsx" : ".pdf");
                    EXPECT_TRUE(sWhy.size() >= sEnd.size() &&
                                sWhy.compare(sWhy.size() - sEnd.size(), sEnd.size(), sEnd) == 0)
                        << sWhy;
                }
                EXPECT_TRUE(fs::is_empty(tmp)) << "a temporary folder stayed";
            }
    }
    // A workbook of the open format is laid out before it is rendered.
    const fs::path package = dir / "Bericht.xlsx";
    std::ofstream(package) << "no package";
    try {
        const PrintableDocument document(package.string(), PageLayout{}, "de-DE", "Bericht");
        ADD_FAILURE() << "rendered";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Description(), "\"Bericht\" konnte nicht für den Druck vorbereitet werden: "
                                   "seine Seiteneinrichtung lässt sich nicht schreiben.");
    }
    EXPECT_TRUE(fs::is_empty(tmp)) << "a temporary folder stayed";
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
} // namespace platform::printing
