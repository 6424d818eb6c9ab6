// The save action's run over a filled report grid: names, placeholders, dialogs and the
// existing-file rules, the files read back.
#include "tests/actions/NoticeRecorder.h"
#include "tests/actions/SaveFixture.h"
#include "tests/host/ByteClasses.h"

#include "actions/detail/SaveFileNames.h"
#include "common/modOLVersion.h"
#include "engine/Filter.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Session.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Error.h"
#include "platform/win/FileComponent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>

namespace actions::test {

namespace {

using ActionSaveTest = SaveFixture;

// The formats a report is saved in and the extension of each, as a person knows them.
constexpr struct
{
    std::int32_t lFormat;
    const char* sExtension;
} kFormats[] = {{detail::kCsv, ".csv"},
                {detail::kHtml, ".html"},
                {detail::kXls, ".xls"},
                {detail::kXlsx, ".xlsx"},
                {detail::kXlsm, ".xlsm"}};

// The client of the given version for the time of a test.
class ClientVersion
{
public:
    explicit ClientVersion(const char* sVersion)
    {
        common::modOLVersion::ResetOutlookVersion();
        common::modMain::G().g_oOutlookApp =
            std::make_shared<platform::outlook::Application>(sVersion);
    }
    ClientVersion(const ClientVersion&) = delete;
    ClientVersion& operator=(const ClientVersion&) = delete;
    ~ClientVersion()
    {
        common::modMain::G().g_oOutlookApp.reset();
        common::modOLVersion::ResetOutlookVersion();
    }
};

TEST_F(ActionSaveTest, DirectSaveWritesTheGridAndRecordsTheFile)
{
    Save().Execute();
    EXPECT_EQ(Save().SavedAs(), Out("Report.csv"));
    const Table aRows = ParseCsv(ReadAll(Out("Report.csv")));
    ASSERT_EQ(aRows.size(), 4u);
    EXPECT_EQ(aRows[0], (std::vector<std::string>{"Betreff", "Kategorie", "Dauer"}));
    // The hourglass during the export, the default pointer after it.
    EXPECT_EQ(Window().aPointers, (std::vector<int>{11, 0}));
    EXPECT_TRUE(pf::Driver::current().Dialogs().empty());
}

struct ExistingCase
{
    const char* sFilename;
    std::int32_t lRule;
    std::vector<std::string> aExisting;
    const char* sExpected;
};

// Report names with blanks, umlauts, brackets and asterisks, which are no patterns.
TEST_F(ActionSaveTest, DirectSaveInEveryFormatTakesItsExtension)
{
    std::ofstream(PathOf("page.html")) << "<html><body><table>@tlv_report</table></body></html>";
    for (const auto& c : kFormats) {
        const std::string sName = std::string("Report") + c.sExtension;
        Save().SetReportFormat(c.lFormat);
        Save().SetReportTemplate(c.lFormat == detail::kHtml ? PathOf("page.html") : "");
        Save().Execute();
        EXPECT_EQ(SavedName(), sName);
        EXPECT_TRUE(std::filesystem::exists(Out(sName))) << sName;
    }
    EXPECT_TRUE(pf::Driver::current().Dialogs().empty());
}

TEST_F(ActionSaveTest, ExistingFileRulesNumberStampOrReplace)
{
    const std::vector<ExistingCase> aCases = {
        {"R", 3, {"R.csv", "R (1).csv", "R (7).csv"}, "R (8).csv"},
        {"R", 3, {"R.csv"}, "R (1).csv"},
        {"R", 3, {"R.csv", "R (5).csv"}, "R (6).csv"},
        {"Übersicht März",
         3,
         {"Übersicht März.csv", "Übersicht März (2).csv"},
         "Übersicht März (3).csv"},
        {"Report [a] (1)",
         3,
         {"Report [a] (1).csv", "Report [a] (9).csv"},
         "Report [a] (1) (1).csv"},
        {"R*", 3, {"R*.csv", "Rx (5).csv", "R* (x).csv"}, "R* (1).csv"},
        {"Plan ?", 3, {"Plan _.csv", "Plan _ (2).CSV"}, "Plan _ (3).csv"},
        {"R", 4, {"R.csv"}, "R_20241224153005.csv"},
        // Two saves within one second: the second one numbers instead of replacing.
        {"R", 4, {"R.csv", "R_20241224153005.csv", "R (1).csv"}, "R (2).csv"},
        {"Größe (alt)", 2, {"Größe (alt).csv"}, "Größe (alt).csv"},
        // A rule the settings may hold from elsewhere never replaces the file.
        {"R", 7, {"R.csv"}, "R (1).csv"},
    };
    for (const auto& c : aCases) {
        std::filesystem::remove_all(Out(""));
        std::filesystem::create_directories(Out(""));
        for (const auto& sName : c.aExisting)
            Touch(sName);
        Save().SetFilename(c.sFilename);
        Save().SetReportExists(c.lRule);
        Save().Execute();
        EXPECT_EQ(SavedName(), c.sExpected) << c.sFilename << " rule " << c.lRule;
        EXPECT_EQ(ParseCsv(ReadAll(Save().SavedAs()))[0][0], "Betreff") << c.sFilename;
        for (const auto& sName : c.aExisting) {
            if (sName != c.sExpected) {
                EXPECT_EQ(ReadAll(Out(sName)), "old") << sName;
            }
        }
    }
}

TEST_F(ActionSaveTest, RunningNumberTakesALowerCaseExtension)
{
    Touch("Report.CSV");
    Touch("Report (4).csv");
    const platform::win::FileComponent oFiles;
    EXPECT_EQ(detail::GetNextFileName(oFiles, "Report.CSV", Out("")), "Report (5).csv");
    EXPECT_EQ(detail::GetNextFileName(oFiles, "Neu.csv", Out("")), "Neu (1).csv");
}

TEST_F(ActionSaveTest, FileNamePlaceholdersFollowTheLocale)
{
    Save().SetFilename("Report " + Save().GetPlaceholder(4));
    Save().Execute();
    EXPECT_EQ(SavedName(), "Report 24.12.2024.csv");

    UseLanguage("en-US", 1033);
    Save().SetFilename("Report " + Save().GetPlaceholder(4));
    Save().Execute();
    EXPECT_EQ(SavedName(), "Report 12_24_2024.csv");

    // Found in other capitals but not replaced: the text stays, its brackets too.
    Save().SetFilename("Report [@DATE]");
    Save().Execute();
    EXPECT_EQ(SavedName(), "Report [@DATE].csv");
}

TEST_F(ActionSaveTest, PlaceholdersInHeaderAndFooter)
{
    oReport->Filter()->SetSubjectCondition(engine::trContains, "<b>Plan & Co</b>");
    const std::string sText = "Betreff: " + Save().GetPlaceholder(2) + "<br>um " +
                              Save().GetPlaceholder(5) + " am " + Save().GetPlaceholder(4);
    // The page: the value is text, the user's <br> stays markup.
    EXPECT_EQ(Save().ReplacePlaceholders(sText, false, true),
              "Betreff: &lt;b&gt;Plan &amp; Co&lt;/b&gt;<br>um 15:30 am 24.12.2024");
    // The workbook: plain text with a line break.
    EXPECT_EQ(Save().ReplacePlaceholders(sText, false, false),
              "Betreff: <b>Plan & Co</b>\r\num 15:30 am 24.12.2024");
    // A file name: no folder separators or other characters a name cannot hold.
    EXPECT_EQ(Save().ReplacePlaceholders(Save().GetPlaceholder(2) + " a:b|c*", true, false),
              "_b_Plan & Co__b_ a_b_c*");
    // The user of the messaging session.
    EXPECT_EQ(Save().ReplacePlaceholders("von " + Save().GetPlaceholder(3), false, false),
              "von Jörg Müller");
    // The period and the categories of the view's filter.
    oReport->Filter()->SetTimeCondition(engine::trStartDate, engine::trTimeBetween,
                                        rt::Variant(rt::DateSerial(2024, 3, 1)),
                                        rt::Variant(rt::DateSerial(2024, 3, 31)));
    oReport->Filter()->SetCategoryCondition(engine::trEquals, {"Rot", "Blau"}, false);
    EXPECT_EQ(Save().ReplacePlaceholders(Save().GetPlaceholder(0), false, false),
              "01.03.2024 - 31.03.2024 23:59:59");
    EXPECT_EQ(Save().ReplacePlaceholders("Kat. " + Save().GetPlaceholder(1), false, false),
              "Kat. " + oReport->Filter()->CategoryString());
    EXPECT_NE(oReport->Filter()->CategoryString().find("Blau"), std::string::npos);
    // The other language's placeholders are plain text.
    EXPECT_EQ(Save().ReplacePlaceholders("[@Date]", false, false), "[@Date]");
}

TEST_F(ActionSaveTest, HtmlSaveFillsHeaderAndFooterOfThePage)
{
    oReport->Filter()->SetSubjectCondition(engine::trContains, "a<b");
    std::ofstream(Out("page.html")) << "<html><body>@tlv_reportheader<table>@tlv_report"
                                       "</table>@tlv_reportfooter</body></html>";
    Save().SetReportFormat(detail::kHtml);
    Save().SetReportTemplate(Out("page.html"));
    Save().SetReportHeader("Betreff " + Save().GetPlaceholder(2));
    Save().Execute();
    ASSERT_EQ(SavedName(), "Report.html");
    const std::string sPage = ReadAll(Save().SavedAs());
    EXPECT_NE(sPage.find("<p>Betreff a&lt;b</p>"), std::string::npos) << sPage;
    EXPECT_NE(sPage.find("<p>Erstellt:  24.12.2024</p>"), std::string::npos) << sPage;
    EXPECT_NE(sPage.find("Plan &lt;A&gt;"), std::string::npos);
}

TEST_F(ActionSaveTest, SaveDialogAsksWithTheFormatsFilterAndMapsTheChosenType)
{
    Save().SetAction(0);
    pf::FileDialog::Request oAsked;
    pf::Driver::current().QueueDialog([&](pf::CommonDialog& oDialog) {
        auto& oFile = dynamic_cast<pf::FileDialog&>(oDialog);
        oAsked = oFile.GetRequest();
        oFile.SetName("Gewählt.html");
        return true;
    });
    Save().Execute();
    EXPECT_EQ(oAsked.kind, pf::DialogKind::SaveFile);
    EXPECT_EQ(oAsked.initialName, "Report.csv");
    ASSERT_EQ(oAsked.filters.size(), 1u);
    EXPECT_EQ(oAsked.filters[0].pattern, "*.csv");
    EXPECT_EQ(oAsked.filters[0].description, "Trennzeichen-getrennt (*.csv)");
    EXPECT_TRUE(oAsked.firstOption);
    EXPECT_TRUE(oAsked.secondOption);
    // HTML picked for a delimited-text view: the page uses the add-in's own template.
    EXPECT_EQ(Save().ReportFormat(), detail::kHtml);
    EXPECT_NE(Save().ReportTemplate().find("samples/modern.html"), std::string::npos);
    EXPECT_EQ(Save().SavedAs(), Out("Gewählt.html"));
    EXPECT_NE(ReadAll(Out("Gewählt.html")).find("Plan &lt;A&gt;"), std::string::npos);
}

// Report names with and without dots of their own (a date placeholder, a version, a phrase),
// saved in each format along each way to the file: the save dialog, directly, and each rule for
// a file that is there. The dialog offers the name as the file will be called; the person
// accepts it or types the name without its type, and either way the file keeps the view's
// format, the dots being part of its name.
TEST_F(ActionSaveTest, NamesWithDotsKeepTheViewsFormatThroughEveryWayToTheFile)
{
    // The fixture's clock stands at 24 Dec 2024 and its locale is German.
    const struct
    {
        std::string sPattern;
        std::string sName;
    } aNames[] = {{"Report", "Report"},
                  {"Bericht 1.2", "Bericht 1.2"},
                  {"Monatsbericht " + Save().GetPlaceholder(4), "Monatsbericht 24.12.2024"},
                  {"Plan v2.10b", "Plan v2.10b"},
                  {"Stand 3. Quartal", "Stand 3. Quartal"},
                  {"Liste Dr.Meier", "Liste Dr.Meier"}};
    const struct
    {
        const char* sWay;
        std::int32_t lAction;
        std::int32_t lRule;
        bool bThere;      // the file of that name is in the folder before the save
        bool bDialog;     // the save dialog asks
        const char* sAdd; // what the rule adds to the name
    } aWays[] = {
        {"dialog", 0, 0, false, true, ""},
        {"dialog over a file there", 0, 0, true, true, ""},
        {"dialog over a file there, no question", 0, 2, true, true, ""},
        {"direct", 1, 0, false, false, ""},
        {"direct over a file there: dialog", 1, 0, true, true, ""},
        {"direct over a file there: overwrite", 1, 2, true, false, ""},
        {"direct over a file there: number", 1, 3, true, false, " (1)"},
        {"direct over a file there: time", 1, 4, true, false, "_20241224153005"},
    };
    // A client that writes every workbook format, so that each has its own filter.
    const ClientVersion oClient("16.0.0");
    std::ofstream(PathOf("page.html")) << "<html><body><table>@tlv_report</table></body></html>";
    for (const auto& f : kFormats) {
        for (const auto& n : aNames) {
            for (const auto& w : aWays) {
                for (const bool bTypedBare : {false, true}) {
                    if (bTypedBare && !w.bDialog)
                        continue;
                    SCOPED_TRACE(n.sName + f.sExtension + ", " + w.sWay +
                                 (bTypedBare ? ", typed without its type" : ", accepted"));
                    pf::Driver::current().Reset();
                    std::filesystem::remove_all(Out(""));
                    std::filesystem::create_directories(Out(""));
                    const std::string sOwn = n.sName + f.sExtension;
                    if (w.bThere)
                        Touch(sOwn);
                    Save().SetReportFormat(f.lFormat);
                    Save().SetReportTemplate(f.lFormat == detail::kHtml ? PathOf("page.html") : "");
                    Save().SetAction(w.lAction);
                    Save().SetReportExists(w.lRule);
                    Save().SetFilename(n.sPattern);
                    std::optional<std::string> oOffered;
                    if (w.bDialog)
                        pf::Driver::current().QueueDialog([&](pf::CommonDialog& oDialog) {
                            auto& oFile = dynamic_cast<pf::FileDialog&>(oDialog);
                            oOffered = oFile.Name();
                            if (bTypedBare)
                                oFile.SetName(n.sName);
                            return true;
                        });
                    const bool bAsked = w.bDialog && w.bThere && w.lRule == 0;
                    if (bAsked)
                        pf::Driver::current().QueueMsgBoxAnswer(6); // Yes: replace it
                    try {
                        Save().Execute();
                    } catch (const rt::Error& e) {
                        ADD_FAILURE() << e.Description();
                    }
                    if (w.bDialog) {
                        EXPECT_EQ(oOffered.value_or("(no dialog)"), sOwn);
                    }
                    EXPECT_EQ(pf::Driver::current().Dialogs().size(), w.bDialog ? 1u : 0u);
                    const auto& aBoxes = pf::Driver::current().MessageBoxes();
                    EXPECT_EQ(aBoxes.size(), bAsked ? 1u : 0u);
                    if (bAsked && !aBoxes.empty()) {
                        EXPECT_NE(aBoxes[0].prompt.find(Out(sOwn) + " ist bereits vorhanden"),
                                  std::string::npos)
                            << aBoxes[0].prompt;
                    }
                    const std::string sWritten = n.sName + w.sAdd + f.sExtension;
                    EXPECT_EQ(Save().SavedAs(), Out(sWritten));
                    EXPECT_EQ(Save().ReportFormat(), f.lFormat);
                    EXPECT_TRUE(std::filesystem::is_regular_file(Out(sWritten)));
                    if (std::filesystem::is_regular_file(Out(sWritten))) {
                        EXPECT_NE(ReadAll(Out(sWritten)), "old");
                    }
                    if (w.bThere && sWritten != sOwn) {
                        EXPECT_EQ(ReadAll(Out(sOwn)), "old");
                    }
                }
            }
        }
    }
}

// What the person types into the save dialog for a name with dots of its own: another filter
// gives the name that filter's type, and only a type typed after the last dot is taken as one.
TEST_F(ActionSaveTest, OnlyATypedTypeAfterTheDotsOfANameChangesTheFormat)
{
    const struct
    {
        std::int32_t lFormat;
        const char* sTyped;
        int nFilter; // -1: the one the dialog starts with
        const char* sWritten;
        std::int32_t lFormatAfter;
        const char* sRefused; // the type an error names, or nullptr
    } aCases[] = {
        {detail::kXlsx, "Bericht 1.2", 1, "Bericht 1.2.xls", detail::kXls, nullptr},
        {detail::kXlsx, "Bericht 11.12.2026", 2, "Bericht 11.12.2026.xlsm", detail::kXlsm, nullptr},
        {detail::kXlsx, "Bericht 1.2.XLSM", -1, "Bericht 1.2.XLSM", detail::kXlsm, nullptr},
        {detail::kCsv, "Bericht 1.2.Html", -1, "Bericht 1.2.Html", detail::kHtml, nullptr},
        {detail::kCsv, "Bericht 11.12.2026.htm", -1, "Bericht 11.12.2026.htm", detail::kHtml,
         nullptr},
        {detail::kHtml, "Bericht 11.12.2026.csv", -1, "Bericht 11.12.2026.csv", detail::kCsv,
         nullptr},
        {detail::kCsv, "Bericht 1.2.txt", -1, nullptr, detail::kCsv, "txt"},
        {detail::kHtml, "Plan v1.2.PDF", -1, nullptr, detail::kHtml, "PDF"},
    };
    const ClientVersion oClient("16.0.0");
    Save().SetAction(0);
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.sTyped);
        std::filesystem::remove_all(Out(""));
        std::filesystem::create_directories(Out(""));
        Save().SetReportFormat(c.lFormat);
        Save().SetReportTemplate("");
        pf::Driver::current().QueueDialogAnswer(c.sTyped, c.nFilter);
        std::string sError;
        try {
            Save().Execute();
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), -718605812);
            sError = e.Description();
        }
        EXPECT_EQ(Save().ReportFormat(), c.lFormatAfter);
        if (c.sRefused) {
            EXPECT_NE(sError.find(std::string("Dateityp ") + c.sRefused + " wird"),
                      std::string::npos)
                << sError;
            EXPECT_TRUE(Save().SavedAs().empty());
            EXPECT_TRUE(std::filesystem::is_empty(Out("")));
        } else {
            EXPECT_EQ(sError, "");
            EXPECT_EQ(Save().SavedAs(), Out(c.sWritten));
            EXPECT_TRUE(std::filesystem::is_regular_file(Out(c.sWritten)));
        }
    }
}

