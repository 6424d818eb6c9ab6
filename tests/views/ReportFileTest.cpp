#include "ViewsFixture.h"

#include "actions/Action.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Notices.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/xml/Document.h"
#include "views/Templates.h"

#include "views/XmlHandler.h"
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sys/stat.h>
#include <thread>

namespace views::test {
namespace {

namespace rt = platform::runtime;
namespace px = platform::xml;

class ReportFileTest : public ViewsFixture
{
protected:
    std::string FilePath() const { return (DataFolder() / "reports.xml").string(); }
    std::string ReadFileText() const
    {
        std::ifstream oIn(FilePath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
    }
    void WriteFileText(const std::string& sText) const
    {
        std::filesystem::create_directories(DataFolder());
        std::ofstream(FilePath(), std::ios::binary) << sText;
    }
    std::shared_ptr<Templates> Loaded() const
    {
        auto oTemplates = std::make_shared<Templates>();
        oTemplates->Load();
        return oTemplates;
    }
    // A complete view element of the given layout, built by hand as older releases wrote it.
    static std::string ReportXml(const std::string& sName, bool bWithDontShowTime,
                                 const std::string& sFields =
                                     "<Field><Key>Start</Key><Caption>Beginn</Caption>"
                                     "<Alignment>1</Alignment><Format></Format>"
                                     "<Visible>True</Visible><Width>1200</Width>"
                                     "<Calculation>0</Calculation><CalculatedColKey/></Field>")
    {
        std::string s = "<Report><Name>" + sName +
                        "</Name><CountItems>True</CountItems><DisplayFunctionName>False"
                        "</DisplayFunctionName><DisplayOnlyResults>True</DisplayOnlyResults>";
        if (bWithDontShowTime)
            s += "<DontShowTime>True</DontShowTime>";
        s += "<Actions><ActionDelete><AutoExec>True</AutoExec></ActionDelete>"
             "<ActionOpen><Active>False</Active><AutoExec>False</AutoExec><Editor>2</Editor>"
             "</ActionOpen><ActionPrint><Active>False</Active><AutoExec>False</AutoExec>"
             "<PrintAction>0</PrintAction></ActionPrint><ActionSave><AutoExec>False</AutoExec>"
             "<Action>1</Action><FileName>Bericht</FileName><Path>/tmp/</Path>"
             "<PrintHeader>True</PrintHeader><PrintSubtotals>False</PrintSubtotals>"
             "<ReportExists>2</ReportExists><ReportFormat>0</ReportFormat><ReportTemplate/>"
             "<TemplateExcelFirstCell>B2</TemplateExcelFirstCell><ReportHeader>H</ReportHeader>"
             "<ReportFooter>F</ReportFooter></ActionSave><ActionSend><Active>False</Active>"
             "<AutoExec>False</AutoExec><MailAction>1</MailAction></ActionSend></Actions>"
             "<Folders/><Groups/><Sorts/><Fields>" +
             sFields +
             "</Fields><Filter><Cats>A;B</Cats><CatCompare>1</CatCompare></Filter></Report>";
        return s;
    }
    static std::string FileXml(const std::string& sVersionAttr, const std::string& sReports)
    {
        return "<?xml version=\"1.0\"?><Reports" + sVersionAttr + ">" + sReports + "</Reports>";
    }
};

// Every setting changed from its initial value.
void ChangeEverything(ViewSettings& oView, ViewsFixture& oFixture, const st::FolderInfo& oFolder)
{
    oView.SetCalculateItemsCount(true);
    oView.SetDisplayFunctionName(true);
    oView.SetDisplayResultsOnly(true);
    oView.SetDontShowTime(true);
    oView.Folders()->Add(oFixture.DataOf(oFolder));
    for (int i = 0; i < 3; ++i) {
        oView.GroupByLevel(i)->SetApply(true);
        oView.GroupByLevel(i)->ColKey = i == 0 ? kKeywordsKey : (i == 1 ? "Start" : "End");
        oView.GroupByLevel(i)->SortOrder = 1;
        oView.GroupByLevel(i)->DateGroupBy = i + 3;
        oView.SortByLevel(i)->Apply = true;
        oView.SortByLevel(i)->ColKey = i == 0 ? "Duration" : kSubjectKey;
        oView.SortByLevel(i)->SortOrder = 1;
    }
    auto oStart = oView.Fields()->Item(rt::Variant("Start"));
    oStart->SetCaption("Beginn <am>");
    oStart->SetAlignmentSettings(4);
    oStart->SetFormat("dd.mm.yyyy hh:nn");
    oStart->SetVisible(false);
    oStart->SetWidth(-1);
    oStart->SetCalculation(4);
    oStart->SetCalculatedColKey("2c");
    auto& a = *oView.Action();
    a.GetDeleteAction()->SetAutoExecute(true);
    a.GetOpenAction()->SetActive(true);
    a.GetOpenAction()->SetAutoExecute(true);
    a.GetOpenAction()->SetEditor(2);
    a.GetPrintAction()->SetActive(true);
    a.GetPrintAction()->SetAutoExecute(true);
    a.GetPrintAction()->SetPrintAction(1);
    auto& s = *a.GetSaveAction();
    s.SetAutoExecute(true);
    s.SetAction(1);
    s.SetFilename("Bericht [@Datum]");
    s.SetPath("/home/jörg/Berichte");
    s.SetPrintHeader(false);
    s.SetReportExists(3);
    s.SetReportFormat(4);
    s.SetReportTemplate("/vorlagen/a.xltx");
    s.SetTemplateExcelFirstCell("C3");
    s.SetReportHeader("Kopf & Fuß");
    s.SetReportFooter("Fußzeile");
    s.SetPrintSubtotalsOnly(true);
    auto& m = *a.GetSendAction();
    m.SetActive(true);
    m.SetAutoExecute(true);
    m.SetMailAction(1);
    m.SetMailTemplate("/vorlagen/mail.oft");
    m.SetTemplateEntryID("00AB");
    m.SetTemplateSource(2);
    m.SetTemplateStoreID("00CD");
    m.SetTemplateSubject("Wochenbericht");
    auto& f = *oView.Filter();
    f.SetCategoryCondition(engine::trEquals, {"Büro", "Privat"}, true);
    f.SetTimeCondition(engine::trStartDate, engine::trTimeBetween,
                       rt::Variant(rt::DateSerial(2024, 3, 1)),
                       rt::Variant(rt::DateSerial(2024, 5, 31)));
    f.SetSubjectCondition(engine::trContains, "Projekt");
    f.SetTaskStatusCondition(engine::trEquals, engine::trTaskComplete);
    f.SetCompanyCondition(engine::trContains, {"Müller GmbH", "", "Beta"}, true);
    f.SetContactCondition(engine::trEquals, {"Anna"}, false);
    f.SetLocationCondition(engine::trContains, "Raum 1");
}

TEST_F(ReportFileTest, EverySettingSurvivesTheFile)
{
    Templates oTemplates;
    auto oView = std::make_shared<ViewSettings>();
    oView->CreateNew("Alles");
    ChangeEverything(*oView, *this, Folder(st::FolderRole::Calendar));
    oTemplates.Add(oView);
    oTemplates.Save();

    const auto oLoaded = Loaded();
    ASSERT_EQ(oLoaded->Count(), 1);
    const auto oRead = oLoaded->Item(rt::Variant("alles"));
    ASSERT_TRUE(oRead);
    EXPECT_FALSE(oRead->IsLoaded());
    EXPECT_EQ(oRead->Name(), "Alles");
    EXPECT_FALSE(oRead->IsLoaded()); // the name does not load the view
    EXPECT_TRUE(oRead->CalculateItemsCount());
    EXPECT_TRUE(oRead->IsLoaded());
    EXPECT_TRUE(oRead->DisplayFunctionName());
    EXPECT_TRUE(oRead->DisplayResultsOnly());
    EXPECT_TRUE(oRead->DontShowTime());
    ASSERT_EQ(oRead->Folders()->Count(), 1);
    EXPECT_EQ(oRead->Folders()->Item(1)->EntryID(), Folder(st::FolderRole::Calendar).entryId);
    EXPECT_EQ(oRead->Folders()->Item(1)->StoreID(), Store().EntryId());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(oRead->GroupByLevel(i)->Apply(), oView->GroupByLevel(i)->Apply());
        EXPECT_EQ(oRead->GroupByLevel(i)->ColKey, oView->GroupByLevel(i)->ColKey);
        EXPECT_EQ(oRead->GroupByLevel(i)->SortOrder, 1);
        EXPECT_EQ(oRead->GroupByLevel(i)->DateGroupBy, i + 3);
        EXPECT_TRUE(oRead->SortByLevel(i)->Apply);
        EXPECT_EQ(oRead->SortByLevel(i)->ColKey, oView->SortByLevel(i)->ColKey);
        EXPECT_EQ(oRead->SortByLevel(i)->SortOrder, 1);
    }
    ASSERT_EQ(oRead->Fields()->Count(), oView->Fields()->Count());
    for (std::int32_t i = 1; i <= oView->Fields()->Count(); ++i) {
        const auto w = oView->Fields()->Item(rt::Variant(i));
        const auto r = oRead->Fields()->Item(rt::Variant(i));
        EXPECT_EQ(r->Key(), w->Key());
        EXPECT_EQ(r->Caption(), w->Caption());
        EXPECT_EQ(r->AlignmentSettings(), w->AlignmentSettings());
        EXPECT_EQ(r->Format(), w->Format());
        EXPECT_EQ(r->Visible(), w->Visible());
        EXPECT_EQ(r->Width(), w->Width());
        EXPECT_EQ(r->Calculation(), w->Calculation());
        EXPECT_EQ(r->CalculatedColKey(), w->CalculatedColKey());
        EXPECT_EQ(r->DataType(), w->DataType());
        EXPECT_EQ(r->PropertyType(), w->PropertyType());
        EXPECT_EQ(r->MappingValue(), w->MappingValue());
    }
    EXPECT_EQ(oRead->Action()->ToString(), oView->Action()->ToString());
    const auto& rs = *oRead->Action()->GetSaveAction();
    EXPECT_EQ(rs.ReportHeader(), "Kopf & Fuß");
    EXPECT_EQ(rs.ReportFooter(), "Fußzeile");
    EXPECT_TRUE(rs.PrintSubtotalsOnly());
    EXPECT_EQ(rs.Path(), "/home/jörg/Berichte/");
    const auto& w = *oView->Filter();
    const auto& r = *oRead->Filter();
    EXPECT_EQ(r.Category(), w.Category());
    EXPECT_EQ(r.CategoryCompare(), w.CategoryCompare());
    EXPECT_EQ(r.CategoryAND(), w.CategoryAND());
    EXPECT_EQ(r.FilterOnField(), w.FilterOnField());
    EXPECT_EQ(r.RestrictTime(), w.RestrictTime());
    EXPECT_EQ(r.FromDate().Serial(), w.FromDate().Serial());
    EXPECT_EQ(r.ToDate().Serial(), w.ToDate().Serial());
    EXPECT_EQ(r.Subject(), w.Subject());
    EXPECT_EQ(r.SubjectCompare(), w.SubjectCompare());
    EXPECT_EQ(r.TaskStatus(), w.TaskStatus());
    EXPECT_EQ(r.TaskStatusCompare(), w.TaskStatusCompare());
    EXPECT_EQ(r.Company(), w.Company());
    EXPECT_EQ(r.CompanyCompare(), w.CompanyCompare());
    EXPECT_EQ(r.CompanyAND(), w.CompanyAND());
    EXPECT_EQ(r.Contact(), w.Contact());
    EXPECT_EQ(r.ContactCompare(), w.ContactCompare());
    EXPECT_EQ(r.ContactAND(), w.ContactAND());
    EXPECT_EQ(r.Location(), w.Location());
    EXPECT_EQ(r.LocationCompare(), w.LocationCompare());
}

TEST_F(ReportFileTest, FileLayoutAndInvariantValueTexts)
{
    Templates oTemplates;
    auto oView = std::make_shared<ViewSettings>();
    oView->CreateNew("Layout");
    oView->Filter()->SetTimeCondition(engine::trStartDate, engine::trTimeBetween,
                                      rt::Variant(rt::DateSerial(2024, 12, 24)),
                                      rt::Variant(rt::DateSerial(2024, 12, 31)));
    oTemplates.Add(oView);
    oTemplates.Save();
    const std::string sText = ReadFileText();
    EXPECT_EQ(sText.rfind("<?xml version=\"1.0\" encoding=\"UNICODE\"", 0), 0u) << sText;
    px::Document oDoc;
    ASSERT_TRUE(oDoc.LoadXml(sText));
    const px::Node oRoot = oDoc.DocumentElement();
    EXPECT_EQ(oRoot.GetAttribute("version"), "94");
    std::vector<std::string> aNames;
    for (const auto& o : oRoot.FirstChild().ChildNodes())
        aNames.push_back(o.NodeName());
    EXPECT_EQ(aNames, (std::vector<std::string>{"Name", "CountItems", "DisplayFunctionName",
                                                "DisplayOnlyResults", "DontShowTime", "Actions",
                                                "Folders", "Groups", "Sorts", "Fields", "Filter"}));
    const px::Node oReport = oRoot.FirstChild();
    EXPECT_EQ(oReport.ChildNodes().Item(1).Text(), "False");
    EXPECT_EQ(oReport.ChildNodes().Item(5).ChildNodes().Item(2).ChildNodes().Length(), 3);
    const px::NodeList oFilter = oReport.ChildNodes().Item(10).ChildNodes();
    ASSERT_EQ(oFilter.Length(), 19);
    EXPECT_EQ(oFilter.Item(5).Text(), "2024-12-24 00:00:00");
    EXPECT_EQ(oFilter.Item(6).Text(), "2024-12-31 23:59:59");
}

TEST_F(ReportFileTest, NeverOpenedViewsAreWrittenBackUnchanged)
{
    const std::string sReport = ReportXml("Alt", true);
    WriteFileText(FileXml(" version=\"70\"", sReport + ReportXml("Zwei", true)));
    auto oTemplates = Loaded();
    ASSERT_EQ(oTemplates->Count(), 2);
    const std::string sKept = oTemplates->Item(rt::Variant("Alt"))->XmlNode().Xml();
    oTemplates->Item(rt::Variant("Zwei"))->SetDisplayResultsOnly(false);
    oTemplates->Save();
    px::Document oDoc;
    ASSERT_TRUE(oDoc.LoadXml(ReadFileText()));
    EXPECT_EQ(oDoc.DocumentElement().FirstChild().Xml(), sKept);
    EXPECT_EQ(oDoc.DocumentElement().ChildNodes().Item(1).ChildNodes().Item(3).Text(), "False");
}

TEST_F(ReportFileTest, DontShowTimeDependsOnTheFileVersion)
{
    struct Case
    {
        std::string sVersion;
        bool bWithElement;
        std::int32_t lGlobal;
        bool bDontShowTime;
    };
    const Case aCases[] = {
        {" version=\"61\"", false, 61, false},
        {" version=\"62\"", true, 62, true},
        {"", false, -1, false},
        {" version=\"neu\"", false, 0, false},
    };
    for (const auto& c : aCases) {
        WriteFileText(FileXml(c.sVersion, ReportXml("V", c.bWithElement)));
        auto oTemplates = Loaded();
        EXPECT_EQ(common::modMain::G().g_lReportFileVersion, c.lGlobal) << c.sVersion;
        auto oView = oTemplates->Item(rt::Variant("V"));
        ASSERT_TRUE(oView);
        EXPECT_EQ(oView->DontShowTime(), c.bDontShowTime) << c.sVersion;
        EXPECT_TRUE(oView->CalculateItemsCount());
        EXPECT_TRUE(oView->DisplayResultsOnly());
        EXPECT_EQ(oView->Action()->GetOpenAction()->Editor(), 2) << c.sVersion;
        EXPECT_EQ(oView->Action()->GetSaveAction()->TemplateExcelFirstCell(), "B2");
        EXPECT_FALSE(oView->Action()->GetSaveAction()->PrintSubtotalsOnly());
        EXPECT_EQ(oView->Action()->GetSendAction()->MailAction(), 1);
        EXPECT_EQ(oView->Filter()->Category(), (std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(oView->Fields()->Item(rt::Variant("Start"))->Caption(), "Beginn");
    }
}

TEST_F(ReportFileTest, AnOldNeverOpenedViewStillLoadsAfterSaving)
{
    WriteFileText(FileXml(" version=\"61\"", ReportXml("Alt", false)));
    Loaded()->Save();
    const auto oTemplates = Loaded();
    EXPECT_EQ(common::modMain::G().g_lReportFileVersion, 94);
    const auto oView = oTemplates->Item(rt::Variant("Alt"));
    ASSERT_TRUE(oView);
    EXPECT_FALSE(oView->DontShowTime());
    EXPECT_EQ(oView->Action()->GetOpenAction()->Editor(), 2);
    EXPECT_EQ(oView->Filter()->Category(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ReportFileTest, RenamingLoadsAndWritingKeepsTheNewElement)
{
    WriteFileText(FileXml(" version=\"94\"", ReportXml("Alt", true)));
    auto oTemplates = Loaded();
    auto oView = oTemplates->Item(rt::Variant("Alt"));
    const px::Node oRead = oView->XmlNode();
    oView->SetName("Neu");
    EXPECT_TRUE(oView->IsLoaded());
    oTemplates->Save();
    EXPECT_FALSE(oView->XmlNode() == oRead);
    EXPECT_EQ(oView->XmlNode().FirstChild().Text(), "Neu");
    EXPECT_EQ(Loaded()->Item(rt::Variant(1))->Name(), "Neu");
}

TEST_F(ReportFileTest, ChildrenAreReadByPositionNotByName)
{
    std::string sRenamed = ReportXml("P", true);
    for (const char* sTag : {"CountItems", "Actions", "Filter", "Fields", "Key"}) {
        for (const std::string sForm : {"<", "</"}) {
            std::string::size_type lAt = 0;
            const std::string sFrom = sForm + sTag + ">";
            while ((lAt = sRenamed.find(sFrom, lAt)) != std::string::npos)
                sRenamed.replace(lAt, sFrom.size(), sForm + "X" + sTag + ">");
        }
    }
    WriteFileText(FileXml(" version=\"94\"", sRenamed));
    auto oView = Loaded()->Item(rt::Variant("P"));
    ASSERT_TRUE(oView);
    EXPECT_TRUE(oView->CalculateItemsCount());
    EXPECT_EQ(oView->Action()->GetOpenAction()->Editor(), 2);
    EXPECT_EQ(oView->Fields()->Count(), 1);

    // Swapping two children changes what is read.
    std::string sSwapped = ReportXml("S", true);
    sSwapped.replace(sSwapped.find("<CountItems>True</CountItems>"), 29,
                     "<CountItems>False</CountItems>");
    sSwapped.replace(sSwapped.find("<DisplayFunctionName>False</DisplayFunctionName>"), 48,
                     "<DisplayFunctionName>True</DisplayFunctionName>");
    WriteFileText(FileXml(" version=\"94\"", sSwapped));
    oView = Loaded()->Item(rt::Variant("S"));
    EXPECT_FALSE(oView->CalculateItemsCount());
    EXPECT_TRUE(oView->DisplayFunctionName());
}

TEST_F(ReportFileTest, EmptyAndForeignFilesGiveNoTemplates)
{
    EXPECT_EQ(Loaded()->Count(), 0); // no file at all
    WriteFileText("");
    EXPECT_EQ(Loaded()->Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(FilePath() + ".bak"));

    const std::string sForeign = "Dies ist keine XML-Datei <<<";
    WriteFileText(sForeign);
    EXPECT_EQ(Loaded()->Count(), 0);
    EXPECT_EQ(common::modMain::G().g_lReportFileVersion, -1);
    ASSERT_TRUE(std::filesystem::exists(FilePath() + ".bak"));
    std::ifstream oBak(FilePath() + ".bak", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(oBak), {}), sForeign);
    std::ifstream oLog(DataFolder() / "error.txt");
    EXPECT_TRUE(oLog.good()) << "the failure is logged";

    WriteFileText("<?xml version=\"1.0\"?><Other/>");
    EXPECT_EQ(Loaded()->Count(), 0);
    EXPECT_TRUE(std::filesystem::exists(FilePath() + ".1.bak"));
}

TEST_F(ReportFileTest, AnUnreadableFileIsKeptAsideAndTheUserToldOnceInTheirLanguage)
{
    struct Case
    {
        const char* sWhat;
        std::string sText;
        long lLanguage;
        const char* sWords; // of the message in that language
        const char* sReason;
    };
    std::string sDeep = "<?xml version=\"1.0\"?><Reports>";
    for (int i = 0; i < 50000; ++i)
        sDeep += "<Report>";
    for (int i = 0; i < 50000; ++i)
        sDeep += "</Report>";
    sDeep += "</Reports>";
    const std::vector<Case> aCases = {
        {"not XML", "Dies ist keine XML-Datei <<<", common::modLanguage::LANG_GERMAN,
         "konnten nicht gelesen werden", "(Zeile 1: ein Tag, das nicht erkannt wird)"},
        {"no Reports", "<?xml version=\"1.0\"?><Other/>", common::modLanguage::LANG_ENGLISH,
         "could not be read", "(no \"Reports\" element)"},
        {"no Reports in German", "<?xml version=\"1.0\"?><Other/>",
         common::modLanguage::LANG_GERMAN, "konnten nicht gelesen werden",
         "(kein Element „Reports“)"},
        {"nested 50000 deep", sDeep, common::modLanguage::LANG_ENGLISH, "could not be read",
         "(line 1: elements are nested deeper than"},
        {"nested 50000 deep in German", sDeep, common::modLanguage::LANG_GERMAN,
         "konnten nicht gelesen werden", "(Zeile 1: die Elemente sind tiefer als"},
    };
    // The hosts run the add-in and the platform in one language; the reason comes from the
    // platform's XML reader, the words around it from the add-in.
    const std::string sLocaleBefore = platform::locale::Current().name;
    auto& oDriver = platform::forms::Driver::current();
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.sWhat);
        std::filesystem::remove_all(DataFolder());
        common::modLanguage::SetLanguageID(c.lLanguage);
        platform::locale::SetCurrent(c.lLanguage == common::modLanguage::LANG_GERMAN ? "de-DE"
                                                                                     : "en-US");
        oDriver.Reset();
        WriteFileText(c.sText);
        EXPECT_EQ(Loaded()->Count(), 0);
        ASSERT_EQ(oDriver.MessageBoxes().size(), 1U);
        const std::string& sPrompt = oDriver.MessageBoxes()[0].prompt;
        EXPECT_NE(sPrompt.find(c.sWords), std::string::npos) << sPrompt;
        EXPECT_NE(sPrompt.find(c.sReason), std::string::npos) << sPrompt;
        EXPECT_NE(sPrompt.find(FilePath() + ".bak"), std::string::npos) << sPrompt;
        std::ifstream oBak(FilePath() + ".bak", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(oBak), {}), c.sText);
        // The next start finds the same file: kept already, the user is not told again.
        oDriver.Reset();
        EXPECT_EQ(Loaded()->Count(), 0);
        EXPECT_TRUE(oDriver.MessageBoxes().empty());
        EXPECT_FALSE(std::filesystem::exists(FilePath() + ".1.bak"));
    }
    platform::locale::SetCurrent(sLocaleBefore);
    oDriver.Reset();
}

TEST_F(ReportFileTest, AFileThatIsAFolderFailsTheLoadSayingWhyAndWhatToDoInTheUsersLanguage)
{
    struct Case
    {
        long lLanguage;
        std::vector<std::string> vSaid;
    };
    const std::string sFile = FilePath();
    for (const auto& c : std::vector<Case>{
             {common::modLanguage::LANG_ENGLISH,
              {"The report templates in \"" + sFile +
               "\" cannot be read: it is a folder, not a "
               "file.\r\nRename or move the folder \"" +
               sFile + "\" away"}},
             {common::modLanguage::LANG_GERMAN,
              {"Die Berichtvorlagen in „" + sFile +
               "“ können nicht gelesen werden: es ist ein "
               "Ordner, keine Datei.\r\nBenennen Sie den Ordner „" +
               sFile + "“ um"}},
         }) {
        SCOPED_TRACE(c.lLanguage);
        common::modLanguage::SetLanguageID(c.lLanguage);
        std::filesystem::remove_all(DataFolder());
        std::filesystem::create_directories(FilePath());
        try {
            Loaded();
            ADD_FAILURE() << "a folder loaded as report templates";
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), rt::errors::PathFileAccess);
            for (const auto& sSaid : c.vSaid)
                EXPECT_NE(e.Description().find(sSaid), std::string::npos) << e.Description();
            EXPECT_EQ(e.Description().find("basic_filebuf"), std::string::npos) << e.Description();
        }
        // Nothing was written or kept aside.
        EXPECT_TRUE(std::filesystem::is_empty(FilePath()));
        EXPECT_FALSE(std::filesystem::exists(FilePath() + ".bak"));
    }
}

