// What every report writer does with the file it is told to write: a read-only file stays as
// it was, a symbolic link stays a link, and bytes that are no UTF-8 never break the file.
#include "WritersFixture.h"

#include "tests/platform/excel/ExcelTestSupport.h"

#include "engine/ExportCsv.h"
#include "engine/ExportExcel.h"
#include "engine/ExportHtml.h"

#include "platform/runtime/Array.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace engine::test {

namespace {

namespace fs = std::filesystem;

using ReportTargetTest = WritersFixture;

struct Writer
{
    const char* sExtension;
    std::function<void(const std::string&)> write; // one row "Bericht", "Zeile"
};

std::vector<Writer> Writers(const std::string& sTemplate)
{
    const auto excel = [](const std::string& sPath) {
        rt::Array aCells(rt::VarType::Variant, {{0, 0}, {0, 1}});
        aCells(0, 0) = std::string("Bericht");
        aCells(0, 1) = std::string("Zeile");
        rt::Array aTexts(rt::VarType::Variant, {{0, 1}});
        rt::Array aData(rt::VarType::Variant, {{0, 1}});
        aData(0) = rt::Variant(aCells);
        aData(1) = rt::Variant(aTexts);
        rt::Variant vData(aData);
        ExportExcel().Export(sPath, "", vData, false, false);
    };
    return {
        {"csv",
         [](const std::string& sPath) {
             ExportCsv oCsv;
             std::vector<std::string> vRow = {"Bericht", "Zeile"};
             oCsv.AddRow(vRow);
             oCsv.Export(sPath);
         }},
        {"html",
         [sTemplate](const std::string& sPath) {
             ExportHtml oHtml;
             oHtml.Init(1);
             std::string a = "Bericht";
             std::string b = "Zeile";
             oHtml.AddCol(a);
             oHtml.AddCol(b);
             oHtml.Export(sPath, sTemplate);
         }},
        {"xlsx", excel},
        {"xls", excel},
    };
}

TEST_F(ReportTargetTest, ReadOnlyReportIsRefusedWithPermissionDeniedAndKept)
{
    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "<table>@tlv_report</table>");
    for (const auto& writer : Writers(sTemplate)) {
        const auto sPath = OutPath(std::string("alt.") + writer.sExtension);
        WriteAll(sPath, "alter Bericht");
        fs::permissions(sPath, fs::perms::owner_read | fs::perms::group_read);
        try {
            writer.write(sPath);
            ADD_FAILURE() << writer.sExtension << ": a read-only file was replaced";
        } catch (const rt::Error& error) {
            EXPECT_EQ(error.Number(), rt::errors::PermissionDenied) << error.Description();
            EXPECT_NE(error.Description().find("alt." + std::string(writer.sExtension)),
                      std::string::npos)
                << error.Description();
        }
        fs::permissions(sPath, fs::perms::owner_all);
        EXPECT_EQ(ReadAll(sPath), "alter Bericht") << writer.sExtension;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(OutPath("")), fs::directory_iterator()), 5)
        << "a temporary file stayed behind";
}