TEST_F(ActionSaveTest, WorkbookAndTemplateDialogsOfferTheFormatsTheClientVersionKnows)
{
    using Patterns = std::vector<std::string>;
    const struct
    {
        const char* sVersion;
        std::int32_t lFormat;
        Patterns aSave;
        Patterns aTemplate;
    } aCases[] = {
        {"16.0.0",
         detail::kXlsx,
         {"*.xlsx", "*.xls", "*.xlsm"},
         {"*.xltx", "*.xltm", "*.xlt", "*.xlsx", "*.xlsm", "*.xls"}},
        {"12.0.0",
         detail::kXlsm,
         {"*.xlsm", "*.xlsx", "*.xls"},
         {"*.xltx", "*.xltm", "*.xlt", "*.xlsx", "*.xlsm", "*.xls"}},
        {"16.0.0",
         detail::kXls,
         {"*.xls", "*.xlsx", "*.xlsm"},
         {"*.xltx", "*.xltm", "*.xlt", "*.xlsx", "*.xlsm", "*.xls"}},
        {"11.0.0", detail::kXlsx, {"*.xls"}, {"*.xlt", "*.xls"}},
        {"11.0.0", detail::kXlsm, {"*.xls"}, {"*.xlt", "*.xls"}},
        {"16.0.0", detail::kHtml, {"*.html"}, {"*.html"}},
    };
    const auto patterns = [](const pf::FileDialog::Request& oRequest) {
        Patterns a;
        for (const auto& oFilter : oRequest.filters)
            a.push_back(oFilter.pattern);
        return a;
    };
    Save().SetAction(0);
    for (const auto& c : aCases) {
        SCOPED_TRACE(std::string(c.sVersion) + " format " + std::to_string(c.lFormat));
        common::modOLVersion::ResetOutlookVersion();
        common::modMain::G().g_oOutlookApp =
            std::make_shared<platform::outlook::Application>(c.sVersion);
        Save().SetReportFormat(c.lFormat);
        std::vector<pf::FileDialog::Request> aAsked;
        for (int i = 0; i < 2; ++i)
            pf::Driver::current().QueueDialog([&](pf::CommonDialog& oDialog) {
                aAsked.push_back(dynamic_cast<pf::FileDialog&>(oDialog).GetRequest());
                return false;
            });
        Save().Execute();
        Save().PickTemplate();
        ASSERT_EQ(aAsked.size(), 2u);
        EXPECT_EQ(patterns(aAsked[0]), c.aSave);
        EXPECT_EQ(patterns(aAsked[1]), c.aTemplate);
        EXPECT_EQ(aAsked[1].kind, pf::DialogKind::OpenFile);
        if (c.lFormat == detail::kXlsx && c.aSave.size() == 3) {
            EXPECT_EQ(aAsked[0].filters[0].description, "Excel-Arbeitsmappe (*.xlsx)");
        }
    }
    common::modMain::G().g_oOutlookApp.reset();
    common::modOLVersion::ResetOutlookVersion();
}