TEST_F(ReportFileTest, APipeOrADeviceInThePlaceOfTheFileFailsTheLoadUnopened)
{
    struct Case
    {
        const char* sWhat;
        long lLanguage;
        std::string sSaid;
    };
    const std::string sFile = FilePath();
    const std::string sEnglish = "The report templates in \"" + sFile +
                                 "\" cannot be read: it is not a file but a pipe, a device or a "
                                 "socket.\r\nRename or move \"" +
                                 sFile + "\" away";
    const std::string sGerman = "Die Berichtvorlagen in „" + sFile +
                                "“ können nicht gelesen werden: es ist keine Datei, sondern eine "
                                "Pipe, ein Gerät oder ein Socket.\r\nBenennen Sie „" +
                                sFile + "“ um";
    for (const auto& c : std::vector<Case>{
             {"a pipe", common::modLanguage::LANG_ENGLISH, sEnglish},
             {"a pipe", common::modLanguage::LANG_GERMAN, sGerman},
             {"a link to a device", common::modLanguage::LANG_ENGLISH, sEnglish},
             {"a link to a device", common::modLanguage::LANG_GERMAN, sGerman},
         }) {
        SCOPED_TRACE(std::string(c.sWhat) + " " + std::to_string(c.lLanguage));
        common::modLanguage::SetLanguageID(c.lLanguage);
        std::filesystem::remove_all(DataFolder());
        std::filesystem::create_directories(DataFolder());
        const bool bPipe = std::string(c.sWhat) == "a pipe";
        if (bPipe)
            ASSERT_EQ(::mkfifo(sFile.c_str(), 0600), 0);
        else
            std::filesystem::create_symlink("/dev/null", sFile);
        // Should the load open the pipe after all, this writer lets it go on instead of
        // waiting for good: it opens the pipe's other end once a reader is there, and closes it.
        std::atomic<bool> bDone{false};
        std::thread oWriter([&] {
            for (int i = 0; bPipe && !bDone && i < 3000; ++i) {
                const int fd = ::open(sFile.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    ::close(fd);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        try {
            Loaded();
            ADD_FAILURE() << "loaded as report templates";
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), rt::errors::PathFileAccess);
            EXPECT_NE(e.Description().find(c.sSaid), std::string::npos) << e.Description();
        }
        bDone = true;
        oWriter.join();
        // It stays what it was, and nothing was kept aside.
        EXPECT_EQ(std::filesystem::is_fifo(std::filesystem::symlink_status(sFile)), bPipe);
        EXPECT_EQ(std::filesystem::is_symlink(std::filesystem::symlink_status(sFile)), !bPipe);
        EXPECT_FALSE(std::filesystem::exists(sFile + ".bak"));
    }
    std::filesystem::remove_all(DataFolder());
}

TEST_F(ReportFileTest, DatesOfEitherOriginalLocaleAreReadByTheirFormAndUnreadOnesKept)
{
    struct Case
    {
        std::string sFrom, sTo;               // as stored
        std::string sFromRead, sToRead;       // the filter's dates after reading, ISO
        std::string sFromWritten, sToWritten; // as written back unchanged
    };
    const std::vector<Case> aCases = {
        {"3/4/2026", "12/31/2026 11:59:59 PM", "2026-03-04 00:00:00", "2026-12-31 23:59:59",
         "2026-03-04 00:00:00", "2026-12-31 23:59:59"},
        {"4.3.2026 00:00:00", "31.12.2026 23:59:59", "2026-03-04 00:00:00", "2026-12-31 23:59:59",
         "2026-03-04 00:00:00", "2026-12-31 23:59:59"},
        {"2026-03-04 00:00:00", "1/5/27", "2026-03-04 00:00:00", "2027-01-05 23:59:59",
         "2026-03-04 00:00:00", "2027-01-05 23:59:59"},
        {"kein Datum", "31.2.2026", "1899-12-30 00:00:00", "1899-12-30 00:00:00", "kein Datum",
         "31.2.2026"},
        // The calendar's last month reads like any other.
        {"1.12.9999", "9999-12-31 23:59:59", "9999-12-01 00:00:00", "9999-12-31 23:59:59",
         "9999-12-01 00:00:00", "9999-12-31 23:59:59"},
        {"12/31/9999", "31.12.9999 23:59:59", "9999-12-31 00:00:00", "9999-12-31 23:59:59",
         "9999-12-31 00:00:00", "9999-12-31 23:59:59"},
        {"32.12.9999", "29.2.9999", "1899-12-30 00:00:00", "1899-12-30 00:00:00", "32.12.9999",
         "29.2.9999"},
    };
    for (const char* sLocale : {"de-DE", "en-US"}) {
        platform::locale::SetCurrent(sLocale);
        for (const auto& c : aCases) {
            SCOPED_TRACE(std::string(sLocale) + " " + c.sFrom + " | " + c.sTo);
            std::string sReport = ReportXml("Datum", true);
            const std::string sFilter =
                "<Filter><Cats>A;B</Cats><CatCompare>1</CatCompare></Filter>";
            sReport.replace(sReport.find(sFilter), sFilter.size(),
                            "<Filter><Cats/><CatCompare>0</CatCompare><CatAnd>False</CatAnd>"
                            "<DateField>2</DateField><RestrictTime>5</RestrictTime><FromDate>" +
                                c.sFrom + "</FromDate><ToDate>" + c.sTo + "</ToDate></Filter>");
            WriteFileText(FileXml(" version=\"94\"", sReport));
            auto oTemplates = Loaded();
            auto oFilter = oTemplates->Item(rt::Variant("Datum"))->Filter();
            EXPECT_EQ(XmlHandler::ValueText(rt::Variant(oFilter->FromDate())), c.sFromRead);
            EXPECT_EQ(XmlHandler::ValueText(rt::Variant(oFilter->ToDate())), c.sToRead);
            oTemplates->Save();
            const auto FilterTexts = [&] {
                px::Document oDoc;
                EXPECT_TRUE(oDoc.LoadXml(ReadFileText()));
                const px::NodeList o =
                    oDoc.DocumentElement().FirstChild().ChildNodes().Item(10).ChildNodes();
                return std::pair{o.Item(5).Text(), o.Item(6).Text()};
            };
            EXPECT_EQ(FilterTexts(), std::pair(c.sFromWritten, c.sToWritten));
            // A date the user sets is written, the unread text is not kept any longer.
            oFilter->SetTimeCondition(engine::trStartDate, engine::trTimeBetween,
                                      rt::Variant(rt::DateSerial(2026, 6, 1)),
                                      rt::Variant(rt::DateSerial(2026, 6, 30)));
            oTemplates->Save();
            EXPECT_EQ(FilterTexts(), std::pair(std::string("2026-06-01 00:00:00"),
                                               std::string("2026-06-30 23:59:59")));
        }
    }
}

TEST_F(ReportFileTest, DuplicatesUnknownKeysAndBareFields)
{
    const std::string sFields =
        "<Field><Key>NoSuchField</Key><Caption>X</Caption></Field>"
        "<Field><Key>End</Key></Field>"
        "<Field><Key>Start</Key><Caption>Beginn</Caption><Alignment>1</Alignment>"
        "<Format/><Visible>Wahr</Visible><Width>99</Width></Field>";
    std::string sSecond = ReportXml("doppelt", true);
    sSecond.replace(sSecond.find("<Editor>2</Editor>"), 18, "<Editor>0</Editor>");
    WriteFileText(
        FileXml(" version=\"94\"", ReportXml("Doppelt", true, sFields) + sSecond + "<!-- c -->"));
    const auto oTemplates = Loaded();
    ASSERT_EQ(oTemplates->Count(), 1);
    const auto oView = oTemplates->Item(rt::Variant(1));
    EXPECT_EQ(oView->Name(), "Doppelt");
    EXPECT_EQ(oView->Action()->GetOpenAction()->Editor(), 2);
    ASSERT_EQ(oView->Fields()->Count(), 2);
    const auto oEnd = oView->Fields()->Item(rt::Variant(1));
    EXPECT_EQ(oEnd->Key(), "End");
    EXPECT_EQ(oEnd->Caption(), Field("End")->Caption());
    EXPECT_EQ(oEnd->AlignmentSettings(), 0);
    EXPECT_EQ(oEnd->Format(), "");
    EXPECT_FALSE(oEnd->Visible());
    EXPECT_EQ(oEnd->Width(), 0);
    EXPECT_EQ(oEnd->Calculation(), 0);
    const auto oStart = oView->Fields()->Item(rt::Variant(2));
    EXPECT_TRUE(oStart->Visible()); // the German word an older release wrote
    EXPECT_EQ(oStart->Width(), 99);
}

TEST_F(ReportFileTest, BadValuesFailTheViewEveryTime)
{
    std::string sBad = ReportXml("Kaputt", true);
    sBad.replace(sBad.find("<Editor>2</Editor>"), 18, "<Editor>zwei</Editor>");
    WriteFileText(FileXml(" version=\"94\"", sBad));
    const auto oTemplates = Loaded();
    const auto oView = oTemplates->Item(rt::Variant("Kaputt"));
    for (int i = 0; i < 2; ++i) {
        try {
            oView->DisplayResultsOnly();
            FAIL() << "no error raised";
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), 13);
        }
        EXPECT_FALSE(oView->IsLoaded());
    }
    const std::string sKept = oView->XmlNode().Xml();
    oTemplates->Save();
    EXPECT_EQ(Loaded()->Item(rt::Variant("Kaputt"))->XmlNode().Xml(), sKept);
}