TEST_F(ReportTargetTest, AReportIsNeverWrittenOverAPipeADeviceOrAFolderNorWhereALinkNamesOne)
{
    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "<table>@tlv_report</table>");
    fs::create_directories(OutPath("nodes"));
    for (const auto& writer : Writers(sTemplate)) {
        const std::string sExtension = writer.sExtension;
        const auto sPipe = OutPath("nodes/pipe." + sExtension);
        const auto sDevice = OutPath("nodes/device." + sExtension);
        const auto sFolder = OutPath("nodes/folder." + sExtension);
        ASSERT_EQ(::mkfifo(sPipe.c_str(), 0600), 0);
        fs::create_directory(sFolder);
        std::vector<std::string> vTargets = {sPipe, sFolder};
        // A device of this test's own (the numbers of /dev/null), where the user may make one.
        if (::mknod(sDevice.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
            vTargets.push_back(sDevice);
        for (std::size_t i = 0, n = vTargets.size(); i < n; ++i) {
            const auto sLink = OutPath("link" + std::to_string(i) + "." + sExtension);
            fs::create_symlink(vTargets[i], sLink);
            vTargets.push_back(sLink);
        }
        for (const auto& sTarget : vTargets) {
            const auto eBefore = fs::symlink_status(sTarget).type();
            EXPECT_THROW(writer.write(sTarget), rt::Error) << sTarget;
            EXPECT_EQ(fs::symlink_status(sTarget).type(), eBefore) << sTarget;
        }
        EXPECT_TRUE(fs::is_fifo(sPipe));
    }
    // Nothing but the nodes themselves in their folder.
    for (const auto& oEntry : fs::directory_iterator(OutPath("nodes")))
        EXPECT_EQ(oEntry.path().filename().string().find(".tmp-"), std::string::npos)
            << oEntry.path();
}

TEST_F(ReportTargetTest, LinkedReportStaysALinkAndItsFileIsWritten)
{
    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "<table>@tlv_report</table>");
    fs::create_directories(OutPath("archiv"));
    for (const auto& writer : Writers(sTemplate)) {
        const std::string sName = std::string("bericht.") + writer.sExtension;
        const auto sFile = OutPath("archiv/" + sName);
        WriteAll(sFile, "alt");
        const auto sLink = OutPath(sName);
        fs::create_symlink("archiv/" + sName, sLink);
        writer.write(sLink);
        EXPECT_TRUE(fs::is_symlink(sLink)) << sName;
        EXPECT_NE(ReadAll(sFile), "alt") << sName;
    }
    EXPECT_NE(ReadAll(OutPath("archiv/bericht.csv")).find("Bericht;Zeile"), std::string::npos);
    EXPECT_EQ(exceltest::XlsFile(OutPath("archiv/bericht.xls")).Cell(0, 1).text, "Zeile");
    EXPECT_EQ(exceltest::XlsxFile(OutPath("archiv/bericht.xlsx"))
                  .Cells("xl/worksheets/sheet1.xml")
                  .at("B1")
                  .value,
              "Zeile");
}

TEST_F(ReportTargetTest, BytesThatAreNoUtf8BecomeReplacementCharactersInTextReports)
{
    ExportCsv oCsv;
    std::vector<std::string> vRow = {"Ab\xE2"
                                     "Cd",
                                     "x\xFFy;z"};
    oCsv.AddRow(vRow);
    const auto sCsv = OutPath("r.csv");
    oCsv.Export(sCsv);
    EXPECT_EQ(ReadAll(sCsv), "Ab\xEF\xBF\xBD"
                             "Cd;\"x\xEF\xBF\xBDy;z\"");

    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "@tlv_reportheader|@tlv_report");
    ExportHtml oHtml;
    oHtml.Init(1);
    std::string sHeader = "Kopf \xC3";
    oHtml.SetHeader(sHeader);
    std::string sCell = "\x80<b>";
    oHtml.AddCol(sCell);
    const auto sHtml = OutPath("r.html");
    oHtml.Export(sHtml, sTemplate);
    EXPECT_EQ(ReadAll(sHtml),
              "<p>Kopf \xEF\xBF\xBD</p>|\r\n\t\t<tr>\r\n\t\t\t<td>\xEF\xBF\xBD&lt;b&gt;</td></tr>");
}

} // namespace
} // namespace engine::test

namespace engine::test {
namespace {

TEST_F(ReportTargetTest, ReportsLargerThanOneBufferBlockAreWrittenWhole)
{
    // Some 6 MB of rows: the text spans several blocks of the writers' buffer, and the page's
    // table lies between the template's parts.
    ExportCsv oCsv;
    ExportHtml oHtml;
    oHtml.Init(1);
    std::string sCsv;
    std::string sTable;
    for (int i = 0; i < 120000; ++i) {
        std::vector<std::string> vRow = {"Zeile " + std::to_string(i), "Müller; Söhne"};
        oCsv.AddRow(vRow);
        sCsv += (i > 0 ? "\r\n" : "") + vRow[0] + ";" + vRow[1];
        std::string sCell = "Nr. " + std::to_string(i) + " <b>";
        oHtml.AddCol(sCell);
        sTable += "\r\n\t\t\t<td>" + sCell + "</td>";
    }
    const auto sCsvPath = OutPath("gross.csv");
    oCsv.Export(sCsvPath);
    EXPECT_EQ(ReadAll(sCsvPath), sCsv);

    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "<table>@tlv_report</table>@tlv_tablewidth");
    const auto sHtmlPath = OutPath("gross.html");
    oHtml.Export(sHtmlPath, sTemplate);
    EXPECT_EQ(ReadAll(sHtmlPath), "<table>\r\n\t\t<tr>" + sTable + "</tr></table>0");
}

} // namespace
} // namespace engine::test
