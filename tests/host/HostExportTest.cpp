// The host's batch save: the report of the sample profile saved once in each format and read
// back, the workbooks through a spreadsheet program of their own.
#include "HostRunFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using host_test::HostRunFixture;
using host_test::ItemRows;
using Table = std::vector<std::vector<std::string>>;

std::string ReadAll(const fs::path& oFile)
{
    std::ifstream oIn(oFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

// Rows at CR LF or LF, fields at the delimiter outside double quotes ("" a quote inside).
Table ParseDelimited(const std::string& sText, char chDelimiter)
{
    Table aRows;
    std::vector<std::string> aRow(1);
    bool bQuoted = false;
    for (std::size_t i = 0; i < sText.size(); ++i) {
        const char ch = sText[i];
        if (bQuoted) {
            if (ch == '"' && i + 1 < sText.size() && sText[i + 1] == '"') {
                aRow.back() += '"';
                ++i;
            } else if (ch == '"') {
                bQuoted = false;
            } else {
                aRow.back() += ch;
            }
        } else if (ch == '"') {
            bQuoted = true;
        } else if (ch == chDelimiter) {
            aRow.emplace_back();
        } else if (ch == '\n' || (ch == '\r' && i + 1 < sText.size() && sText[i + 1] == '\n')) {
            i += ch == '\r' ? 1 : 0;
            aRows.push_back(std::move(aRow));
            aRow.assign(1, {});
        } else {
            aRow.back() += ch;
        }
    }
    if (aRow.size() > 1 || !aRow[0].empty())
        aRows.push_back(std::move(aRow));
    return aRows;
}

std::optional<double> Number(const std::string& sText)
{
    static const std::regex oNumber(R"(^-?[0-9,]*\.?[0-9]+$)");
    if (!std::regex_match(sText, oNumber))
        return std::nullopt;
    std::string s;
    for (char ch : sText)
        if (ch != ',')
            s += ch;
    return std::stod(s);
}

// A duration as the grid shows it ("08:00", "1310:45") in minutes.
std::optional<double> Minutes(const std::string& sText)
{
    static const std::regex oDuration(R"(^([0-9]+):([0-5][0-9])$)");
    std::smatch m;
    if (!std::regex_match(sText, m, oDuration))
        return std::nullopt;
    return std::stod(m[1]) * 60 + std::stod(m[2]);
}

// A date and time as year, month, day, hour, minute: the grid's "1/2/2027 08:30" and the
// spreadsheet's ISO or US forms.
std::optional<std::vector<int>> DateParts(const std::string& sText)
{
    static const std::regex oUs(
        R"(^([0-9]{1,2})/([0-9]{1,2})/([0-9]{2,4})(?: ([0-9]{1,2}):([0-9]{2})(?::[0-9]{2})? ?([AP]M)?)?$)");
    static const std::regex oIso(
        R"(^([0-9]{4})-([0-9]{2})-([0-9]{2})(?:[ T]([0-9]{2}):([0-9]{2})(?::[0-9]{2})?)?$)");
    std::smatch m;
    const auto part = [&](int i) { return m[i].matched ? std::stoi(m[i]) : 0; };
    if (std::regex_match(sText, m, oIso))
        return std::vector<int>{part(1), part(2), part(3), part(4), part(5)};
    if (!std::regex_match(sText, m, oUs))
        return std::nullopt;
    int nYear = part(3) < 100 ? 2000 + part(3) : part(3);
    int nHour = part(4);
    if (m[6].matched && m[6] == "PM" && nHour < 12)
        nHour += 12;
    if (m[6].matched && m[6] == "AM" && nHour == 12)
        nHour = 0;
    return std::vector<int>{nYear, part(1), part(2), nHour, part(5)};
}

// Whether the spreadsheet's cell stands for the grid's text: the same text, or the same
// number, date or duration (a workbook holds durations in minutes).
bool SameCell(const std::string& sGrid, const std::string& sSheet)
{
    if (sGrid == sSheet)
        return true;
    if (const auto dMinutes = Minutes(sGrid); dMinutes && Number(sSheet))
        return std::abs(*dMinutes - *Number(sSheet)) < 1e-6;
    if (Number(sGrid) && Number(sSheet))
        return std::abs(*Number(sGrid) - *Number(sSheet)) < 1e-6;
    if (DateParts(sGrid) && DateParts(sSheet))
        return *DateParts(sGrid) == *DateParts(sSheet);
    return false;
}

std::string DecodeHtml(std::string sText)
{
    static const std::vector<std::pair<std::string, std::string>> aEntities = {
        {"&nbsp;", ""},    {"&lt;", "<"},     {"&gt;", ">"},     {"&quot;", "\""},
        {"&auml;", "ä"},   {"&ouml;", "ö"},   {"&uuml;", "ü"},   {"&Auml;", "Ä"},
        {"&Ouml;", "Ö"},   {"&Uuml;", "Ü"},   {"&szlig;", "ß"},  {"&eacute;", "é"},
        {"&egrave;", "è"}, {"&agrave;", "à"}, {"&ccedil;", "ç"}, {"&amp;", "&"}};
    for (const auto& [sEntity, sChar] : aEntities)
        for (auto at = sText.find(sEntity); at != std::string::npos;
             at = sText.find(sEntity, at + sChar.size()))
            sText.replace(at, sEntity.size(), sChar);
    return sText;
}

// The cells of the page's data rows (cells of the class "tlv_cell"), in order.
Table HtmlDataRows(const std::string& sPage)
{
    Table aRows;
    static const std::regex oRow(R"(<tr[^>]*>([\s\S]*?)</tr>)");
    static const std::regex oCell(R"(<td([^>]*)>([\s\S]*?)</td>)");
    for (auto it = std::sregex_iterator(sPage.begin(), sPage.end(), oRow);
         it != std::sregex_iterator(); ++it) {
        const std::string sRow = (*it)[1];
        std::vector<std::string> aCells;
        bool bData = false;
        for (auto c = std::sregex_iterator(sRow.begin(), sRow.end(), oCell);
             c != std::sregex_iterator(); ++c) {
            bData = bData || std::string((*c)[1]).find("tlv_cell") != std::string::npos;
            aCells.push_back(DecodeHtml((*c)[2]));
        }
        if (bData)
            aRows.push_back(std::move(aCells));
    }
    return aRows;
}

class HostExportTest : public HostRunFixture
{
protected:
    // The report of the default template saved into oRoot/sName; the run's output.
    std::string Export(const std::string& sName)
    {
        const auto r = Run("--lang en --export '" + (oRoot / sName).string() + "'");
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_NE(r.output.find("Saved the report as " + (oRoot / sName).string()),
                  std::string::npos)
            << r.output;
        return r.output;
    }
    // The first sheet of each workbook as comma-separated text, by the spreadsheet program
    // (one run for all: it starts slowly) in the C locale, whose dates the cells are compared
    // in, whatever locale the tests run under.
    std::vector<Table> Converted(const std::vector<std::string>& aNames)
    {
        const auto oOut = oRoot / "converted";
        std::string sFiles;
        for (const auto& sName : aNames)
            sFiles += " '" + (oRoot / sName).string() + "'";
        const auto r = Shell("LC_ALL=C.UTF-8 soffice -env:UserInstallation=file://" +
                             (oRoot / "office").string() +
                             " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,"
                             "1,,0,false,true,false,false,false' --outdir '" +
                             oOut.string() + "'" + sFiles);
        std::vector<Table> aSheets;
        for (const auto& sName : aNames) {
            const auto oFile = oOut / (fs::path(sName).stem().string() + ".csv");
            EXPECT_TRUE(fs::exists(oFile)) << r.output;
            aSheets.push_back(ParseDelimited(ReadAll(oFile), ','));
        }
        return aSheets;
    }
};

TEST_F(HostExportTest, EachFormatHoldsTheCellsOfTheGrid)
{
    const std::string sOutput = Export("report.csv");
    const Table aGrid = ParseDelimited(ReadAll(oRoot / "report.csv"), ';');
    // The caption row and the item rows of the grid the host printed.
    ASSERT_EQ(static_cast<int>(aGrid.size()), ItemRows(sOutput)) << sOutput;
    ASSERT_GT(aGrid.size(), 100u);
    EXPECT_EQ(aGrid[0][0], "Subject");

    const std::vector<std::string> aBooks = {"report.xlsx", "report97.xls", "macros.xlsm"};
    for (const auto& sName : aBooks)
        Export(sName);
    const auto aSheets = Converted(aBooks);
    for (std::size_t i = 0; i < aBooks.size(); ++i) {
        const auto& sName = aBooks[i];
        const Table& aSheet = aSheets[i];
        ASSERT_EQ(aSheet.size(), aGrid.size()) << sName;
        for (std::size_t r = 0; r < aGrid.size(); ++r) {
            ASSERT_GE(aSheet[r].size(), aGrid[r].size()) << sName << " row " << r;
            for (std::size_t c = 0; c < aGrid[r].size(); ++c)
                EXPECT_TRUE(SameCell(aGrid[r][c], aSheet[r][c]))
                    << sName << " row " << r << " column " << c << ": grid \"" << aGrid[r][c]
                    << "\", sheet \"" << aSheet[r][c] << "\"";
        }
    }

    Export("report.html");
    const Table aPage = HtmlDataRows(ReadAll(oRoot / "report.html"));
    ASSERT_EQ(aPage.size() + 1, aGrid.size());
    for (std::size_t r = 0; r < aPage.size(); ++r) {
        // The page's rows begin with the outline column.
        const std::vector<std::string> aCells(aPage[r].begin() + 1, aPage[r].end());
        EXPECT_EQ(aCells, aGrid[r + 1]) << "row " << r + 1;
    }
}

// Dates read back by a reader of its own (Debian's python3 with python3-xlrd): per workbook, the
// cells it reads as dates and the text cells that look like a date or a time ("1/1/2027 14:00 PM").
constexpr const char* kDateCellReader = R"(import re, sys, xlrd
looks_like_date = re.compile(r'^\d{1,4}[./-]\d{1,2}[./-]\d{1,4}( +\d{1,2}:\d{2}(:\d{2})?( *[AaPp][Mm])?)?$')
for name in sys.argv[1:]:
    sheet = xlrd.open_workbook(name).sheet_by_index(0)
    dates = texts = 0
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_DATE:
                dates += 1
            elif cell.ctype == xlrd.XL_CELL_TEXT and looks_like_date.match(cell.value.strip()):
                texts += 1
                if texts <= 3:
                    print('text date in %s: %r' % (name, cell.value))
    print('%s dates=%d texts=%d' % (name, dates, texts))
)";

TEST_F(HostExportTest, EveryDateCellOfEveryWorkbookIsADateInBothLanguages)
{
    const auto oReader = oRoot / "dates.py";
    std::ofstream(oReader) << kDateCellReader;
    for (const char* sLanguage : {"en", "de"}) {
        SCOPED_TRACE(sLanguage);
        std::string sFiles;
        std::vector<std::string> aBooks;
        for (const char* sExtension : {"xlsx", "xls", "xlsm"}) {
            const auto oBook = oRoot / (std::string("dates-") + sLanguage + "." + sExtension);
            const auto r =
                Run(std::string("--lang ") + sLanguage + " --export '" + oBook.string() + "'");
            ASSERT_EQ(r.exitCode, 0) << r.output;
            aBooks.push_back(oBook.string());
            sFiles += " '" + oBook.string() + "'";
        }
        const auto r = Shell("/usr/bin/python3 '" + oReader.string() + "'" + sFiles);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        for (const auto& sBook : aBooks) {
            static const std::regex oCounts(R"( dates=([0-9]+) texts=([0-9]+))");
            const auto nLine = r.output.find(sBook + " dates=");
            ASSERT_NE(nLine, std::string::npos) << r.output;
            std::smatch m;
            const std::string sLine = r.output.substr(nLine + sBook.size());
            ASSERT_TRUE(std::regex_search(sLine, m, oCounts)) << r.output;
            // The sample report's Start and End columns: hundreds of dates, none left as text.
            EXPECT_GT(std::stoi(m[1]), 500) << r.output;
            EXPECT_EQ(std::stoi(m[2]), 0) << r.output;
        }
    }
}

TEST_F(HostExportTest, TheTemplatesSettingsStayAndUnknownTypesFail)
{
    Export("first.html");
    const auto oReports = oRoot / "Kestrova" / "Tallyman" / "reports.xml";
    const std::string sBefore = ReadAll(oReports);
    ASSERT_FALSE(sBefore.empty());
    // ".htm" names a web page as well, in either letter case.
    Export("first.htm");
    Export("FIRST2.HTM");
    const Table aPage = HtmlDataRows(ReadAll(oRoot / "first.html"));
    EXPECT_GT(aPage.size(), 100u);
    EXPECT_EQ(HtmlDataRows(ReadAll(oRoot / "first.htm")), aPage);
    EXPECT_EQ(HtmlDataRows(ReadAll(oRoot / "FIRST2.HTM")), aPage);
    Export("second.xlsx");
    EXPECT_EQ(ReadAll(oReports), sBefore);
    // A second batch save into the same file replaces it.
    Export("second.xlsx");

    for (const char* sName : {"report.pdf", "report.txt", "noext", "report."}) {
        // Refused before the read, with the formats there are.
        const auto r = Run("--lang en --export '" + (oRoot / sName).string() + "'");
        EXPECT_EQ(r.exitCode, 2) << r.output;
        EXPECT_NE(r.output.find("--export saves as .csv, .htm, .html, .xls, .xlsx, .xlsm only"),
                  std::string::npos)
            << r.output;
        EXPECT_EQ(r.output.find("Read: "), std::string::npos) << r.output;
        EXPECT_FALSE(fs::exists(oRoot / sName));
        for (const char* pAdded : {".csv", ".xlsx", "csv", "xlsx"})
            EXPECT_FALSE(fs::exists(oRoot / (std::string(sName) + pAdded))) << pAdded;
    }
    // An extension alone would be a hidden file with no name.
    const auto rHidden = Run("--lang de --export '" + (oRoot / ".csv").string() + "'");
    EXPECT_EQ(rHidden.exitCode, 2) << rHidden.output;
    EXPECT_NE(rHidden.output.find("--export braucht einen Dateinamen vor der Endung: " +
                                  (oRoot / ".csv").string()),
              std::string::npos)
        << rHidden.output;
    EXPECT_FALSE(fs::exists(oRoot / ".csv"));
    EXPECT_FALSE(fs::exists(oRoot / ".csv.csv"));
}

TEST_F(HostExportTest, SaveasAsksThroughTheTerminal)
{
    const std::string sFile = (oRoot / "Mein Bericht (1).html").string();
    const auto r = Run("--lang en --interactive", "saveas\\nfile " + sFile + "\\nquit\\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Comma delimited (*.csv)"), std::string::npos) << r.output;
    const Table aPage = HtmlDataRows(ReadAll(sFile));
    EXPECT_GT(aPage.size(), 100u);
}