TEST_F(ReportFileTest, FilesOfTheOriginalInUtf16AreRead)
{
    const std::string sUtf8 = "<?xml version=\"1.0\" encoding=\"UNICODE\"?>" +
                              FileXml(" version=\"94\"", ReportXml("Übersicht", true)).substr(21);
    std::string sUtf16 = "\xFF\xFE";
    // The test text is ASCII except for the name's umlaut.
    for (std::size_t i = 0; i < sUtf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(sUtf8[i]);
        if (c == 0xC3) {
            sUtf16 += static_cast<char>(0xC0 + (static_cast<unsigned char>(sUtf8[++i]) - 0x80));
            sUtf16 += '\0';
        } else {
            sUtf16 += static_cast<char>(c);
            sUtf16 += '\0';
        }
    }
    WriteFileText(sUtf16);
    const auto oView = Loaded()->Item(rt::Variant("Übersicht"));
    ASSERT_TRUE(oView);
    EXPECT_TRUE(oView->DontShowTime());
}

TEST_F(ReportFileTest, AFailedSaveKeepsTheOldFile)
{
    Templates oTemplates;
    auto oView = std::make_shared<ViewSettings>();
    oView->CreateNew("Erste");
    oTemplates.Add(oView);
    oTemplates.Save();
    const std::string sBefore = ReadFileText();
    auto oSecond = std::make_shared<ViewSettings>();
    oSecond->CreateNew("Zweite");
    oTemplates.Add(oSecond);
    rt::ReplacingFile::FailNextWriteForTesting();
    EXPECT_THROW(oTemplates.Save(), rt::Error);
    EXPECT_EQ(ReadFileText(), sBefore);
}