TEST_F(ActionSaveTest, DialogCasesCancelUnsupportedTypeAndMissingFolder)
{
    // Cancelled: nothing written, nothing recorded.
    Save().SetAction(0);
    pf::Driver::current().QueueDialogAnswer("");
    Save().Execute();
    EXPECT_TRUE(Save().SavedAs().empty());
    EXPECT_FALSE(std::filesystem::exists(Out("Report.csv")));

    // A type no writer takes.
    pf::Driver::current().QueueDialogAnswer("Report.txt");
    try {
        Save().Execute();
        ADD_FAILURE() << "no error for .txt";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), -718605812);
        EXPECT_NE(e.Description().find("txt"), std::string::npos) << e.Description();
    }
    EXPECT_TRUE(Save().SavedAs().empty());
    EXPECT_EQ(Window().aPointers.back(), 0);

    // No folder with a direct save: the dialog asks, and the setting stays on the dialog.
    Save().SetAction(1);
    Save().SetPath("");
    pf::Driver::current().QueueDialogAnswer(Out("Dialog.csv"));
    Save().Execute();
    EXPECT_EQ(Save().Action(), 0);
    EXPECT_EQ(Save().SavedAs(), Out("Dialog.csv"));

    // No name: the dialog offers none, not a bare extension (a hidden file with no name).
    Save().SetFilename("");
    std::optional<std::string> oOffered;
    pf::Driver::current().QueueDialog([&](pf::CommonDialog& oDialog) {
        oOffered = dynamic_cast<pf::FileDialog&>(oDialog).Name();
        return false;
    });
    Save().Execute();
    EXPECT_EQ(oOffered.value_or("(no dialog)"), "");
    Save().SetFilename("Report");

    // An existing file under rule 0 asks too; the answer replaces it after the question.
    Save().SetAction(1);
    Save().SetPath(Out(""));
    Save().SetReportExists(0);
    Touch("Report.csv");
    pf::Driver::current().QueueDialogAnswer("Report.csv");
    pf::Driver::current().QueueMsgBoxAnswer(6); // Yes: replace it
    Save().Execute();
    EXPECT_EQ(Save().SavedAs(), Out("Report.csv"));
    EXPECT_EQ(ParseCsv(ReadAll(Out("Report.csv")))[0][0], "Betreff");
}

