#include "host/GridText.h"
#include "host/TextFit.h"

#include "platform/forms/FlexGrid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

namespace forms = platform::forms;

std::vector<std::string> SplitLines(const std::string& s)
{
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string line; std::getline(in, line);)
        v.push_back(line);
    return v;
}

// Code-point position of the n-th "|" in a line (-1 when missing).
int BarPosition(const std::string& line, int n)
{
    int cp = 0;
    for (char c : line) {
        if ((c & 0xC0) == 0x80)
            continue;
        if (c == '|' && n-- == 0)
            return cp;
        ++cp;
    }
    return -1;
}

class GridTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fg.SetCols(4);
        fg.SetRows(1);
        fg.SetFixedRows(1);
        fg.SetTextMatrix(0, 1, "Kategorie");
        fg.SetTextMatrix(0, 2, "Dauer");
        fg.SetTextMatrix(0, 3, "g1");
        fg.SetColHidden(3, true);
        fg.AddItem("\tÄrger\t10\tsecret");
        fg.AddItem("\tÄrger\t20\tsecret");
        fg.AddItem("\tBüro\t5\tsecret");
        fg.Subtotal(forms::SubtotalFunction::Sum, 0, 2, "Gesamt");
        fg.Subtotal(forms::SubtotalFunction::Sum, 1, 2, "%s");
    }
    forms::FlexGrid fg;
};

TEST_F(GridTextTest, OutlineIsIndentedAndMarked)
{
    const std::string sText = host::GridText(fg);
    const auto v = SplitLines(sText);
    ASSERT_EQ(v.size(), 2u + 1u + 2u + 3u) << sText;
    EXPECT_NE(v[0].find("Kategorie"), std::string::npos);
    EXPECT_EQ(v[1].find_first_not_of('-'), std::string::npos) << v[1];
    int nTotals = 0, nSubtotals = 0, nData = 0;
    for (std::size_t i = 2; i < v.size(); ++i) {
        const std::string& s = v[i];
        EXPECT_EQ(s.find("secret"), std::string::npos) << "hidden column shown: " << s;
        if (s.rfind("== [-] Gesamt", 0) == 0) {
            ++nTotals;
            EXPECT_NE(s.find("35"), std::string::npos) << s;
        } else if (s.rfind("--   [-] ", 0) == 0) {
            ++nSubtotals;
        } else if (s.rfind("       ", 0) == 0) {
            ++nData;
        } else {
            ADD_FAILURE() << "unexpected line: " << s;
        }
    }
    EXPECT_EQ(nTotals, 1);
    EXPECT_EQ(nSubtotals, 2);
    EXPECT_EQ(nData, 3);
    EXPECT_EQ(host::GridText(fg).find("g1"), std::string::npos);
}

TEST_F(GridTextTest, ColumnsLineUpWithUmlauts)
{
    const auto v = SplitLines(host::GridText(fg));
    const int nFirst = BarPosition(v[0], 0);
    ASSERT_GT(nFirst, 0);
    for (std::size_t i = 2; i < v.size(); ++i)
        EXPECT_EQ(BarPosition(v[i], 0), nFirst) << v[i];
}

TEST_F(GridTextTest, CollapsedGroupsHideTheirRows)
{
    int nGroup = -1;
    for (int r = fg.FixedRows(); r < fg.Rows(); ++r)
        if (fg.IsSubtotal(r) && fg.RowOutlineLevel(r) == 1 && nGroup < 0)
            nGroup = r;
    ASSERT_GE(nGroup, 0);
    const auto nBefore = SplitLines(host::GridText(fg)).size();
    fg.SetIsCollapsed(nGroup, forms::OutlineState::Collapsed);
    const std::string sText = host::GridText(fg);
    EXPECT_NE(sText.find("--   [+] " + fg.TextMatrix(nGroup, 0)), std::string::npos) << sText;
    EXPECT_LT(SplitLines(sText).size(), nBefore);
}

