// The delimited-text writer fed from a filled report grid, the file read back.
#include "ExportFixture.h"

#include "actions/ExportCSV.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace actions::test {

namespace {

class ExportCSVTest : public ExportFixture
{
protected:
    Table Export()
    {
        ExportCSV oCsv;
        oCsv.AsIChild().Init(&oSave);
        oCsv.Export(fg, PathOf("report.csv"));
        return ParseCsv(ReadAll(PathOf("report.csv")));
    }
};

TEST_F(ExportCSVTest, WritesCaptionAndDataRowsWithoutOutlineIconOrSubtotals)
{
    const int lIcon = fg.ColIndex("Icon");
    ASSERT_GE(lIcon, 0);
    ASSERT_FALSE(fg.ColHidden(lIcon));
    int lSubtotals = 0;
    for (int r = 1; r < fg.Rows(); ++r)
        lSubtotals += fg.IsSubtotal(r) ? 1 : 0;
    ASSERT_GT(lSubtotals, 0);

    const Table aRows = Export();
    ASSERT_EQ(aRows.size(), 4u); // the caption row and the three records
    EXPECT_EQ(aRows[0], (std::vector<std::string>{"Betreff", "Kategorie", "Dauer"}));
    // The records in grid order: the groups sorted by category.
    std::vector<std::string> aSubjects;
    for (size_t r = 1; r < aRows.size(); ++r) {
        ASSERT_EQ(aRows[r].size(), 3u) << r;
        aSubjects.push_back(aRows[r][0]);
        const int lRow = fg.FindRow(aRows[r][0], 1, fg.ColIndex("Subject"));
        ASSERT_GT(lRow, 0) << aRows[r][0];
        EXPECT_EQ(aRows[r][1], fg.TextMatrix(lRow, fg.ColIndex("Cat")));
        EXPECT_EQ(aRows[r][2], fg.TextMatrix(lRow, fg.ColIndex("Duration")));
    }
    EXPECT_EQ(aSubjects, (std::vector<std::string>{"Jour; fixe \"x\"", "Plan <A>", "   "}));
    EXPECT_EQ(aRows[1][1], "Blau");
    EXPECT_EQ(aRows[1][2], "01:00");
}

TEST_F(ExportCSVTest, HiddenColumnsAreLeftOutAndNoVisibleColumnWritesNoFile)
{
    fg.SetColHidden(fg.ColIndex("Cat"), true);
    const Table aRows = Export();
    EXPECT_EQ(aRows[0], (std::vector<std::string>{"Betreff", "Dauer"}));

    for (int c = 1; c < fg.Cols(); ++c) {
        if (fg.ColKey(c) != "Icon")
            fg.SetColHidden(c, true);
    }
    ExportCSV oCsv;
    oCsv.AsIChild().Init(&oSave);
    EXPECT_NO_THROW(oCsv.Export(fg, PathOf("none.csv")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("none.csv")));
}

} // namespace

} // namespace actions::test