TEST_F(ReportFileTest, EveryTextAUserCanTypeRoundTripsAndTextThatIsNotUtf8IsNeverWritten)
{
    std::string sAscii;
    for (char c = 0x20; c < 0x7F; ++c)
        sAscii += c;
    struct Case
    {
        const char* name;
        std::string sText;
    };
    // What a keyboard, a paste or a terminal can give.
    for (const auto& c : std::vector<Case>{
             {"printable ASCII", sAscii},
             {"the controls XML holds", "a\tb\x7F\xC2\x80\xC2\x85\xC2\x9Fz"},
             {"two lines", "Kopf\r\nzweite Zeile"},
             {"German", "Müller Öl Äpfel Übermaß ß ẞ €"},
             {"other scripts", "Ελληνικά Русский עברית العربية 日本語 한국어 हिन्दी"},
             {"beyond the first plane", "\xF0\x9F\x98\x80 \xF0\x9D\x84\x9E \xF4\x8F\xBF\xBD"},
             {"combining marks and odd ones",
              "e\xCC\x81 \xEF\xBB\xBF \xEF\xBF\xBD \xE2\x80\xA8 \xC2\xA0"},
             {"markup", "<Name>&amp;</Name> ]]> <!-- \" ' &#1;"},
             {"blanks at the ends", "  A  "},
         }) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(FilePath());
        Templates oTemplates;
        auto oView = std::make_shared<ViewSettings>();
        oView->CreateNew("T" + c.sText);
        oView->Filter()->SetSubjectCondition(engine::trContains, c.sText);
        oTemplates.Add(oView);
        oTemplates.Save();
        const auto oLoaded = Loaded();
        ASSERT_EQ(oLoaded->Count(), 1);
        const auto oRead = oLoaded->Item(rt::Variant(1));
        EXPECT_EQ(oRead->Name(), "T" + c.sText);
        EXPECT_EQ(oRead->Filter()->Subject(), c.sText);
    }

    // Bytes that are not UTF-8 and characters XML cannot hold are refused at the writer, not
    // cut short: the file stays as it was, and the failure is told to whoever hosts the add-in.
    std::vector<rt::Notice> vNotices;
    rt::SetNoticeListener([&](const rt::Notice& n) { vNotices.push_back(n); });
    struct Bad
    {
        std::string sText;
        std::string sSaid; // what the reason says of it
    };
    std::vector<Bad> vBad;
    for (const std::string sBad :
         {"Bad\xFCName", "\x80", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        vBad.push_back({sBad, "UTF-8"});
    for (char c = 0x01; c < 0x20; ++c)
        if (c != '\t' && c != '\n' && c != '\r')
            vBad.push_back({std::string("a") + c + "z",
                            "U+00" + std::string(1, "01"[c >> 4]) + "0123456789ABCDEF"[c & 15]});
    vBad.push_back({std::string("Nul\0Name", 8), "U+0000"});
    vBad.push_back({"a\xEF\xBF\xBEz", "U+FFFE"});
    vBad.push_back({"a\xEF\xBF\xBFz", "U+FFFF"});
    for (const auto& [sBad, sSaid] : vBad) {
        for (const bool bInName : {true, false}) {
            SCOPED_TRACE(std::string(bInName ? "name, " : "subject, ") + sSaid + ", " +
                         std::to_string(sBad.size()));
            Templates oTemplates;
            auto oGood = std::make_shared<ViewSettings>();
            oGood->CreateNew("Gut");
            oTemplates.Add(oGood);
            oTemplates.Save();
            const std::string sBefore = ReadFileText();
            auto oView = std::make_shared<ViewSettings>();
            oView->CreateNew(bInName ? "X" + sBad : std::string("Filter"));
            oView->Filter()->SetSubjectCondition(engine::trContains, sBad);
            oTemplates.Add(oView);
            vNotices.clear();
            EXPECT_THROW(oTemplates.Save(), rt::Error);
            EXPECT_EQ(ReadFileText(), sBefore);
            EXPECT_EQ(Loaded()->Count(), 1);
            ASSERT_EQ(vNotices.size(), 1U);
            EXPECT_EQ(vNotices[0].kind, rt::Notice::Kind::NotWritten);
            EXPECT_EQ(vNotices[0].subject, FilePath());
            // The reason names the template, its name made readable.
            EXPECT_NE(vNotices[0].detail.find(bInName ? "\xEF\xBF\xBD" : "Filter"),
                      std::string::npos)
                << vNotices[0].detail;
            EXPECT_NE(vNotices[0].detail.find(sSaid), std::string::npos) << vNotices[0].detail;
        }
    }
    rt::SetNoticeListener({});
}

// A file an older release wrote may hold references such as "&#27;" that the loader takes:
// the save refuses that text as it refuses it typed, never writing a file other readers refuse.
TEST_F(ReportFileTest, TextThatXmlCannotHoldIsRefusedAlsoWhenItCameFromTheFile)
{
    std::vector<rt::Notice> vNotices;
    rt::SetNoticeListener([&](const rt::Notice& n) { vNotices.push_back(n); });
    struct Bad
    {
        const char* sReference;
        const char* sSaid;
    };
    const Bad aBad[] = {{"&#1;", "U+0001"},     {"&#01;", "U+0001"}, {"&#27;", "U+001B"},
                        {"&#x1f;", "U+001F"},   {"&#31;", "U+001F"}, {"&#xFFFE;", "U+FFFE"},
                        {"&#65535;", "U+FFFF"}, {"&#8;", "U+0008"}};
    for (const auto& [sReference, sSaid] : aBad) {
        // In the name and deep inside the actions; in a file of the current version (written
        // back as it was read) and of an older one (written back in the new layout).
        for (const bool bInName : {true, false}) {
            for (const char* sVersion : {" version=\"94\"", " version=\"61\""}) {
                SCOPED_TRACE(std::string(sReference) +
                             (bInName ? " in the name" : " in the header") + sVersion);
                const bool bCurrent = std::string(sVersion) == " version=\"94\"";
                std::string sBadReport =
                    ReportXml(bInName ? std::string("Alt") + sReference : "Alt", bCurrent);
                if (!bInName) {
                    const std::size_t nAt = sBadReport.find("<ReportHeader>H");
                    ASSERT_NE(nAt, std::string::npos);
                    sBadReport.insert(nAt + 15, sReference);
                }
                const std::string sFile =
                    FileXml(sVersion, ReportXml("Gut", bCurrent) + sBadReport);
                WriteFileText(sFile);
                auto oTemplates = Loaded();
                ASSERT_EQ(oTemplates->Count(), 2) << "the loader takes the reference";
                oTemplates->Item(rt::Variant("Gut"))->SetDisplayResultsOnly(false);
                vNotices.clear();
                EXPECT_THROW(oTemplates->Save(), rt::Error);
                EXPECT_EQ(ReadFileText(), sFile) << "the file stays as it was";
                ASSERT_EQ(vNotices.size(), 1U);
                EXPECT_EQ(vNotices[0].kind, rt::Notice::Kind::NotWritten);
                EXPECT_NE(vNotices[0].detail.find(sSaid), std::string::npos) << vNotices[0].detail;
                EXPECT_NE(vNotices[0].detail.find("\"Alt"), std::string::npos)
                    << vNotices[0].detail;
            }
        }
    }
    rt::SetNoticeListener({});
}

TEST_F(ReportFileTest, ARefusalShowsANameHoldingPlaceholdersAndBarsAsItStands)
{
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_ENGLISH);
    std::vector<rt::Notice> vNotices;
    rt::SetNoticeListener([&](const rt::Notice& n) { vNotices.push_back(n); });
    for (const std::string sName : {"Plan #1|X", "#0 #1 #2 | #9", "A|#1|"}) {
        SCOPED_TRACE(sName);
        Templates oTemplates;
        auto oView = std::make_shared<ViewSettings>();
        oView->CreateNew(sName);
        oView->Filter()->SetSubjectCondition(engine::trContains, "a\x1B"
                                                                 "z");
        oTemplates.Add(oView);
        vNotices.clear();
        EXPECT_THROW(oTemplates.Save(), rt::Error);
        ASSERT_EQ(vNotices.size(), 1U);
        EXPECT_NE(vNotices[0].detail.find("\"" + sName + "\" holds the character U+001B"),
                  std::string::npos)
            << vNotices[0].detail;
    }
    rt::SetNoticeListener({});
}

