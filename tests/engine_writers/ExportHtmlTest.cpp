#include "WritersFixture.h"

#include "engine/ExportHtml.h"

#include "common/modLanguage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace engine::test {

namespace {

using ExportHtmlTest = WritersFixture;

std::string SampleTemplate()
{
    const char* sRoot = std::getenv("TV_SOURCE_DIR");
    return std::string(sRoot ? sRoot : ".") + "/resources/samples/modern.html";
}

std::string Encoded(std::string s)
{
    ExportHtml::EncodeHtml(s);
    return s;
}

} // namespace

TEST_F(ExportHtmlTest, ReportFillsTheSampleTemplateInTheTableLayout)
{
    ExportHtml oHtml;
    oHtml.Init(3);
    oHtml.SetTitle("Kestrova - Outlook Tallyman");
    std::string sHeader = "Bericht: Büro<br>15.05.2024";
    oHtml.SetHeader(sHeader);
    EXPECT_EQ(sHeader, "Bericht: B&uuml;ro<br />15.05.2024");
    oHtml.SetFooter("Seite 1");
    oHtml.SetTableWidth(300);
    oHtml.AddColGroup("style='text-align:left; width:100px;'");
    oHtml.AddColGroup("style='text-align:right; width:200px;'");
    oHtml.AddRow();
    std::string a = "Betreff";
    std::string b = "Dauer";
    oHtml.AddCol(a, "class='tlv_columnheader'");
    oHtml.AddCol(b, "class='tlv_columnheader'");
    oHtml.AddRow("class='tlv_group'");
    std::string c = "Jour fixe";
    std::string d = "&nbsp;";
    oHtml.AddCol(c, "class='tlv_cell'");
    oHtml.AddCol(d);
    const auto sPath = OutPath("report.html");
    oHtml.Export(sPath, SampleTemplate());

    const std::string sTable = "\r\n\t\t<colgroup>"
                               "\r\n\t\t\t<col style='text-align:left; width:100px;' />"
                               "\r\n\t\t\t<col style='text-align:right; width:200px;' /></colgroup>"
                               "\r\n\t\t<tr>"
                               "\r\n\t\t\t<td class='tlv_columnheader'>Betreff</td>"
                               "\r\n\t\t\t<td class='tlv_columnheader'>Dauer</td></tr>"
                               "\r\n\t\t<tr class='tlv_group'>"
                               "\r\n\t\t\t<td class='tlv_cell'>Jour fixe</td>"
                               "\r\n\t\t\t<td>&nbsp;</td></tr>";
    std::string sExpected = ReadAll(SampleTemplate());
    ASSERT_FALSE(sExpected.empty());
    const std::pair<std::string, std::string> fills[] = {
        {"@tlv_reportheader", "<p>Bericht: B&uuml;ro<br />15.05.2024</p>"},
        {"@tlv_reportfooter", "<p>Seite 1</p>"},
        {"@tlv_title", "Kestrova - Outlook Tallyman"},
        {"@tlv_tablewidth", "300"},
        {"@tlv_report", sTable},
    };
    for (const auto& [sName, sValue] : fills) {
        const auto pos = sExpected.find(sName);
        ASSERT_NE(pos, std::string::npos) << sName;
        sExpected.replace(pos, sName.size(), sValue);
        if (sName == "@tlv_title") // the sample names the title twice: page title and heading
            sExpected.replace(sExpected.find(sName), sName.size(), sValue);
        EXPECT_EQ(sExpected.find(sName), std::string::npos) << sName;
    }
    const auto sWritten = ReadAll(sPath);
    EXPECT_EQ(sWritten, sExpected);
    EXPECT_NE(
        sWritten.find("<table class=\"tlv_report\" style=\"width: 300px;\">\r\n\t\t<colgroup>"),
        std::string::npos);
}

TEST_F(ExportHtmlTest, TextsFromItemsAndSettingsAreEscaped)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Müller & Söhne", "M&uuml;ller &amp; S&ouml;hne"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a < b > c", "a &lt; b &gt; c"},
        {"ÄÖÜß éàê", "&Auml;&Ouml;&Uuml;&szlig; &eacute;&agrave;&ecirc;"},
        {"Zeile\r\nzwei\rdrei\nvier", "Zeile<br />zwei<br />drei<br />vier"},
        {"Kopf<br>Fuß<br />Ende", "Kopf<br />Fu&szlig;<br />Ende"},
        {"&nbsp;", "&nbsp;"},
        {"&lt;b&gt; &#160; &#xA0;", "&lt;b&gt; &#160; &#xA0;"},
        {"AT&T; & ;&", "AT&T; &amp; ;&amp;"},
        {"\"Zitat\" 'x'", "\"Zitat\" 'x'"},
        {"ç ñ € 日本", "ç ñ € 日本"},
        {"", ""},
    };
    for (const auto& [sIn, sOut] : cases)
        EXPECT_EQ(Encoded(sIn), sOut) << sIn;
}