TEST_F(ActionSaveTest, NothingWrittenLeavesSavedAsEmptyAndSaysSo)
{
    // An empty report: no dialog, no file, no message.
    NoticeRecorder oNotices;
    const auto oRead = oRecords;
    oRecords = std::make_shared<engine::Records>();
    Save().SetAction(0);
    Save().Execute();
    EXPECT_TRUE(Save().SavedAs().empty());
    EXPECT_TRUE(pf::Driver::current().Dialogs().empty());
    // Nothing to save is no save that failed.
    EXPECT_TRUE(oNotices.TakeNotDone().empty());
    oRecords = oRead;

    // PDF writes no file; an overwritten file the writer left alone is no saved report.
    const struct
    {
        std::int32_t lFormat;
        bool bHideColumns;
        const char* sName;
    } aCases[] = {{detail::kPdf, false, "Report.pdf"}, {detail::kCsv, true, "Report.csv"}};
    Save().SetAction(1);
    for (const auto& c : aCases) {
        Save().SetReportFormat(c.lFormat);
        Save().SetReportExists(2);
        Touch(c.sName);
        for (int col = 1; c.bHideColumns && col < fg.Cols(); ++col)
            fg.SetColHidden(col, true);
        const auto nBoxes = pf::Driver::current().MessageBoxes().size();
        Save().Execute();
        EXPECT_TRUE(Save().SavedAs().empty()) << c.sName;
        ASSERT_EQ(pf::Driver::current().MessageBoxes().size(), nBoxes + 1) << c.sName;
        EXPECT_NE(pf::Driver::current().MessageBoxes().back().prompt.find(c.sName),
                  std::string::npos);
        EXPECT_EQ(ReadAll(Out(c.sName)), "old");
        // The program around hears it too, with the message's words.
        const auto vNotDone = oNotices.TakeNotDone();
        ASSERT_EQ(vNotDone.size(), 1U) << c.sName;
        EXPECT_EQ(vNotDone[0].detail, pf::Driver::current().MessageBoxes().back().prompt);
    }
}

