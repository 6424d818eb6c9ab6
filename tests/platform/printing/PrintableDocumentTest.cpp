#include "platform/printing/PrintableDocument.h"
#include "platform/runtime/Error.h"
#include "tests/platform/ProcessLocale.h"
#include "tests/platform/printing/CupsFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

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

// A word of the PDF's text and its box, in points from the page's top left corner.
struct Word
{
    std::string sText;
    double dLeft, dTop, dRight, dBottom;
};

std::vector<Word> Words(const std::string& sPdf)
{
    const std::string sBoxes = Output("pdftotext -f 1 -l 1 -bbox '" + sPdf + "' -");
    const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                          "yMax=\"([0-9.]+)\">([^<]*)</word>");
    std::vector<Word> words;
    for (auto it = std::sregex_iterator(sBoxes.begin(), sBoxes.end(), word);
         it != std::sregex_iterator(); ++it)
        words.push_back({(*it)[5], Points((*it)[1]), Points((*it)[2]), Points((*it)[3]),
                         Points((*it)[4])});
    return words;
}

// The first page as pdftoppm draws it, two pixels a point.
struct Picture
{
    static constexpr int kScale = 2;
    int iWidth = 0;
    int iHeight = 0;
    std::string sPixels; // RGB

    static Picture Of(const std::string& sPdf, const fs::path& dir)
    {
        Picture p;
        const fs::path stem = dir / "page";
        Output("pdftoppm -f 1 -l 1 -r " + std::to_string(72 * kScale) + " -singlefile '" + sPdf +
               "' '" + stem.string() + "'");
        std::ifstream in(stem.string() + ".ppm", std::ios::binary);
        std::string sMagic;
        int iMax = 0;
        in >> sMagic >> p.iWidth >> p.iHeight >> iMax;
        in.get();
        p.sPixels.resize(static_cast<std::size_t>(p.iWidth) * p.iHeight * 3);
        in.read(p.sPixels.data(), static_cast<std::streamsize>(p.sPixels.size()));
        if (sMagic != "P6" || iMax != 255 || !in)
            p.iWidth = p.iHeight = 0;
        return p;
    }
    std::array<int, 3> At(int x, int y) const
    {
        const auto i = (static_cast<std::size_t>(y) * iWidth + x) * 3;
        return {static_cast<unsigned char>(sPixels[i]), static_cast<unsigned char>(sPixels[i + 1]),
                static_cast<unsigned char>(sPixels[i + 2])};
    }
    // The pixels inside a word's box.
    std::vector<std::array<int, 3>> In(const Word& w) const
    {
        std::vector<std::array<int, 3>> pixels;
        for (int y = static_cast<int>(w.dTop * kScale); y < w.dBottom * kScale && y < iHeight; ++y)
            for (int x = static_cast<int>(w.dLeft * kScale); x < w.dRight * kScale && x < iWidth;
                 ++x)
                pixels.push_back(At(x, y));
        return pixels;
    }
};

double Lightness(const std::array<int, 3>& c)
{
    return (0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]) / 255.0;
}

// The colour most pixels have: a box's background.
std::array<int, 3> Background(const std::vector<std::array<int, 3>>& pixels)
{
    std::map<std::array<int, 3>, int> counts;
    for (const auto& c : pixels)
        ++counts[c];
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? std::array<int, 3>{} : most->first;
}

std::string ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A report as the report writer fills the bundled sample template: the column widths the
// report window shows, which are narrower than some texts, a caption row, a subtotal row of
// each level and an item row.
std::string SampleReport()
{
    const char* sRoot = std::getenv("TV_SOURCE_DIR");
    std::string sPage =
        ReadAll(fs::path(sRoot ? sRoot : ".") / "resources" / "samples" / "modern.html");
    const std::pair<const char*, int> cols[] = {
        {"left", 20}, {"left", 120}, {"left", 110}, {"right", 49}, {"left", 60}};
    std::string sTable = "\r\n\t\t<colgroup>";
    int iWidth = 0;
    for (const auto& [sAlign, iPixels] : cols) {
        sTable += "\r\n\t\t\t<col style='text-align:" + std::string(sAlign) +
                  "; width:" + std::to_string(iPixels) + "px;' />";
        iWidth += iPixels;
    }
    sTable += "</colgroup>";
    const auto Row = [&](const std::string& sClass, const std::vector<std::string>& cells,
                         bool bSpanFirst) {
        sTable += "\r\n\t\t<tr>";
        for (std::size_t i = 0; i < cells.size(); ++i)
            sTable += "\r\n\t\t\t<td class='" + sClass + "'" +
                      (i == 0 && bSpanFirst ? " colspan='2'" : "") + ">" + cells[i] + "</td>";
        sTable += "</tr>";
    };
    Row("tlv_columnheader", {"Betreff", "Ort", "Dauer", "Kategorie"}, true);
    Row("tlv_subtotal_0", {"Gesamt", "&nbsp;", "1290:30", "&nbsp;"}, true);
    Row("tlv_subtotal_1", {"Monat:", "&nbsp;", "1290:30", "&nbsp;"}, true);
    Row("tlv_subtotal_2", {"Beginn:", "&nbsp;", "1290:30", "&nbsp;"}, true);
    Row("tlv_subtotal_3", {"Woche:", "&nbsp;", "1290:30", "&nbsp;"}, true);
    Row("tlv_cell", {"&nbsp;", "Jourfixe", "Besprechungsraum", "1290:30", "[Prozess]"}, false);
    const std::pair<std::string, std::string> fills[] = {
        {"@tlv_title", "Bericht"},       {"@tlv_title", "Bericht"},
        {"@tlv_reportheader", "<p>Kopf</p>"}, {"@tlv_reportfooter", "<p>Seite 1</p>"},
        {"@tlv_tablewidth", std::to_string(iWidth)}, {"@tlv_report", sTable}};
    for (const auto& [sName, sValue] : fills)
        if (const auto at = sPage.find(sName); at != std::string::npos)
            sPage.replace(at, sName.size(), sValue);
    return sPage;
}