TEST_F(ExportHtmlTest, UsersHeaderAndFooterKeepTheirMarkupAndItemTextsStayEscaped)
{
    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "@tlv_reportheader|@tlv_reportfooter|@tlv_title|@tlv_report");
    // A placeholder's value (here a subject someone else wrote) is escaped before it goes
    // into the user's header; the writer then keeps both as they are.
    std::string sSubject = "<script>x</script>";
    ExportHtml::EncodeHtml(sSubject);
    std::string sHeader = "<b>Bericht</b> f\xC3\xBCr <i>" + sSubject + "</i> & Co<br>Zeile 2";
    ExportHtml oHtml;
    oHtml.Init(1);
    oHtml.SetHeader(sHeader);
    EXPECT_EQ(sHeader, "<b>Bericht</b> f&uuml;r <i>&lt;script&gt;x&lt;/script&gt;</i> &amp; "
                       "Co<br />Zeile 2");
    oHtml.SetFooter("<span class='klein'>Seite 1</span>");
    oHtml.SetTitle("<b>Titel</b>");
    std::string sCell = "<b>Betreff</b>";
    oHtml.AddCol(sCell);
    const auto sPath = OutPath("markup.html");
    oHtml.Export(sPath, sTemplate);
    EXPECT_EQ(ReadAll(sPath),
              "<p>" + sHeader +
                  "</p>|<p><span class='klein'>Seite 1</span></p>|"
                  "&lt;b&gt;Titel&lt;/b&gt;|\r\n\t\t<tr>\r\n\t\t\t<td>&lt;b&gt;Betreff&lt;/b&gt;</"
                  "td></tr>");
}

TEST_F(ExportHtmlTest, TableBuildingEdges)
{
    const auto sTemplate = OutPath("plain.html");
    WriteAll(sTemplate, "@tlv_report");
    const auto sPath = OutPath("out.html");

    ExportHtml oHtml;
    oHtml.Init(0); // no rows announced: the buffer still grows
    std::string sValue = "x<y";
    oHtml.AddCol(sValue); // opens a plain row
    EXPECT_EQ(sValue, "x&lt;y");
    oHtml.AddColGroup("ignored"); // a row is open
    for (int i = 0; i < 2000; ++i) {
        std::string s = "z";
        oHtml.AddCol(s);
    }
    oHtml.Export(sPath, sTemplate);
    const auto sText = ReadAll(sPath);
    EXPECT_EQ(sText.rfind("\r\n\t\t<tr>\r\n\t\t\t<td>x&lt;y</td>", 0), 0u);
    EXPECT_EQ(sText.find("colgroup"), std::string::npos);
    EXPECT_EQ(sText.size(), 8u + 20u + 2000u * 15u + 5u);

    // A second export writes the same table again.
    oHtml.Export(sPath, sTemplate);
    EXPECT_EQ(ReadAll(sPath), sText);
}

TEST_F(ExportHtmlTest, PlaceholdersAreReplacedInTheirOrder)
{
    struct Case
    {
        std::string sTemplate;
        std::string sHeader;
        std::string sExpected;
    };
    const Case cases[] = {
        {"<html>kein Platzhalter</html>", "K", "<html>kein Platzhalter</html>"},
        {"@tlv_report|@tlv_report", "K",
         "\r\n\t\t<tr>\r\n\t\t\t<td>1</td></tr>|"
         "\r\n\t\t<tr>\r\n\t\t\t<td>1</td></tr>"},
        {"@tlv_reportheader/@tlv_title", "vor @tlv_title", "<p>vor T</p>/T"},
        {"@tlv_tablewidth;@tlv_reportfooter", "K", "42;<p>F &amp; G</p>"},
    };
    for (const auto& c : cases) {
        const auto sTemplate = OutPath("t.html");
        WriteAll(sTemplate, c.sTemplate);
        ExportHtml oHtml;
        oHtml.Init(1);
        oHtml.SetTitle("T");
        std::string sHeader = c.sHeader;
        oHtml.SetHeader(sHeader);
        oHtml.SetFooter("F & G");
        oHtml.SetTableWidth(42);
        std::string sCell = "1";
        oHtml.AddCol(sCell);
        const auto sPath = OutPath("p.html");
        oHtml.Export(sPath, sTemplate);
        EXPECT_EQ(ReadAll(sPath), c.sExpected) << c.sTemplate;
    }
}

TEST_F(ExportHtmlTest, PrefixComesFromTheSettingsOfTheInitialisedRoot)
{
    WriteSettings("PrefixHtmlVariable=$$\n");
    Root();
    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "$$title @tlv_title");
    ExportHtml oHtml;
    oHtml.Init(1);
    oHtml.SetTitle("Titel");
    const auto sPath = OutPath("p.html");
    oHtml.Export(sPath, sTemplate);
    EXPECT_EQ(ReadAll(sPath), "Titel @tlv_title");
}