TEST_F(GridTextTest, TheTableFitsTheWidthWithWideCellsCut)
{
    const std::string sLong = "Überlange Kategorie " + std::string(80, 'x');
    fg.SetTextMatrix(fg.Rows() - 1, 1, sLong);
    for (int nWidth : {40, 60, 100}) {
        const std::string sText = host::GridText(fg, nWidth);
        const auto v = SplitLines(sText);
        for (const auto& line : v)
            EXPECT_LE(host::TextWidth(line), nWidth) << line;
        EXPECT_NE(sText.find("Überlange"), std::string::npos) << sText;
        EXPECT_NE(sText.find("\xe2\x80\xa6"), std::string::npos) << "no ellipsis: " << sText;
        EXPECT_NE(v[0].find("Dauer"), std::string::npos) << "header lost: " << v[0];
        // The outline and the short columns stay whole.
        EXPECT_NE(sText.find("== [-] Gesamt"), std::string::npos) << sText;
        EXPECT_NE(sText.find("| 35"), std::string::npos) << sText;
    }
    EXPECT_NE(host::GridText(fg, 1000).find(sLong), std::string::npos);
}

TEST(TextFitTest, LongTextsWrapAtBlanksAndNothingIsCut)
{
    const auto Times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    struct Case
    {
        std::string sText;
        int nWidth;
        std::string sExpected;
    };
    for (const auto& c : std::vector<Case>{
             {"short", 20, "short\n"},
             {"one two three four five six", 20, "one two three four\n  five six\n"},
             {"  Prompt: the file Überstunden.xlsx is open", 20,
              "  Prompt: the file\n    Überstunden.xlsx\n    is open\n"},
             {"ok | cancel at the end", 20, "ok | cancel at the\n  end\n"},
             {"averyveryverylongwordwithoutblanks", 20, "averyveryverylongwor\n  dwithoutblanks\n"},
             {"two\nlines", 20, "two\nlines\n"},
             // A word wider than any line starts where the line is: a grid row's number is
             // followed by the start of a long name, not by nothing.
             {"    4     " + std::string(30, 'N'), 20,
              "    4     NNNNNNNNNN\n      NNNNNNNNNNNNNN\n      NNNNNN\n"},
             {"no room left here " + std::string(30, 'N'), 20,
              "no room left here\n  " + std::string(18, 'N') + "\n  " + std::string(12, 'N') +
                  "\n"},
             // Split by characters, not bytes: 50 letters of two bytes fill 20, 18 and 12.
             {Times("\xC3\x84", 50), 20,
              Times("\xC3\x84", 20) + "\n  " + Times("\xC3\x84", 18) + "\n  " +
                  Times("\xC3\x84", 12) + "\n"},
             {"ab " + Times("\xE2\x82\xAC", 40), 20,
              "ab " + Times("\xE2\x82\xAC", 17) + "\n  " + Times("\xE2\x82\xAC", 18) + "\n  " +
                  Times("\xE2\x82\xAC", 5) + "\n"},
             // Control characters are shown, and wrapped as they are shown.
             {"a\x1B[31mb \xC2\x9B\x07 \x7F", 20, "a\\x1B[31mb\n  \\u009B\\x07 \\x7F\n"}}) {
        const std::string sWrapped = host::WrapText(c.sText, c.nWidth);
        EXPECT_EQ(sWrapped, c.sExpected) << c.sText;
        for (const auto& line : SplitLines(sWrapped))
            EXPECT_LE(host::TextWidth(line), c.nWidth) << line;
    }
}

TEST(TextFitTest, ChangedLinesAreTheLinesNotShownBefore)
{
    struct Case
    {
        std::string sBefore, sAfter, sExpected;
    };
    for (const auto& c :
         std::vector<Case>{{"a\nb\n", "a\nb\n", ""},
                           {"a\nb\n", "b\nc\n", "c\n"},
                           // A line shown once before and twice now: the second is new.
                           {"a\nb\n", "a\nb\nb\n", "b\n"},
                           {"", "x\n", "x\n"}}) {
        EXPECT_EQ(host::ChangedLines(c.sBefore, c.sAfter), c.sExpected)
            << c.sBefore << " -> " << c.sAfter;
    }
}

TEST(TextFitTest, TheTerminalWidthIsTakenFromColumnsWhenItIsOne)
{
    const char* pBefore = std::getenv("COLUMNS");
    const std::string sBefore = pBefore ? pBefore : "";
    for (const auto& [sColumns, nWidth] : std::vector<std::pair<std::string, int>>{
             {"80", 80}, {"40", 40}, {"10", 120}, {"wide", 120}, {"5000", 120}}) {
        setenv("COLUMNS", sColumns.c_str(), 1);
        EXPECT_EQ(host::TerminalWidth(), nWidth) << sColumns;
    }
    if (pBefore)
        setenv("COLUMNS", sBefore.c_str(), 1);
    else
        unsetenv("COLUMNS");
}

} // namespace