// A save by "saveas" says where the file went (a relative name lands in the working folder), or
// that nothing was saved: the dialog cancelled, or the save failed after its message.
TEST_F(HostExportTest, SaveasSaysWhereTheFileWentOrThatNothingWasSaved)
{
    struct Case
    {
        std::string sLanguage;
        std::string sSaved;
        std::string sNotSaved;
    };
    for (const auto& c : std::vector<Case>{
             {"en", "Saved the report as ", "The report was not saved."},
             {"de", "Der Bericht ist gespeichert als ", "Der Bericht wurde nicht gespeichert."}}) {
        SCOPED_TRACE(c.sLanguage);
        const std::string sName = "relative-" + c.sLanguage + ".csv";
        const auto r = Shell(
            "cd '" + oRoot.string() + "' && printf 'saveas\\nfile " + sName +
            "\\nsaveas\\ncancel\\nsaveas\\nfile /proc/none.csv\\nquit\\n' | LC_ALL= LC_MESSAGES= "
            "LANG=C.UTF-8 XDG_CONFIG_HOME='" +
            oRoot.string() + "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' --interactive --lang " +
            c.sLanguage);
        // The save into /proc failed: what was asked for was not kept.
        EXPECT_EQ(r.exitCode, 4) << r.output;
        EXPECT_TRUE(fs::exists(oRoot / sName)) << r.output;
        EXPECT_NE(r.output.find("> " + c.sSaved + (oRoot / sName).string() + "\n"),
                  std::string::npos)
            << r.output;
        // Cancelled, then failed with the message box first: each says nothing was saved.
        const auto nFirst = r.output.find(c.sNotSaved);
        ASSERT_NE(nFirst, std::string::npos) << r.output;
        EXPECT_NE(r.output.find(c.sNotSaved, nFirst + 1), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("/proc/none.csv"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("> ok\n"), std::string::npos) << r.output;
    }
}

} // namespace
