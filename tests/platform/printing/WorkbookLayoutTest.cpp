#include "platform/printing/detail/WorkbookLayout.h"

#include "platform/printing/detail/DigitWidth.h"

#include "platform/runtime/Error.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace platform::printing {
namespace {

constexpr const char* kHead =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<sheetData/><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
    "header=\"0.3\" footer=\"0.3\"/>";

TEST(WorkbookLayoutTest, SheetsGetThePageOfTheLayoutInTheirPlace)
{
    PageLayout landscapeA5;
    landscapeA5.paperSize = 11;
    landscapeA5.orientation = 2;
    landscapeA5.scale = 80;
    PageLayout unknownPaper;
    unknownPaper.paperSize = 300;
    unknownPaper.scale = 5;
    struct Case
    {
        const char* sName;
        std::string sTail;
        PageLayout page;
        std::string sExpectedTail;
    };
    const std::string sSetup =
        "<pageSetup paperSize=\"11\" orientation=\"landscape\" scale=\"80\"/>";
    const Case cases[] = {
        {"none yet", "</worksheet>", landscapeA5, sSetup + "</worksheet>"},
        {"before the header and footer",
         "<headerFooter><oddFooter>x</oddFooter></headerFooter></worksheet>", landscapeA5,
         sSetup + "<headerFooter><oddFooter>x</oddFooter></headerFooter></worksheet>"},
        {"an existing one keeps what else it says",
         "<pageSetup orientation=\"portrait\" fitToWidth=\"1\"/></worksheet>", landscapeA5,
         "<pageSetup orientation=\"landscape\" fitToWidth=\"1\" paperSize=\"11\" scale=\"80\"/>"
         "</worksheet>"},
        {"unknown paper and scale stay out", "</worksheet>", unknownPaper,
         "<pageSetup orientation=\"portrait\"/></worksheet>"},
    };
    for (const Case& c : cases) {
        const std::string sOut = detail::LaidOutSheet(kHead + c.sTail, c.page);
        EXPECT_EQ(sOut, kHead + c.sExpectedTail) << c.sName;
    }
    EXPECT_EQ(detail::LaidOutSheet("<workbook/>", landscapeA5), "<workbook/>");
    EXPECT_EQ(detail::LaidOutSheet("not xml <", landscapeA5), "not xml <");
}

TEST(WorkbookLayoutTest, FontsDrawNoLigaturesInPrint)
{
    const struct
    {
        const char* sWhat;
        std::string sStyles, sExpected;
    } cases[] = {
        {"each font",
         "<fonts><font><sz val=\"11\"/><name val=\"Calibri\"/></font><font><b/>"
         "<name val=\"Arial Narrow\"/></font></fonts><cellStyles><cellStyle "
         "name=\"Normal\"/></cellStyles>",
         "<fonts><font><sz val=\"11\"/><name val=\"Calibri:-liga\"/></font><font><b/>"
         "<name val=\"Arial Narrow:-liga\"/></font></fonts><cellStyles><cellStyle "
         "name=\"Normal\"/></cellStyles>"},
        {"features asked for already", "<font><name val=\"Calibri:smcp\"/></font>",
         "<font><name val=\"Calibri:smcp\"/></font>"},
        {"no fonts", "<styleSheet/>", "<styleSheet/>"},
        {"an empty name", "<name val=\"\"/>", "<name val=\"\"/>"},
        {"cut off", "<name val=\"Calibri", "<name val=\"Calibri"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detail::FontsWithoutLigatures(c.sStyles), c.sExpected) << c.sWhat;
}

// The standard font's widest digit at 96 pixels an inch: Calibri's (and Carlito's) digits are
// 1038 of 2048 units wide, at 11 points 7.43359375 pixels, which the spreadsheet draws in 7.
constexpr double kCalibri11 = 1038.0 / 2048.0 * 11.0 * 96.0 / 72.0;

// The numbers in the attribute `name` of each element `element` of the XML, in order.
std::vector<double> Numbers(const std::string& xml, const std::string& element,
                            const std::string& name)
{
    std::vector<double> numbers;
    const std::regex pattern("<" + element + "\\b[^>]*\\b" + name + "=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), pattern);
         it != std::sregex_iterator(); ++it)
        numbers.push_back(std::stod((*it)[1].str()));
    return numbers;
}

TEST(WorkbookLayoutTest, ColumnsPrintInTheSpreadsheetsWholePixels)
{
    // Widths as the workbook writer stores them (characters with 5 pixels of margin, in
    // 256ths), the pixels the spreadsheet makes of them counted by hand, and the standard
    // width when the sheet gives none: 8 characters and the margin, up to a multiple of 8.
    struct Case
    {
        const char* sWhat;
        std::string sFormat, sCols;
        std::vector<double> expectedPixels;
        double dDefaultPixels;
    };
    const Case cases[] = {
        {"the writer's widths",
         "<sheetFormatPr defaultRowHeight=\"15\"/>",
         "<col min=\"1\" max=\"1\" width=\"14.7109375\" customWidth=\"1\"/>"
         "<col min=\"2\" max=\"2\" width=\"17.7109375\"/>"
         "<col min=\"3\" max=\"5\" width=\"0.5\"/><col min=\"6\" max=\"6\" width=\"0\"/>",
         {103, 124, 3, 0},
         64},
        {"a base width of its own",
         "<sheetFormatPr baseColWidth=\"10\"/>",
         "<col min=\"1\" max=\"1\" width=\"255\"/>",
         {1785},
         80},
        {"a standard width of its own",
         "<x:sheetFormatPr defaultColWidth=\"9.140625\"/>",
         "<col min=\"1\" max=\"1\" width=\"8.43\"/>",
         {59},
         64},
    };
    for (const Case& c : cases) {
        const bool bPrefixed = c.sFormat.rfind("<x:", 0) == 0;
        const std::string sOpen = bPrefixed ? "<x:worksheet xmlns:x=\"urn:x\">" : "<worksheet>";
        const std::string sCols =
            bPrefixed ? "<x:cols>" + c.sCols + "</x:cols>" : "<cols>" + c.sCols + "</cols>";
        const std::string sOut =
            detail::PrintedColumnWidths(sOpen + c.sFormat + sCols + "<sheetData/>" +
                                            (bPrefixed ? "</x:worksheet>" : "</worksheet>"),
                                        kCalibri11);
        const auto widths = Numbers(sOut, "col", "width");
        ASSERT_EQ(widths.size(), c.expectedPixels.size()) << c.sWhat << "\n" << sOut;
        for (std::size_t i = 0; i < widths.size(); ++i)
            EXPECT_NEAR(widths[i] * kCalibri11, c.expectedPixels[i], 1e-9)
                << c.sWhat << ": column " << i + 1;
        const auto standard =
            Numbers(sOut, bPrefixed ? "x:sheetFormatPr" : "sheetFormatPr", "defaultColWidth");
        ASSERT_EQ(standard.size(), 1u) << c.sWhat << "\n" << sOut;
        EXPECT_NEAR(standard[0] * kCalibri11, c.dDefaultPixels, 1e-9) << c.sWhat;
    }
    // Widths that are no number, and texts that are no worksheet, are left as they are.
    for (const std::string& sSame :
         {std::string("<worksheet><cols><col width=\"wide\"/><col width=\"-3\"/>"
                      "<col width=\"1e9\"/></cols></worksheet>"),
          std::string("<workbook><cols><col width=\"14\"/></cols></workbook>"),
          std::string("not xml <")})
        EXPECT_EQ(detail::PrintedColumnWidths(sSame, kCalibri11), sSame);
    EXPECT_EQ(detail::PrintedColumnWidths("<worksheet><cols><col width=\"14\"/></cols>"
                                          "</worksheet>",
                                          0),
              "<worksheet><cols><col width=\"14\"/></cols></worksheet>");
    // Under German regional settings the widths keep their point.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        const std::string sOut = detail::PrintedColumnWidths(
            "<worksheet><cols><col width=\"14.7109375\"/></cols></worksheet>", kCalibri11);
        std::setlocale(LC_NUMERIC, "C");
        EXPECT_EQ(sOut.find(','), std::string::npos) << sOut;
        EXPECT_NE(sOut.find("width=\"13."), std::string::npos) << sOut;
    }
}

