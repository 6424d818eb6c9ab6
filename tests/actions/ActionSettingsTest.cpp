#include "actions/Action.h"
#include "common/modLanguage.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace actions {
namespace {

namespace rt = platform::runtime;
namespace lang = common::modLanguage;

class ActionSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        lang::ResetLanguageForTests();
        m_oAction.AsIChild().Init(nullptr, "ignored");
    }
    void TearDown() override { lang::ResetLanguageForTests(); }

    static std::vector<std::string> Fields(const std::string& s)
    {
        std::vector<std::string> a{""};
        for (char c : s) {
            if (c == '\0')
                a.emplace_back();
            else
                a.back() += c;
        }
        return a;
    }

    Action m_oAction;
};

TEST_F(ActionSettingsTest, InitialSettings)
{
    EXPECT_EQ(m_oAction.Key(), "");
    const auto& s = *m_oAction.GetSaveAction();
    EXPECT_EQ(s.Parent(), &m_oAction);
    EXPECT_EQ(s.ReportFormat(), 1);
    EXPECT_TRUE(s.PrintHeader());
    EXPECT_EQ(s.TemplateExcelFirstCell(), "A1");
    EXPECT_TRUE(s.ReportTemplate().ends_with("/samples/modern.html")) << s.ReportTemplate();
    EXPECT_EQ(s.ReportHeader(), "Report: ");
    EXPECT_EQ(s.ReportFooter(), "Created:  [@Date]");
    EXPECT_EQ(m_oAction.GetOpenAction()->Editor(), 1);
    EXPECT_EQ(m_oAction.GetPrintAction()->PrinterSettings(), nullptr);
    EXPECT_EQ(m_oAction.GetDeleteAction()->Parent(), &m_oAction);

    lang::SetLanguageID(lang::LANG_GERMAN);
    Action oGerman;
    oGerman.AsIChild().Init(nullptr);
    EXPECT_EQ(oGerman.GetSaveAction()->ReportFooter(), "Erstellt:  [@Datum]");
    EXPECT_EQ(oGerman.GetSaveAction()->GetPlaceholder(0), "[@Zeitraum]");
    EXPECT_EQ(oGerman.GetSaveAction()->GetPlaceholder(6), "");
}

TEST_F(ActionSettingsTest, SaveSetterRules)
{
    auto& s = *m_oAction.GetSaveAction();
    s.SetPath("/tmp/berichte");
    EXPECT_EQ(s.Path(), "/tmp/berichte/");
    s.SetPath("");
    EXPECT_EQ(s.Path(), "");
    s.SetReportExists(1);
    EXPECT_EQ(s.ReportExists(), 0);
    s.SetReportExists(3);
    EXPECT_EQ(s.ReportExists(), 3);
    s.SetPrintSubtotalsOnly(true);
    EXPECT_TRUE(s.PrintSubtotals());
    s.SetPrintSubtotals(false);
    EXPECT_FALSE(s.PrintSubtotalsOnly());
    s.SetTemplateExcelFirstCell("   ");
    EXPECT_EQ(s.TemplateExcelFirstCell(), "A1");
    s.SetTemplateExcelFirstCell(" B3");
    EXPECT_EQ(s.TemplateExcelFirstCell(), " B3");
}

TEST_F(ActionSettingsTest, SettingsStringLayout)
{
    const std::string sNew = m_oAction.ToString();
    EXPECT_EQ(std::count(sNew.begin(), sNew.end(), '\0'), 38);
    const auto a = Fields(sNew);
    EXPECT_EQ(a[0], "0");                                             // delete
    EXPECT_EQ(std::vector<std::string>(a.begin() + 1, a.begin() + 4), // open
              (std::vector<std::string>{"0", "0", "1"}));
    EXPECT_EQ(std::vector<std::string>(a.begin() + 4, a.begin() + 21),
              (std::vector<std::string>{"0", "0", "0", "", "", "", "", "", "", "", "", "", "", "",
                                        "", "", ""}));
}