// A file too large for the memory left: the load either reads every template or stops with a
// message, and after a stop no save replaces the file. Each attempt runs in a child whose
// address space may grow by a little more than the last; the limits run from too little to
// parse the file to enough to read it whole, so that some stop inside the templates.
TEST_F(ReportFileTest, ALoadTheMemoryCannotHoldStopsAndNoSaveReplacesTheFile)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer cannot run under a limit of the address space";
#else
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_GERMAN);
    // Full templates, whose text takes most of the memory, and templates as short as a file
    // can hold them, whose views take more memory than their text.
    for (const bool bFull : {true, false}) {
        SCOPED_TRACE(bFull ? "full templates" : "short templates");
        const int kTemplates = bFull ? 1500 : 5000;
        std::string sReports;
        for (int i = 0; i < kTemplates; ++i)
            sReports += bFull ? ReportXml("T" + std::to_string(i), true)
                              : "<Report><Name>T" + std::to_string(i) + "</Name></Report>";
        const std::string sFile = FileXml(" version=\"94\"", sReports);
        WriteFileText(sFile);

        // "A<count>" all read; "S<W|K><=|!><N|n><message>" stopped (W a save wrote, K it was
        // refused; = the file as it was; N the host heard the file was not read); "P<count>" fewer
        // read without a word; "M" out of memory elsewhere.
        const auto Attempt = [&](std::size_t nMore) {
            int aPipe[2];
            if (pipe(aPipe) != 0)
                return std::string("no pipe");
            const pid_t nChild = fork();
            if (nChild == 0) {
                close(aPipe[0]);
                alarm(60);
                std::string sResult;
                {
                    Templates oTemplates;
                    bool bToldNotRead = false;
                    rt::SetNoticeListener([&](const rt::Notice& o) {
                        bToldNotRead = bToldNotRead || (o.kind == rt::Notice::Kind::NotRead &&
                                                        o.subject == FilePath());
                    });
                    long nPages = 0;
                    std::ifstream("/proc/self/statm") >> nPages;
                    const rlimit oLimit{static_cast<rlim_t>(nPages) * sysconf(_SC_PAGESIZE) + nMore,
                                        RLIM_INFINITY};
                    setrlimit(RLIMIT_AS, &oLimit);
                    try {
                        oTemplates.Load();
                        const int n = oTemplates.Count();
                        sResult = (n == kTemplates ? "A" : "P") + std::to_string(n);
                    } catch (const rt::Error& e) {
                        sResult = "S" + e.Description();
                    } catch (const std::bad_alloc&) {
                        sResult = "M";
                    }
                    const rlimit oNone{RLIM_INFINITY, RLIM_INFINITY};
                    setrlimit(RLIMIT_AS, &oNone);
                    if (sResult[0] == 'S') {
                        bool bWrote = true;
                        try {
                            oTemplates.Save();
                        } catch (const rt::Error&) {
                            bWrote = false;
                        }
                        sResult.insert(1, std::string(bWrote ? "W" : "K") +
                                              (ReadFileText() == sFile ? "=" : "!") +
                                              (bToldNotRead ? "N" : "n"));
                    }
                }
                const ssize_t nWritten = write(aPipe[1], sResult.data(), sResult.size());
                _exit(nWritten == static_cast<ssize_t>(sResult.size()) ? 0 : 1);
            }
            close(aPipe[1]);
            std::string sResult;
            char aBuffer[4096];
            for (ssize_t n = 0; (n = read(aPipe[0], aBuffer, sizeof aBuffer)) > 0;)
                sResult.append(aBuffer, static_cast<std::size_t>(n));
            close(aPipe[0]);
            int nStatus = 0;
            waitpid(nChild, &nStatus, 0);
            if (!WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
                return "ended abnormally, status " + std::to_string(nStatus) + ": " + sResult;
            return sResult;
        };

        int nStops = 0;
        bool bWhole = false;
        constexpr std::size_t kMiB = std::size_t(1) << 20;
        for (std::size_t nMore = sFile.size(); !bWhole && nMore < 512 * kMiB; nMore += 2 * kMiB) {
            const std::string sResult = Attempt(nMore);
            SCOPED_TRACE("address space " + std::to_string(nMore) +
                         " more: " + sResult.substr(0, 300));
            ASSERT_FALSE(sResult.empty());
            switch (sResult[0]) {
            case 'A':
                bWhole = true;
                break;
            case 'S':
                ++nStops;
                EXPECT_EQ(sResult.substr(1, 3), "K=N")
                    << "no save replaces the file after a stop, and the host hears of it";
                break;
            case 'M':
                break;
            case 'e':
                // The C library itself gave up for want of memory ("ended abnormally"): the
                // process ends before any save, so nothing is lost either.
                EXPECT_NE(sResult.find("status 6"), std::string::npos) << "only an abort";
                break;
            default:
                ADD_FAILURE() << "templates lost without a word";
            }
            if (sResult.rfind("SK=N", 0) == 0 &&
                sResult.find("Arbeitsspeicher") != std::string::npos) {
                EXPECT_NE(sResult.find(FilePath()), std::string::npos)
                    << "the message names the file";
            }
        }
        EXPECT_TRUE(bWhole) << "some limit lets the whole file be read";
        EXPECT_GT(nStops, 0) << "some limit stops the load inside the templates";
    }
#endif
}

