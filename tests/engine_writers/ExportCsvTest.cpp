#include "WritersFixture.h"

#include "engine/ExportCsv.h"

#include "common/modLanguage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace engine::test {

using ::testing::ElementsAre;

namespace {

using ExportCsvTest = WritersFixture;

// An RFC 4180 reader: records end at CR LF outside quotes; quoted fields double their quotes.
std::vector<std::vector<std::string>> ParseCsv(const std::string& sText, char cDelimiter)
{
    std::vector<std::vector<std::string>> rows(1);
    std::string sField;
    bool bQuoted = false;
    for (std::size_t i = 0; i < sText.size(); ++i) {
        const char c = sText[i];
        if (bQuoted) {
            if (c == '"' && i + 1 < sText.size() && sText[i + 1] == '"') {
                sField += '"';
                ++i;
            } else if (c == '"') {
                bQuoted = false;
            } else {
                sField += c;
            }
        } else if (c == '"') {
            bQuoted = true;
        } else if (c == cDelimiter) {
            rows.back().push_back(std::move(sField));
            sField.clear();
        } else if (c == '\r' && i + 1 < sText.size() && sText[i + 1] == '\n') {
            rows.back().push_back(std::move(sField));
            sField.clear();
            rows.emplace_back();
            ++i;
        } else {
            sField += c;
        }
    }
    rows.back().push_back(std::move(sField));
    return rows;
}

} // namespace

TEST_F(ExportCsvTest, CellsComeBackWholeFromAnRfc4180Reader)
{
    const std::vector<std::vector<std::string>> table = {
        {"Betreff", "Kategorie", "Notiz"},
        {"a;b", "\"zitiert\" am Anfang", "Zeile 1\r\nZeile 2"},
        {"", "mit \"Anführung\" innen", "nur\nLF und nur\rCR"},
        {"\"", "x", "Ende\""},
    };
    ExportCsv oCsv;
    for (auto row : table)
        oCsv.AddRow(row);
    EXPECT_EQ(oCsv.Count(), 4);
    const auto sPath = OutPath("report.csv");
    oCsv.Export(sPath);

    const auto sText = ReadAll(sPath);
    EXPECT_NE(sText.substr(sText.size() - 2), "\r\n") << "no line end after the last row";
    const auto parsed = ParseCsv(sText, ';');
    ASSERT_EQ(parsed.size(), table.size());
    for (std::size_t r = 0; r < table.size(); ++r) {
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            std::string sExpected = table[r][c];
            // A line break CR LF inside a cell is kept as a single LF.
            for (auto pos = sExpected.find("\r\n"); pos != std::string::npos;
                 pos = sExpected.find("\r\n", pos))
                sExpected.replace(pos, 2, "\n");
            EXPECT_EQ(parsed[r][c], sExpected) << "row " << r << " column " << c;
        }
    }
}

TEST_F(ExportCsvTest, QuotingOfSingleCells)
{
    struct Case
    {
        std::string sCell;
        std::string sWritten;
    };
    const Case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"a;b", "\"a;b\""},
        {"Zeile\r\nzwei", "\"Zeile\nzwei\""},
        {"\"Start;mitte\"innen", "\"\"\"Start;mitte\"\"innen\""},
        {"nur \"Quote\"", "\"nur \"\"Quote\"\"\""},
        {"lone\rCR", "\"lone\rCR\""},
    };
    for (const auto& c : cases) {
        ExportCsv oCsv;
        std::vector<std::string> row{c.sCell, "x", ""};
        oCsv.AddRow(row);
        EXPECT_EQ(row[0], c.sWritten) << c.sCell;
        const auto sPath = OutPath("one.csv");
        oCsv.Export(sPath);
        EXPECT_EQ(ReadAll(sPath), c.sWritten + ";x;") << c.sCell;
    }
}

TEST_F(ExportCsvTest, DelimiterComesFromTheInitialisedRootAndStays)
{
    ExportCsv oBefore;
    EXPECT_EQ(oBefore.Delimiter(), ";");
    WriteSettings("CSVDelimiter=|\n");
    Root();
    ExportCsv oCsv;
    EXPECT_EQ(oCsv.Delimiter(), "|");
    std::vector<std::string> row{"a|b", "c;d", "e"};
    oCsv.AddRow(row);
    EXPECT_THAT(row, ElementsAre("\"a|b\"", "c;d", "e"));
    Root().Terminate();
    ExportCsv oAfter;
    EXPECT_EQ(oAfter.Delimiter(), ";");
    EXPECT_EQ(oCsv.Delimiter(), "|");
    const auto sPath = OutPath("pipe.csv");
    oCsv.Export(sPath);
    EXPECT_EQ(ReadAll(sPath), "\"a|b\"|c;d|e");
}

TEST_F(ExportCsvTest, RowsAreJoinedByCrLfAndStayAfterExport)
{
    ExportCsv oCsv;
    const auto sPath = OutPath("rows.csv");
    oCsv.Export(sPath);
    EXPECT_EQ(ReadAll(sPath), "");
    std::vector<std::string> a{"1", "2"};
    std::vector<std::string> b{"3", "4"};
    oCsv.AddRow(a);
    oCsv.AddRow(b);
    oCsv.Export(sPath);
    EXPECT_EQ(ReadAll(sPath), "1;2\r\n3;4");
    oCsv.Export(sPath);
    EXPECT_EQ(ReadAll(sPath), "1;2\r\n3;4");
    oCsv.Clear();
    EXPECT_EQ(oCsv.Count(), 0);
}

TEST_F(ExportCsvTest, MissingFolderIsCreatedAndUncreatableOneRaisesCreateFile)
{
    ExportCsv oCsv;
    std::vector<std::string> row{"ä", "ö"};
    oCsv.AddRow(row);
    const auto sNested = OutPath("neu/tiefer/report.csv");
    oCsv.Export(sNested);
    EXPECT_EQ(ReadAll(sNested), "ä;ö");

    // A plain file where the folder should be: the folder cannot be made.
    WriteAll(OutPath("blocker"), "x");
    const auto sBlocked = OutPath("blocker/sub/report.csv");
    common::modLanguage::SetLanguageID(1033);
    try {
        oCsv.Export(sBlocked);
        FAIL() << "no error";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), -44942832);
        EXPECT_EQ(e.Description(), "The file '" + sBlocked + "' could not be created.");
        EXPECT_NE(e.Source().find("Fenwick5.ExportCsv.Export (1)"), std::string::npos)
            << e.Source();
    }
    common::modLanguage::SetLanguageID(1031);
    EXPECT_EQ(ReadAll(OutPath("blocker")), "x");
}

TEST_F(ExportCsvTest, ExistingFileIsReplacedWhole)
{
    const auto sPath = OutPath("old.csv");
    WriteAll(sPath, std::string(1000, 'x'));
    ExportCsv oCsv;
    std::vector<std::string> row{"kurz"};
    oCsv.AddRow(row);
    oCsv.Export(sPath);
    EXPECT_EQ(ReadAll(sPath), "kurz");
}

} // namespace engine::test