TEST_F(ActionSettingsTest, PrintFieldsWithoutSettings)
{
    auto& p = *m_oAction.GetPrintAction();
    p.SetActive(true);
    p.SetPrintAction(1);
    const auto a = Fields(p.ToString());
    ASSERT_EQ(a.size(), 17u);
    EXPECT_EQ(a[0], "1");
    EXPECT_EQ(a[1], "0");
    EXPECT_EQ(a[2], "1");
    EXPECT_TRUE(std::all_of(a.begin() + 3, a.end(), [](const auto& s) { return s.empty(); }));
    EXPECT_EQ(Fields(m_oAction.GetSendAction()->ToString()),
              (std::vector<std::string>{"0", "0", "0", "", "", "0", "", ""}));
}

TEST_F(ActionSettingsTest, SettingsStringRoundTrip)
{
    auto& s = *m_oAction.GetSaveAction();
    s.SetAutoExecute(true);
    s.SetAction(1);
    s.SetFilename("Bericht");
    s.SetPath("/x");
    s.SetPrintHeader(false);
    s.SetPrintSubtotals(true);
    s.SetReportExists(4);
    s.SetReportFormat(5);
    s.SetReportTemplate("/t.xltx");
    s.SetTemplateExcelFirstCell("C2");
    m_oAction.GetOpenAction()->SetEditor(2);
    m_oAction.GetOpenAction()->SetActive(true);
    m_oAction.GetDeleteAction()->SetAutoExecute(true);
    auto& m = *m_oAction.GetSendAction();
    m.SetMailAction(1);
    m.SetMailTemplate("/m.oft");
    m.SetTemplateEntryID("E");
    m.SetTemplateSource(2);
    m.SetTemplateStoreID("S");
    m.SetTemplateSubject("Betreff");
    m_oAction.GetPrintAction()->SetAutoExecute(true);
    std::string sData = m_oAction.ToString();

    Action oOther;
    oOther.AsIChild().Init(nullptr);
    oOther.ToObject(sData);
    EXPECT_EQ(oOther.ToString(), sData);
    EXPECT_EQ(oOther.GetSaveAction()->Path(), "/x/");
    EXPECT_EQ(oOther.GetSendAction()->TemplateSubject(), "Betreff");

    // Direct storage, except ReportExists through its setter.
    std::string sSave = std::string("1\0"
                                    "1\0"
                                    "f\0"
                                    "/nope\0"
                                    "1\0"
                                    "1\0"
                                    "1\0"
                                    "0\0"
                                    "t\0"
                                    "",
                                    22);
    oOther.GetSaveAction()->ToObject(sSave);
    EXPECT_EQ(oOther.GetSaveAction()->Path(), "/nope");
    EXPECT_EQ(oOther.GetSaveAction()->ReportExists(), 0);
    EXPECT_EQ(oOther.GetSaveAction()->TemplateExcelFirstCell(), "");
    std::string sOpen = std::string("2.5\0"
                                    "x\0"
                                    "2.5",
                                    9);
    oOther.GetOpenAction()->ToObject(sOpen);
    EXPECT_TRUE(oOther.GetOpenAction()->Active());
    EXPECT_FALSE(oOther.GetOpenAction()->AutoExecute());
    EXPECT_EQ(oOther.GetOpenAction()->Editor(), 2);
}

TEST_F(ActionSettingsTest, ShortStringsFailAfterTheChildrenBefore)
{
    std::string sShort = std::string("1\0"
                                     "1\0"
                                     "1\0"
                                     "3",
                                     7);
    try {
        m_oAction.ToObject(sShort);
        FAIL() << "no error raised";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), 9);
    }
    EXPECT_TRUE(m_oAction.GetDeleteAction()->AutoExecute());
    EXPECT_EQ(m_oAction.GetOpenAction()->Editor(), 3);
    std::string sEmpty;
    EXPECT_THROW(m_oAction.GetDeleteAction()->ToObject(sEmpty), rt::Error);
    std::string sTwo = std::string("1\0"
                                   "1",
                                   3);
    EXPECT_THROW(m_oAction.GetSendAction()->ToObject(sTwo), rt::Error);
}

} // namespace
} // namespace actions