TEST(WorkbookLayoutTest, WidthsCountTheFirstCellStylesFontInTheFontItIsDrawnIn)
{
    const struct
    {
        const char* sWhat;
        std::string sStyles;
        std::optional<std::string> family;
        double dPoints;
    } cases[] = {
        {"the first font",
         "<styleSheet><fonts><font><sz val=\"11\"/><name val=\"Calibri\"/>"
         "</font><font><sz val=\"20\"/><name val=\"Cambria\"/></font></fonts>"
         "</styleSheet>",
         "Calibri", 11},
        {"the font of the first cell style, features left out",
         "<styleSheet><fonts><font><name val=\"Calibri\"/></font><font><sz val=\"10\"/>"
         "<name val=\"Arial:-liga\"/></font></fonts><cellStyleXfs><xf fontId=\"1\"/>"
         "</cellStyleXfs></styleSheet>",
         "Arial", 10},
        {"no size", "<styleSheet><fonts><font><name val=\"Calibri\"/></font></fonts></styleSheet>",
         "Calibri", 11},
        {"no such font",
         "<styleSheet><fonts><font/></fonts><cellStyleXfs><xf fontId=\"7\"/>"
         "</cellStyleXfs></styleSheet>",
         std::nullopt, 0},
        {"no fonts", "<styleSheet/>", std::nullopt, 0},
        {"not xml", "<styleSheet", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto font = detail::StandardFontOf(c.sStyles);
        ASSERT_EQ(font.has_value(), c.family.has_value()) << c.sWhat;
        if (font) {
            EXPECT_EQ(font->family, *c.family) << c.sWhat;
            EXPECT_EQ(font->points, c.dPoints) << c.sWhat;
        }
    }
    // Calibri is drawn in a font of its widths (the install brings it): 1038 of 2048 units.
    const auto em = detail::DigitEmWidth("Calibri");
    ASSERT_TRUE(em.has_value());
    EXPECT_DOUBLE_EQ(*em, 1038.0 / 2048.0);
}

// Runs a python3 script (made of zipfile and nothing else) with `path` as its argument; gives
// what it prints.
std::string Python(const std::string& script, const std::string& path)
{
    const std::string command = "python3 -c '" + script + "' '" + path + "' 2>&1";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        out += buffer;
    if (pipe != nullptr)
        pclose(pipe);
    return out;
}

// A workbook of one named sheet; "xl/worksheets/sheet9.xml" is a part no sheet names. Each
// holds its text and then `blanks` MiB of blanks where its flag says so.
std::string MakeWorkbook(const std::string& path, int namedBlanks, int unnamedBlanks)
{
    const std::string script =
        "import sys, zipfile\n"
        "R = \"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"\n"
        "S = \"<worksheet xmlns=\\\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
        "main\\\"><sheetData/></worksheet>\"\n"
        "parts = {\"[Content_Types].xml\": \"<Types xmlns=\\\"http://schemas.openxmlformats.org/"
        "package/2006/content-types\\\"/>\",\n"
        " \"_rels/.rels\": \"<Relationships xmlns=\\\"http://schemas.openxmlformats.org/package/"
        "2006/relationships\\\"><Relationship Id=\\\"rId1\\\" Type=\\\"\" + R + "
        "\"/officeDocument\\\" Target=\\\"xl/workbook.xml\\\"/></Relationships>\",\n"
        " \"xl/workbook.xml\": \"<workbook xmlns:r=\\\"\" + R + \"\\\"><sheets><sheet "
        "name=\\\"Bericht\\\" sheetId=\\\"1\\\" r:id=\\\"rId1\\\"/></sheets></workbook>\",\n"
        " \"xl/_rels/workbook.xml.rels\": \"<Relationships xmlns=\\\"http://schemas."
        "openxmlformats.org/package/2006/relationships\\\"><Relationship Id=\\\"rId1\\\" "
        "Type=\\\"\" + R + \"/worksheet\\\" Target=\\\"worksheets/sheet1.xml\\\"/>"
        "</Relationships>\",\n"
        " \"xl/styles.xml\": \"<styleSheet><fonts><font><name val=\\\"Calibri\\\"/></font>"
        "</fonts></styleSheet>\",\n"
        " \"xl/worksheets/sheet1.xml\": S + \" \" * (" +
        std::to_string(namedBlanks) +
        " << 20),\n"
        " \"xl/worksheets/sheet9.xml\": S + \" \" * (" +
        std::to_string(unnamedBlanks) +
        " << 20)}\n"
        "with zipfile.ZipFile(sys.argv[1], \"w\", zipfile.ZIP_DEFLATED) as z:\n"
        "    for name, text in parts.items(): z.writestr(name, text)\n";
    return Python(script, path);
}

// The parts of the workbook at `path` that python3's zipfile reads, one a line: the name,
// then whether the text holds a page setup and a font without ligatures, and its size.
std::string PartsAsRead(const std::string& path)
{
    return Python("import sys, zipfile\n"
                  "z = zipfile.ZipFile(sys.argv[1])\n"
                  "for n in sorted(z.namelist()):\n"
                  "    t = z.read(n)\n"
                  "    print(n, b\"orientation=\\\"landscape\\\"\" in t, b\"Calibri:-liga\" in t,"
                  " len(t))\n",
                  path);
}

// The line of `lines` that begins with `name` and a blank, "" for none.
std::string Line(const std::string& lines, const std::string& name)
{
    const auto at = lines.find(name + " ");
    return at == std::string::npos ? "" : lines.substr(at, lines.find('\n', at) - at);
}

class WorkbookLayoutFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder_ =
            std::filesystem::temp_directory_path() / ("tv_layout_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        page_.orientation = 2;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
    PageLayout page_;
};

TEST_F(WorkbookLayoutFileTest, OnlyTheSheetsTheWorkbookNamesAreLaidOut)
{
    const auto path = folder_ / "report.xlsx";
    ASSERT_EQ(MakeWorkbook(path.string(), 0, 0), "");
    const std::string unnamed = Line(PartsAsRead(path.string()), "xl/worksheets/sheet9.xml");
    EXPECT_NE(unnamed, "");
    detail::LayOutWorkbook(path, page_);
    const std::string parts = PartsAsRead(path.string());
    EXPECT_NE(parts.find("xl/styles.xml False True"), std::string::npos) << parts;
    EXPECT_NE(parts.find("xl/worksheets/sheet1.xml True False"), std::string::npos) << parts;
    // The part no sheet names is left as it is.
    EXPECT_EQ(Line(parts, "xl/worksheets/sheet9.xml"), unnamed);
}

TEST_F(WorkbookLayoutFileTest, PartsBeyondTheBoundsOfATemplateAreNotRead)
{
    const auto path = folder_ / "report.xlsx";
    // A quarter of a gibibyte of blanks in a part no sheet names: left as it is, unread.
    ASSERT_EQ(MakeWorkbook(path.string(), 0, 256), "");
    const std::string unnamed = Line(PartsAsRead(path.string()), "xl/worksheets/sheet9.xml");
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    detail::LayOutWorkbook(path, page_);
    EXPECT_EQ(Line(PartsAsRead(path.string()), "xl/worksheets/sheet9.xml"), unnamed);
    // In the sheet itself, refused unread.
    ASSERT_EQ(MakeWorkbook(path.string(), 256, 0), "");
    try {
        detail::LayOutWorkbook(path, page_);
        ADD_FAILURE() << "a sheet of 256 MiB was laid out";
    } catch (const platform::runtime::Error& error) {
        EXPECT_EQ(error.Number(), 75);
        EXPECT_NE(error.Description().find("xl/worksheets/sheet1.xml"), std::string::npos)
            << error.Description();
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes more at the peak";
}

} // namespace
} // namespace platform::printing