TEST_F(ReportFileTest, ASaveKeepsAVersionAnotherProgramWroteAsideAndSaysWhereOnce)
{
    auto& oDriver = platform::forms::Driver::current();
    oDriver.Reset();
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_ENGLISH);
    const auto Add = [](Templates& oTemplates, const char* sName) {
        auto oView = std::make_shared<ViewSettings>();
        oView->CreateNew(sName);
        oTemplates.Add(oView);
    };
    // Two report windows (of two processes) read the same file.
    WriteFileText("");
    auto oFirst = Loaded();
    auto oSecond = Loaded();
    Add(*oFirst, "Erste");
    oFirst->Save();
    const std::string sFirsts = ReadFileText();
    EXPECT_TRUE(oDriver.MessageBoxes().empty()) << "the first save replaces what it had read";
    EXPECT_FALSE(std::filesystem::exists(FilePath() + ".bak"));

    Add(*oSecond, "Zweite");
    oSecond->Save();
    EXPECT_NE(ReadFileText().find("<Name>Zweite</Name>"), std::string::npos);
    std::ifstream oBak(FilePath() + ".bak", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(oBak), {}), sFirsts);
    ASSERT_EQ(oDriver.MessageBoxes().size(), 1U);
    const std::string sPrompt = oDriver.MessageBoxes()[0].prompt;
    EXPECT_NE(sPrompt.find("changed by another program"), std::string::npos) << sPrompt;
    EXPECT_NE(sPrompt.find(FilePath() + ".bak"), std::string::npos) << sPrompt;

    // Its own file again: nothing to keep, nothing to say.
    oSecond->Save();
    EXPECT_EQ(oDriver.MessageBoxes().size(), 1U);
    EXPECT_FALSE(std::filesystem::exists(FilePath() + ".1.bak"));
    // The first window saves over the second's version: that one is kept too.
    oFirst->Save();
    EXPECT_EQ(oDriver.MessageBoxes().size(), 2U);
    std::ifstream oBak1(FilePath() + ".1.bak", std::ios::binary);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(oBak1), {}).find("<Name>Zweite</Name>"),
              std::string::npos);
    oDriver.Reset();
}