TEST_F(ActionSaveTest, ASaveThatFailsIsHeardAsNotDoneWithItsReason)
{
    NoticeRecorder oNotices;
    // A folder stands where the report goes: the writer refuses it.
    std::filesystem::create_directories(Out("Report.csv"));
    Save().SetAction(1);
    Save().SetReportFormat(detail::kCsv);
    Save().SetReportExists(2);
    std::optional<platform::runtime::Error> oError;
    try {
        Save().Execute();
    } catch (const platform::runtime::Error& e) {
        oError = e;
    }
    ASSERT_TRUE(oError);
    EXPECT_TRUE(Save().SavedAs().empty());
    const auto vNotDone = oNotices.TakeNotDone();
    ASSERT_EQ(vNotDone.size(), 1U);
    EXPECT_EQ(vNotDone[0].detail, oError->Description());
    // The fixture runs in German.
    EXPECT_NE(vNotDone[0].detail.find("es ist ein Ordner"), std::string::npos)
        << vNotDone[0].detail;
}

TEST_F(ActionSaveTest, PickersSetPathAndFittingTemplates)
{
    std::filesystem::create_directories(Out("Ziel"));
    pf::Driver::current().QueueDialogAnswer(Out("Ziel"));
    Save().PickPath();
    EXPECT_EQ(Save().Path(), Out("Ziel") + "/");

    Touch("vorlage.xltx");
    Touch("seite.htm");
    Save().SetReportFormat(detail::kXlsx);
    pf::Driver::current().QueueDialogAnswer(Out("seite.htm"));
    Save().PickTemplate();
    EXPECT_NE(Save().ReportTemplate(), Out("seite.htm")); // an HTML file is no workbook
    pf::Driver::current().QueueDialogAnswer(Out("vorlage.xltx"));
    Save().PickTemplate();
    EXPECT_EQ(Save().ReportTemplate(), Out("vorlage.xltx"));

    // Delimited text takes no template: no dialog.
    Save().SetReportFormat(detail::kCsv);
    const auto nDialogs = pf::Driver::current().Dialogs().size();
    Save().PickTemplate();
    EXPECT_EQ(pf::Driver::current().Dialogs().size(), nDialogs);
}