TEST(PrintableDocumentTest, TheSampleTemplatesReportPrintsAsABrowserShowsIt)
{
    if (Output("command -v weasyprint").empty() || Output("command -v pdftoppm").empty())
        GTEST_SKIP() << "no HTML renderer or no PDF reader";
    const fs::path dir = fs::temp_directory_path() / ("tvsample" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path page = dir / "Bericht.html";
    const std::string sReport = SampleReport();
    ASSERT_NE(sReport.find("Besprechungsraum"), std::string::npos);
    std::ofstream(page, std::ios::binary) << sReport;
    const PrintableDocument document(page.string(), PageLayout{}, "de-DE");
    ASSERT_TRUE(document.rendered());
    EXPECT_EQ(ReadAll(page), sReport) << "the report's file was changed";
    const auto words = Words(document.path());
    const Picture picture = Picture::Of(document.path(), dir);
    ASSERT_GT(picture.iWidth, 0);
    const auto Find = [&](const std::string& sText) -> const Word* {
        const auto it = std::find_if(words.begin(), words.end(),
                                     [&](const Word& w) { return w.sText == sText; });
        return it == words.end() ? nullptr : &*it;
    };

    // Every text whole, and no two on a line over each other.
    for (const char* sText : {"Betreff", "Ort", "Dauer", "Kategorie", "Gesamt", "1290:30",
                              "Jourfixe", "Besprechungsraum", "[Prozess]"})
        EXPECT_NE(Find(sText), nullptr) << sText;
    EXPECT_EQ(std::count_if(words.begin(), words.end(),
                            [](const Word& w) { return w.sText == "1290:30"; }),
              5);
    for (const Word& a : words)
        for (const Word& b : words)
            if (&a != &b && std::abs(a.dTop - b.dTop) < 1 && a.dLeft <= b.dLeft) {
                EXPECT_LE(a.dRight, b.dLeft + 0.5) << a.sText << " runs into " << b.sText;
            }

    // The captions: light letters on a dark band, as wide as the table's texts reach.
    const Word* dauer = Find("Dauer");
    ASSERT_NE(dauer, nullptr);
    for (const char* sCaption : {"Betreff", "Ort", "Dauer", "Kategorie"}) {
        const Word* w = Find(sCaption);
        if (w == nullptr)
            continue;
        const auto pixels = picture.In(*w);
        const auto band = Background(pixels);
        EXPECT_LT(Lightness(band), 0.6) << sCaption << " is not on a dark band";
        const auto light = std::count_if(pixels.begin(), pixels.end(), [&](const auto& c) {
            return Lightness(c) > Lightness(band) + 0.3;
        });
        EXPECT_GT(light, static_cast<long>(pixels.size() / 20)) << sCaption << " has no light letters";
    }
    const auto band = Background(picture.In(*dauer));
    const int y = static_cast<int>((dauer->dTop + dauer->dBottom) / 2 * Picture::kScale);
    int iBandRight = 0;
    for (int x = 0; x < picture.iWidth; ++x)
        if (picture.At(x, y) == band)
            iBandRight = x;
    const Word* item = Find("Jourfixe");
    ASSERT_NE(item, nullptr);
    for (const Word& w : words)
        if (w.dTop >= dauer->dTop - 1 && w.dBottom <= item->dBottom + 1) {
            EXPECT_LE(w.dRight * Picture::kScale, iBandRight + 2) << w.sText << " is cut off";
        }

    // Subtotal rows shaded, item rows not.
    const std::array<int, 3> white{255, 255, 255};
    for (const char* sLabel : {"Gesamt", "Monat:", "Beginn:", "Woche:"}) {
        const Word* w = Find(sLabel);
        ASSERT_NE(w, nullptr) << sLabel;
        EXPECT_NE(Background(picture.In(*w)), white) << sLabel << " is not shaded";
    }
    EXPECT_EQ(Background(picture.In(*item)), white);
    std::error_code ec;
    fs::remove_all(dir, ec);
}

TEST(PrintableDocumentTest, APageWhoseCopyIsRenderedStillFindsWhatItLinksBesideIt)
{
    if (Output("command -v weasyprint").empty())
        GTEST_SKIP() << "no HTML renderer";
    const fs::path dir = fs::temp_directory_path() / ("tvlinked" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "extra.css") << "p::after { content: \"Verknuepft\"; }";
    const fs::path page = dir / "page.html";
    std::ofstream(page) << "<html><head><style>:root { --c: #2f6f9f; } "
                           "p { background: var(--c); }</style>"
                           "<link rel=\"stylesheet\" href=\"extra.css\"></head>"
                           "<body><p>Bericht</p></body></html>";
    const PrintableDocument document(page.string(), PageLayout{}, "de-DE");
    ASSERT_TRUE(document.rendered());
    EXPECT_NE(Output("pdftotext '" + document.path() + "' -").find("Verknuepft"),
              std::string::npos);
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