TEST_F(ReportFileTest, PrinterSettingsOfAMissingPrinterAreDropped)
{
    Templates oTemplates;
    auto oView = std::make_shared<ViewSettings>();
    oView->CreateNew("Druck");
    oView->Action()->GetPrintAction()->SetPrinterSettings(
        std::make_shared<printer::PrinterSettings>());
    oTemplates.Add(oView);
    oTemplates.Save();
    px::Document oDoc;
    ASSERT_TRUE(oDoc.LoadXml(ReadFileText()));
    const px::Node oPrint =
        oDoc.DocumentElement().FirstChild().ChildNodes().Item(5).ChildNodes().Item(2);
    EXPECT_EQ(oPrint.ChildNodes().Length(), 17);
    EXPECT_EQ(oPrint.ChildNodes().Item(12).NodeName(), "PrinterName");

    std::string sReport = ReportXml("Fort", true);
    sReport.replace(sReport.find("<PrintAction>0</PrintAction>"), 28,
                    "<PrintAction>1</PrintAction><Collate>True</Collate><Color>1</Color>"
                    "<Copies>3</Copies><FromPage>0</FromPage><Orientation>2</Orientation>"
                    "<PaperBin>1</PaperBin><PaperLength>0</PaperLength><PaperSize>9</PaperSize>"
                    "<PaperWidth>0</PaperWidth><PrinterName>NoSuchPrinter-4711</PrinterName>"
                    "<PrintWhat>0</PrintWhat><Quality>-3</Quality><ScaleOutput>100"
                    "</ScaleOutput><ToPage>0</ToPage>");
    WriteFileText(FileXml(" version=\"94\"", sReport));
    const auto oRead = Loaded()->Item(rt::Variant("Fort"));
    EXPECT_EQ(oRead->Action()->GetPrintAction()->PrintAction(), 1);
    EXPECT_EQ(oRead->Action()->GetPrintAction()->PrinterSettings(), nullptr);
}

TEST_F(ReportFileTest, TemplateCollectionKeysAndLinks)
{
    Templates oTemplates;
    auto oView = std::make_shared<ViewSettings>();
    oView->CreateNew("Woche");
    oTemplates.Add(oView);
    EXPECT_EQ(oView->Parent(), &oTemplates);
    auto oOther = std::make_shared<ViewSettings>();
    oOther->CreateNew("WOCHE");
    try {
        oTemplates.Add(oOther);
        FAIL() << "no error raised";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), 457);
    }
    EXPECT_EQ(oOther->Parent(), nullptr);
    EXPECT_EQ(oTemplates.Item(rt::Variant("woche")), oView);
    oTemplates.Remove(rt::Variant("nicht da"));
    EXPECT_EQ(oTemplates.Count(), 1);
    oTemplates.Remove(rt::Variant("Woche"));
    EXPECT_EQ(oView->Parent(), nullptr);
    EXPECT_EQ(oTemplates.Count(), 0);
}

TEST_F(ReportFileTest, FolderElementsLackingAnIdAreSkipped)
{
    const auto oCalendar = DataOf(Folder(st::FolderRole::Calendar));
    const auto oTasks = DataOf(Folder(st::FolderRole::Tasks));
    const std::string sStore = oCalendar->StoreID();
    const auto folder = [](const std::string& sChildren) {
        return "<Folder>" + sChildren + "</Folder>";
    };
    const std::string sFolders =
        "<Folders>" +
        folder("<EntryID>" + oCalendar->EntryID() + "</EntryID><StoreID>" + sStore + "</StoreID>") +
        folder("<EntryID>" + oTasks->EntryID() + "</EntryID>") +
        folder("<EntryID>" + oTasks->EntryID() + "</EntryID><StoreID/>") +
        folder("<StoreID>" + sStore + "</StoreID>") + // read as the entry id: no store id
        folder("<EntryID/><StoreID>" + sStore + "</StoreID>") + "<Folder/>" +
        folder("<EntryID>" + oTasks->EntryID() + "</EntryID><StoreID>" + sStore + "</StoreID>") +
        "</Folders>";
    std::string sReport = ReportXml("Ordner", true);
    sReport.replace(sReport.find("<Folders/>"), 10, sFolders);
    WriteFileText(FileXml(" version=\"94\"", sReport + ReportXml("Andere", true)));
    auto oTemplates = Loaded();
    const auto oView = oTemplates->Item(rt::Variant("Ordner"));
    ASSERT_TRUE(oView);
    const auto oFolders = oView->Folders();
    ASSERT_EQ(oFolders->Count(), 2);
    EXPECT_EQ(oFolders->Item(1)->EntryID(), oCalendar->EntryID());
    EXPECT_EQ(oFolders->Item(2)->EntryID(), oTasks->EntryID());
    for (const auto& oData : *oFolders)
        EXPECT_EQ(oData->StoreID(), sStore);
    EXPECT_EQ(oView->Filter()->Category(), (std::vector<std::string>{"A", "B"}));

    // The loaded view is written anew with the folders it holds; the other as it was read.
    const std::string sOther = oTemplates->Item(rt::Variant("Andere"))->XmlNode().Xml();
    oTemplates->Save();
    px::Document oDoc;
    ASSERT_TRUE(oDoc.LoadXml(ReadFileText()));
    const px::NodeList oReports = oDoc.DocumentElement().ChildNodes();
    ASSERT_EQ(oReports.Length(), 2);
    EXPECT_EQ(oReports.Item(0).ChildNodes().Item(6).ChildNodes().Length(), 2);
    EXPECT_EQ(oReports.Item(1).Xml(), sOther);
    EXPECT_EQ(Loaded()->Item(rt::Variant("Ordner"))->Folders()->Count(), 2);
}