// A character no file name can hold, by each way it can reach the save's name (the file name,
// the folder, a placeholder's value, the file dialog's answer): nothing is written, no folder
// made, nothing mailed or printed; the message names the character and holds none raw.
TEST_F(ActionSaveTest, AControlCharacterInTheNameWritesMailsAndPrintsNothing)
{
    namespace pm = platform::mapi;
    const auto mails = [] {
        long n = 0;
        for (const long lFolder : {pm::olFolderDrafts, pm::olFolderOutbox, pm::olFolderSentMail})
            n += common::modRedemption::g_Session()->GetDefaultFolder(lFolder)->GetItems()->Count();
        return n;
    };
    const std::string sDate = Save().GetPlaceholder(4), sSubject = Save().GetPlaceholder(2);
    struct Way
    {
        const char* sWhat;
        std::function<void(const std::string&)> fnGive; // puts the bad text where it goes
    };
    const Way aWays[] = {
        {"file name",
         [&](const std::string& s) { Save().SetFilename("Monatsbericht " + sDate + s); }},
        {"folder", [&](const std::string& s) { Save().SetPath(Out("Ablage " + s)); }},
        {"subject placeholder",
         [&](const std::string& s) {
             oReport->Filter()->SetSubjectCondition(engine::trContains, s);
             Save().SetFilename("Monatsbericht " + sSubject);
         }},
        {"file dialog",
         [&](const std::string& s) {
             Save().SetAction(0);
             pf::Driver::current().QueueDialogAnswer(Out("Monatsbericht " + s + ".csv"));
         }},
    };
    oReport->Action()->GetSendAction()->SetAutoExecute(true);
    oReport->Action()->GetPrintAction()->SetAutoExecute(true);
    Save().SetAutoExecute(true);
    for (const auto& bad : host_test::BadTexts())
        for (const Way& way : aWays) {
            // A value reaches a placeholder only from a form, which hands on UTF-8 text alone;
            // the text functions make other bytes replacement characters on the way.
            if (!bad.bUtf8 && std::string(way.sWhat) == "subject placeholder")
                continue;
            SCOPED_TRACE(std::string(way.sWhat) + " " + host_test::NameOf(bad));
            pf::Driver::current().Reset();
            Save().SetAction(1);
            Save().SetPath(PathOf("out"));
            Save().SetFilename("Report");
            way.fnGive("X" + bad.sBytes + "Y");
            // A mail would be shown: a window that takes none makes it a failure.
            ASSERT_NO_THROW(oReport->Action()->AutoExecute(false));
            EXPECT_TRUE(Save().SavedAs().empty()) << Save().SavedAs();
            EXPECT_TRUE(std::filesystem::is_empty(PathOf("out")));
            EXPECT_EQ(mails(), 0);
            const auto& vBoxes = pf::Driver::current().MessageBoxes();
            ASSERT_EQ(vBoxes.size(), 1u);
            EXPECT_NE(vBoxes[0].prompt.find(host_test::NameOf(bad)), std::string::npos)
                << vBoxes[0].prompt;
            EXPECT_NE(vBoxes[0].prompt.find("nicht gespeichert"), std::string::npos)
                << vBoxes[0].prompt;
            EXPECT_EQ(host_test::RawControlAt(vBoxes[0].prompt), std::string::npos)
                << vBoxes[0].prompt;
        }
}

TEST_F(ActionSaveTest, AutomaticSaveRunsFromTheActionSet)
{
    Save().SetAutoExecute(true);
    oReport->Action()->AutoExecute(true);
    EXPECT_TRUE(Save().SavedAs().empty()); // skipped
    oReport->Action()->AutoExecute(false);
    EXPECT_EQ(Save().SavedAs(), Out("Report.csv"));
}

} // namespace

} // namespace actions::test