TEST_F(ExportHtmlTest, MissingOrEmptyTemplateRaisesInvalidTemplateAndWritesNothing)
{
    const auto sEmpty = OutPath("empty.html");
    WriteAll(sEmpty, "");
    const auto sPath = OutPath("never.html");
    common::modLanguage::SetLanguageID(1033);
    for (const auto& sTemplate : {OutPath("missing.html"), sEmpty}) {
        ExportHtml oHtml;
        oHtml.Init(1);
        try {
            oHtml.Export(sPath, sTemplate);
            ADD_FAILURE() << "no error for " << sTemplate;
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), -44942822);
            EXPECT_EQ(e.Description(), "The template\r\n" + sTemplate +
                                           "\r\nis not valid or could not be found.\r\n"
                                           "Please select another template.");
            EXPECT_NE(e.Source().find("Fenwick5.ExportHtml.Export (2)"), std::string::npos);
        }
        EXPECT_FALSE(std::filesystem::exists(sPath));
    }
    common::modLanguage::SetLanguageID(1031);
}

TEST_F(ExportHtmlTest, UncreatableFolderRaisesCreateFileAndMissingOneIsMade)
{
    const auto sTemplate = OutPath("t.html");
    WriteAll(sTemplate, "@tlv_title");
    ExportHtml oHtml;
    oHtml.Init(1);
    oHtml.SetTitle("ok");
    const auto sNested = OutPath("a/b/c.html");
    oHtml.Export(sNested, sTemplate);
    EXPECT_EQ(ReadAll(sNested), "ok");

    WriteAll(OutPath("blocker"), "x");
    const auto sBlocked = OutPath("blocker/c.html");
    try {
        oHtml.Export(sBlocked, sTemplate);
        FAIL() << "no error";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), -44942832);
        EXPECT_EQ(e.Description(), "Die Datei '" + sBlocked + "' konnte nicht erstellt werden.");
    }
}

TEST_F(ExportHtmlTest, APlaceholderRepeatedPastItsBoundIsRefusedBeforeAnythingIsWritten)
{
    // The counts include what a value brings in: the header is put in first and is itself
    // searched for the table's placeholder.
    struct Case
    {
        std::string sTemplate;
        std::string sHeader;
        const char* sRefused; // nullptr when the page is written
        const char* sBound;
    };
    const auto Times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    const Case cases[] = {
        {Times("@tlv_report", 10), "", nullptr, ""},
        {Times("@tlv_report", 11), "", "@tlv_report", "10"},
        {Times("@tlv_report", 10000), "", "@tlv_report", "10"},
        {"@tlv_reportheader" + Times("@tlv_report", 6), Times("@tlv_report", 4), nullptr, ""},
        {"@tlv_reportheader" + Times("@tlv_report", 6), Times("@tlv_report", 5), "@tlv_report",
         "10"},
        {Times("@tlv_title", 100), "", nullptr, ""},
        {Times("@tlv_title|", 101), "", "@tlv_title", "100"},
        {Times("@tlv_reportheader", 101), "", "@tlv_reportheader", "100"},
        {Times("@tlv_tablewidth", 101), "", "@tlv_tablewidth", "100"},
        {"@tlv_reportheader", Times("@tlv_reportfooter", 101), "@tlv_reportfooter", "100"},
        // What is no placeholder is not counted.
        {Times("@tlv_repor @tlv_ @tlv_titl", 1000), "", nullptr, ""},
    };
    for (const int lLanguage : {1031, 1033}) {
        common::modLanguage::SetLanguageID(lLanguage);
        for (const auto& c : cases) {
            const auto sTemplate = OutPath("repeats.html");
            WriteAll(sTemplate, c.sTemplate);
            const auto sTarget = OutPath("new/repeats.html");
            std::filesystem::remove_all(OutPath("new"));
            ExportHtml oHtml;
            oHtml.Init(1);
            std::string sHeader = c.sHeader;
            oHtml.SetHeader(sHeader);
            std::string sCell = "x";
            oHtml.AddCol(sCell);
            const std::string sShown = c.sTemplate.substr(0, 40);
            try {
                oHtml.Export(sTarget, sTemplate);
                EXPECT_EQ(c.sRefused, nullptr) << sShown;
                EXPECT_TRUE(std::filesystem::exists(sTarget)) << sShown;
            } catch (const rt::Error& e) {
                ASSERT_NE(c.sRefused, nullptr) << sShown << ": " << e.Description();
                EXPECT_EQ(e.Number(), -44942812);
                const std::string sExpected =
                    lLanguage == 1031
                        ? "Die Vorlage\r\n" + sTemplate + "\r\nenthält den Platzhalter " +
                              c.sRefused + " öfter als " + c.sBound +
                              "-mal und wird nicht ausgefüllt.\r\nBitte wählen Sie eine andere "
                              "Vorlage."
                        : "The template\r\n" + sTemplate + "\r\nholds the placeholder " +
                              c.sRefused + " more than " + c.sBound +
                              " times and is not filled.\r\nPlease select another template.";
                EXPECT_EQ(e.Description(), sExpected) << sShown;
                // Not even the target's folder was made.
                EXPECT_FALSE(std::filesystem::exists(OutPath("new"))) << sShown;
            }
        }
    }
    common::modLanguage::SetLanguageID(1031);
}

} // namespace engine::test