TEST_F(ReportFileTest, LevelsNamingUnknownFieldsAreSwitchedOffAndTheRestMoveUp)
{
    const auto groupBy = [](const char* sApply, const std::string& sKey, int nDate, int nOrder) {
        return "<GroupBy><Apply>" + std::string(sApply) + "</Apply><ColKey>" + sKey +
               "</ColKey><DateGroupBy>" + std::to_string(nDate) + "</DateGroupBy><SortOrdner>" +
               std::to_string(nOrder) + "</SortOrdner></GroupBy>";
    };
    const auto sortBy = [](const char* sApply, const std::string& sKey, int nOrder) {
        return "<SortBy><Apply>" + std::string(sApply) + "</Apply><ColKey>" + sKey +
               "</ColKey><SortOrdner>" + std::to_string(nOrder) + "</SortOrdner></SortBy>";
    };
    std::string sReport = ReportXml("Ebenen", true);
    sReport.replace(sReport.find("<Groups/><Sorts/>"), 17,
                    "<Groups>" + groupBy("True", "NoSuchField", 4, 1) +
                        groupBy("True", "Start", 2, 1) + groupBy("False", "", 0, 0) +
                        "</Groups><Sorts>" + sortBy("True", kSubjectKey, 0) +
                        sortBy("True", "{00000000-0000-0000-0000-000000000000}/Nichts", 1) +
                        sortBy("True", "End", 1) + "</Sorts>");
    WriteFileText(FileXml(" version=\"94\"", sReport));
    auto oTemplates = Loaded();
    const auto oView = oTemplates->Item(rt::Variant("Ebenen"));
    ASSERT_TRUE(oView);
    // Group levels: the unknown first one is switched off and the second moves up.
    EXPECT_TRUE(oView->GroupByLevel(0)->Apply());
    EXPECT_EQ(oView->GroupByLevel(0)->ColKey, "Start");
    EXPECT_EQ(oView->GroupByLevel(0)->SortOrder, 1);
    EXPECT_FALSE(oView->GroupByLevel(1)->Apply());
    EXPECT_EQ(oView->GroupByLevel(1)->DateGroupBy, 0);
    EXPECT_FALSE(oView->GroupByLevel(2)->Apply());
    // Sort levels: the unknown middle one is switched off and the last moves up.
    EXPECT_TRUE(oView->SortByLevel(0)->Apply);
    EXPECT_EQ(oView->SortByLevel(0)->ColKey, kSubjectKey);
    EXPECT_TRUE(oView->SortByLevel(1)->Apply);
    EXPECT_EQ(oView->SortByLevel(1)->ColKey, "End");
    EXPECT_EQ(oView->SortByLevel(1)->SortOrder, 1);
    EXPECT_FALSE(oView->SortByLevel(2)->Apply);
    // The rest of the view is read.
    EXPECT_EQ(oView->Fields()->Count(), 1);
    EXPECT_EQ(oView->Action()->GetOpenAction()->Editor(), 2);

    // Written back, the unknown keys are gone and the file loads the same.
    oTemplates->Save();
    EXPECT_EQ(ReadFileText().find("NoSuchField"), std::string::npos);
    const auto oAgain = Loaded()->Item(rt::Variant("Ebenen"));
    EXPECT_EQ(oAgain->GroupByLevel(0)->ColKey, "Start");
    EXPECT_EQ(oAgain->SortByLevel(1)->ColKey, "End");
}

TEST_F(ReportFileTest, ElementsOutOfOrderLoadWhatTheyCanAndKeepTheRest)
{
    const auto swap = [](std::string s, const std::string& a, const std::string& b) {
        const auto i = s.find(a);
        const auto j = s.find(b);
        EXPECT_TRUE(i != std::string::npos && j != std::string::npos && i + a.size() == j);
        return s.replace(i, a.size() + b.size(), b + a);
    };
    const std::string sStartField =
        "<Field><Key>Start</Key><Caption>Beginn</Caption><Alignment>1</Alignment><Format/>"
        "<Visible>True</Visible><Width>1200</Width><Calculation>0</Calculation>"
        "<CalculatedColKey/></Field>";
    const std::string sEndField =
        "<Field><Key>End</Key><Caption>Ende</Caption><Alignment>1</Alignment><Format/>"
        "<Visible>True</Visible><Width>900</Width><Calculation>0</Calculation>"
        "<CalculatedColKey/></Field>";
    const std::string sFolder =
        "<Folders><Folder><EntryID>" + DataOf(Folder(st::FolderRole::Calendar))->EntryID() +
        "</EntryID><StoreID>" + Store().EntryId() + "</StoreID></Folder></Folders>";
    const auto withFolder = [&](std::string s) {
        return s.replace(s.find("<Folders/>"), 10, sFolder);
    };
    const std::string sPlain = ReportXml("X", true);
    const auto lActions = sPlain.find("<Actions>");
    const std::string sActions = sPlain.substr(lActions, sPlain.find("</Actions>") + 10 - lActions);

    // A column whose key is not its first child is dropped; the other columns load.
    std::string sField = swap(ReportXml("Spalten", true, sStartField + sEndField),
                              "<Key>Start</Key>", "<Caption>Beginn</Caption>");
    // Values of another type where the position expects them (the folders where the actions
    // belong, a level's key where its flag belongs): the view does not load.
    std::string sGroup = ReportXml("Gruppe", true);
    sGroup.replace(sGroup.find("<Groups/>"), 9,
                   "<Groups><GroupBy><ColKey>Start</ColKey><Apply>True</Apply></GroupBy></Groups>");
    const std::string sSwapped = swap(withFolder(ReportXml("Aktionen", true)), sActions, sFolder);
    WriteFileText(FileXml(" version=\"94\"", sField + sSwapped + sGroup + ReportXml("Gut", true)));

    auto oTemplates = Loaded();
    ASSERT_EQ(oTemplates->Count(), 4);
    const auto oField = oTemplates->Item(rt::Variant("Spalten"));
    ASSERT_EQ(oField->Fields()->Count(), 1);
    EXPECT_EQ(oField->Fields()->Item(rt::Variant(1))->Key(), "End");
    EXPECT_EQ(oField->Fields()->Item(rt::Variant(1))->Width(), 900);

    std::map<std::string, std::string> kept;
    for (const char* sName : {"Aktionen", "Gruppe"}) {
        SCOPED_TRACE(sName);
        const auto oView = oTemplates->Item(rt::Variant(sName));
        ASSERT_TRUE(oView);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(platform::mapi::test::RaisedNumber([&] { oView->CalculateItemsCount(); }),
                      std::optional<std::int32_t>(13));
            EXPECT_FALSE(oView->IsLoaded());
        }
        kept[sName] = oView->XmlNode().Xml();
    }
    EXPECT_TRUE(oTemplates->Item(rt::Variant("Gut"))->CalculateItemsCount());

    // Saved and read again: the damaged views are kept as they were, the file is not set
    // aside, and the other views still load.
    oTemplates->Save();
    EXPECT_FALSE(std::filesystem::exists(FilePath() + ".bak"));
    oTemplates = Loaded();
    ASSERT_EQ(oTemplates->Count(), 4);
    for (const auto& [sName, sXml] : kept)
        EXPECT_EQ(oTemplates->Item(rt::Variant(sName))->XmlNode().Xml(), sXml) << sName;
    EXPECT_EQ(oTemplates->Item(rt::Variant("Spalten"))->Fields()->Count(), 1);
    EXPECT_TRUE(oTemplates->Item(rt::Variant("Gut"))->DisplayResultsOnly());
}

} // namespace
} // namespace views::test
