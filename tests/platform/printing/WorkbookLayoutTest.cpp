#include "platform/printing/detail/WorkbookLayout.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
} // namespace platform::printing
