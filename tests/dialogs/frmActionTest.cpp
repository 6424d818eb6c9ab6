#include "dialogs/frmAction.h"
#include "dialogs/frmTemplateDetail.h"
#include "dialogs/frmText.h"

#include "TemplateDialogsFixture.h"
#include "tests/host/ByteClasses.h"
#include "actions/Action.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "platform/forms/StandardControls.h"
#include "platform/outlook/Application.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace dialogs::test {
namespace {

namespace pf = platform::forms;
using Strings = std::vector<std::string>;

class frmActionTest : public TemplateDialogsFixture
{
protected:
    void SetUp() override
    {
        TemplateDialogsFixture::SetUp();
        SetClientVersion("16.0.0.0");
        m_oView = m_oTemplates->Item(std::string("Aufgaben"));
        m_oServices.Pickers = {
            [this](actions::ActionSave& o) { ++m_nPicked, o.SetPath(m_sFiles); },
            [this](actions::ActionSave& o) {
                ++m_nPicked, o.SetReportTemplate(File("vorlage.xlsx"));
            },
            [this](actions::ActionSend& o) { ++m_nPicked, o.SetMailTemplate(File("vorlage.msg")); },
            [this](actions::ActionPrint& o) {
                ++m_nPicked;
                o.SetPrinterSettings(std::make_shared<printer::PrinterSettings>());
            },
        };
        m_sFiles = (Dir() / "files").string();
        std::filesystem::create_directories(m_sFiles);
    }
    void TearDown() override
    {
        common::modMain::G().g_oOutlookApp.reset();
        common::modOLVersion::ResetOutlookVersion();
        TemplateDialogsFixture::TearDown();
    }

    static void SetClientVersion(const std::string& sVersion)
    {
        common::modMain::G().g_oOutlookApp =
            std::make_shared<platform::outlook::Application>(sVersion);
        common::modOLVersion::ResetOutlookVersion();
    }

    /// An existing file of that name in the test's folder.
    std::string File(const std::string& sName) const
    {
        const std::string sPath = m_sFiles + "/" + sName;
        std::ofstream(sPath) << "x";
        return sPath;
    }

    actions::ActionSave& Save() const { return *m_oView->Action()->GetSaveAction(); }
    actions::ActionOpen& Open() const { return *m_oView->Action()->GetOpenAction(); }
    actions::ActionSend& Send() const { return *m_oView->Action()->GetSendAction(); }
    actions::ActionPrint& Print() const { return *m_oView->Action()->GetPrintAction(); }
    actions::ActionDelete& Delete() const { return *m_oView->Action()->GetDeleteAction(); }

    /// Opens the action dialog for the template from its editor's actions button, answers it
    /// and cancels the editor (the dialog's OK has changed the template by then).
    void Run(const std::function<void(frmAction&)>& answer)
    {
        pf::Driver::current().QueueModal("frmTemplateDetail", [](pf::Form& oForm) {
            auto& oEditor = dynamic_cast<frmTemplateDetail&>(oForm);
            oEditor.cmdAutoAction().Click();
            oEditor.cmdCancel().Click();
        });
        pf::Driver::current().QueueModal(
            "frmAction", [&](pf::Form& oForm) { answer(dynamic_cast<frmAction&>(oForm)); });
        frmTemplateDetail oEditor(m_oServices);
        oEditor.ShowForm(m_oTemplates, m_oView);
    }

    static pf::CheckBox& Auto(frmAction& o, int i)
    {
        return o.Ctl<pf::CheckBox>("chkAutoExecute(" + std::to_string(i) + ")");
    }
    static Strings Entries(const pf::ComboBox& oCombo)
    {
        Strings v;
        for (int i = 0; i < oCombo.ListCount(); ++i)
            v.push_back(oCombo.List(i));
        return v;
    }
    /// "on" or "off" and "" or "disabled" per automatic-execution box, 0 to 4.
    static std::string AutoState(frmAction& o)
    {
        std::string s;
        for (int i = 0; i < 5; ++i)
            s += std::string(Auto(o, i).Value() ? "on" : "off") +
                 (Auto(o, i).Enabled() ? "" : "/disabled") + (i < 4 ? " " : "");
        return s;
    }
    std::vector<std::string> Prompts() const
    {
        std::vector<std::string> v;
        for (const auto& oBox : pf::Driver::current().MessageBoxes())
            v.push_back(oBox.prompt);
        return v;
    }

    std::shared_ptr<views::ViewSettings> m_oView;
    std::string m_sFiles;
    int m_nPicked = 0;
};

TEST_F(frmActionTest, FormatListFollowsTheClientVersion)
{
    struct Case
    {
        const char* version;
        Strings formats;
    };
    const Case aCases[] = {
        {"11.0.0.8312",
         {"Webseite (*.htm, *.html)", "Excel 97-2003-Arbeitsmappe (*.xls)",
          "Trennzeichen-getrennt (*.csv)"}},
        {"16.0.0.0",
         {"Webseite (*.htm, *.html)", "Excel-Arbeitsmappe (*.xlsx)",
          "Excel-Arbeitsmappe mit Makros (*.xlsm)", "Excel 97-2003-Arbeitsmappe (*.xls)",
          "Trennzeichen-getrennt (*.csv)"}},
    };
    for (const auto& c : aCases) {
        SetClientVersion(c.version);
        Save().SetReportFormat(2);
        Run([&](frmAction& o) {
            EXPECT_EQ(o.Caption(), " Aktionen festlegen");
            EXPECT_EQ(Entries(o.Ctl<pf::ComboBox>("cboFormat")), c.formats) << c.version;
            EXPECT_EQ(o.Ctl<pf::ComboBox>("cboFormat").Text(),
                      "Excel 97-2003-Arbeitsmappe (*.xls)");
            EXPECT_EQ(Entries(o.Ctl<pf::ComboBox>("cboOpenWithApp")), Strings{"Microsoft Excel"});
            EXPECT_EQ(o.Ctl<pf::Label>("lbl(4)").Caption(), "(Keine Angabe)");
        });
    }
}

TEST_F(frmActionTest, AFormatOutsideTheListStopsOnlyTheSaveGroup)
{
    SetClientVersion("11.0.0.8312");
    Save().SetReportFormat(4);
    Send().SetAutoExecute(true);
    Send().SetMailTemplate("/vorlagen/bericht.oft");
    Run([&](frmAction& o) {
        EXPECT_EQ(o.Ctl<pf::ComboBox>("cboFormat").ListIndex(), -1);
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtMailTemplate").Text(), "/vorlagen/bericht.oft");
        EXPECT_EQ(Auto(o, 2).Value(), 1);
        // The enabling rules take the delimited-text row.
        EXPECT_FALSE(o.Ctl<pf::CheckBox>("chkPrintHeader").Enabled());
        o.Ctl<pf::CommandButton>("cmdOK").Click();
        EXPECT_TRUE(o.IsLoaded());
        o.Ctl<pf::CommandButton>("cmdCancel").Click();
    });
    const auto vPrompts = Prompts();
    ASSERT_EQ(vPrompts.size(), 2u);
    EXPECT_EQ(vPrompts[0], vPrompts[1]);
    EXPECT_EQ(Save().ReportFormat(), 4);
}

TEST_F(frmActionTest, EverySettingIsStoredAndReadBackThroughTheFile)
{
    const std::string sTemplate = File("vorlage.xlsx");
    const std::string sMail = File("vorlage.msg");
    pf::Driver::current().QueueModal("frmText", [](pf::Form& oForm) {
        auto& oText = dynamic_cast<frmText&>(oForm);
        oText.txt(0).SetText("Kopf\r\nzweite Zeile");
        oText.txt(1).SetText("links;mitte;rechts");
        oText.cmdOK().Click();
    });
    Run([&](frmAction& o) {
        Auto(o, 0).SetValue(1);
        o.Ctl<pf::OptionButton>("optAutoSave(0)").SetValue(true);
        o.Ctl<pf::TextBox>("txtSavePath").SetText(m_sFiles);
        o.Ctl<pf::ComboBox>("cboFormat").SetListIndex(1); // xlsx
        o.Ctl<pf::TextBox>("txtFileName").SetText("Monat ");
        o.Ctl<pf::ComboBox>("cboPlaceholder").SetListIndex(4);
        o.Ctl<pf::CommandButton>("cmdAddPlaceholder").Click();
        o.Ctl<pf::ComboBox>("cboFileExist").SetListIndex(2);
        o.Ctl<pf::TextBox>("txtReportTemplate").SetText(" " + sTemplate + " ");
        o.Ctl<pf::TextBox>("txtFirstExcelCell").SetText("B3");
        o.Ctl<pf::CheckBox>("chkPrintHeader").SetValue(0);
        o.Ctl<pf::CheckBox>("chkExportTotalsOnly").SetValue(1);
        EXPECT_EQ(o.Ctl<pf::CheckBox>("chkPrintTotal").Value(), 1);
        o.Ctl<pf::CommandButton>("cmdHeaderFooter").Click();
        o.Ctl<pf::ComboBox>("cboOpenWithApp").SetListIndex(0);
        Auto(o, 2).SetValue(1);
        o.Ctl<pf::OptionButton>("optMail(0)").SetValue(true);
        o.Ctl<pf::TextBox>("txtMailTemplate").SetText(sMail);
        o.Ctl<pf::OptionButton>("optPrint(0)").SetValue(true);
        Auto(o, 4).SetValue(1);
        o.Ctl<pf::CommandButton>("cmdOK").Click();
        EXPECT_FALSE(o.IsLoaded());
    });
    EXPECT_TRUE(Prompts().empty()) << Prompts().front();
    m_oTemplates->Save();
    m_oView = Reloaded()->Item(std::string("Aufgaben"));
    ASSERT_TRUE(m_oView);
    EXPECT_TRUE(Save().AutoExecute());
    EXPECT_EQ(Save().Action(), 1);
    EXPECT_EQ(Save().Path(), m_sFiles + "/");
    EXPECT_EQ(Save().ReportFormat(), 4);
    EXPECT_EQ(Save().Filename(), "Monat [@Datum]");
    EXPECT_EQ(Save().ReportExists(), 3);
    EXPECT_EQ(Save().ReportTemplate(), sTemplate);
    EXPECT_EQ(Save().TemplateExcelFirstCell(), "B3");
    EXPECT_FALSE(Save().PrintHeader());
    EXPECT_TRUE(Save().PrintSubtotals());
    EXPECT_TRUE(Save().PrintSubtotalsOnly());
    EXPECT_EQ(Save().ReportHeader(), "Kopf<br>zweite Zeile");
    EXPECT_EQ(Save().ReportFooter(), "links;mitte;rechts");
    EXPECT_FALSE(Open().AutoExecute());
    EXPECT_EQ(Open().Editor(), 2);
    EXPECT_TRUE(Send().AutoExecute());
    EXPECT_EQ(Send().MailAction(), 1);
    EXPECT_EQ(Send().MailTemplate(), sMail);
    EXPECT_FALSE(Print().AutoExecute());
    EXPECT_EQ(Print().PrintAction(), 1);
    EXPECT_TRUE(Delete().AutoExecute());

    // Read into the dialog again, the controls show what was stored.
    Run([&](frmAction& o) {
        EXPECT_EQ(o.Ctl<pf::ComboBox>("cboFormat").ListIndex(), 1);
        EXPECT_EQ(o.Ctl<pf::ComboBox>("cboFileExist").ListIndex(), 2);
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtFileName").Text(), "Monat [@Datum]");
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtFirstExcelCell").Text(), "B3");
        EXPECT_TRUE(o.Ctl<pf::OptionButton>("optMail(0)").Value());
        EXPECT_EQ(AutoState(o), "on off on off on");
    });
}

TEST_F(frmActionTest, TheFormatDecidesWhichSaveControlsWork)
{
    struct Case
    {
        int index; // in the list of a client from version 12 on
        bool workbookFrame;
        bool templateBox;
        int header; // -1: disabled and unchecked, 0/1: enabled, 2: disabled and checked
        bool totalsOnly;
        Strings openWith;
    };
    const Case aCases[] = {
        {4, false, false, -1, false, {"Notepad", "Microsoft Excel"}},
        {0, false, true, 2, true, {"Notepad", "Standard Internet Browser", "Microsoft Excel"}},
        {1, true, true, 1, true, {"Microsoft Excel"}},
        {3, true, true, 1, true, {"Microsoft Excel"}},
    };
    Save().SetPrintHeader(true);
    Run([&](frmAction& o) {
        for (const auto& c : aCases) {
            o.Ctl<pf::ComboBox>("cboFormat").SetListIndex(c.index);
            auto& oHeader = o.Ctl<pf::CheckBox>("chkPrintHeader");
            EXPECT_EQ(o.Ctl<pf::Frame>("fra(7)").Enabled(), c.workbookFrame) << c.index;
            EXPECT_EQ(o.Ctl<pf::TextBox>("txtReportTemplate").Enabled(), c.templateBox) << c.index;
            EXPECT_EQ(o.Ctl<pf::TextBox>("txtFirstExcelCell").Enabled(), c.workbookFrame)
                << c.index;
            EXPECT_EQ(oHeader.Enabled(), c.header == 0 || c.header == 1) << c.index;
            if (c.header == -1 || c.header == 2) {
                EXPECT_EQ(oHeader.Value(), c.header == 2 ? 1 : 0) << c.index;
            }
            EXPECT_EQ(o.Ctl<pf::CheckBox>("chkExportTotalsOnly").Enabled(), c.totalsOnly)
                << c.index;
            EXPECT_EQ(Entries(o.Ctl<pf::ComboBox>("cboOpenWithApp")), c.openWith) << c.index;
            EXPECT_EQ(o.Ctl<pf::ComboBox>("cboOpenWithApp").ListIndex(), c.index == 0   ? 1
                                                                         : c.index == 4 ? 0
                                                                                        : 0)
                << c.index;
        }
    });
}

TEST_F(frmActionTest, OnlyAChangeBetweenWorkbookFormatsKeepsTheTemplate)
{
    const std::string sTemplate = File("vorlage.xlsx");
    Save().SetReportFormat(2);
    Save().SetReportTemplate(sTemplate);
    Save().SetTemplateExcelFirstCell("C4");
    Run([&](frmAction& o) {
        auto& oFormat = o.Ctl<pf::ComboBox>("cboFormat");
        oFormat.SetListIndex(1); // xls to xlsx
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtReportTemplate").Text(), sTemplate);
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtFirstExcelCell").Text(), "C4");
        oFormat.SetListIndex(0); // to HTML
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtReportTemplate").Text(), "");
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtFirstExcelCell").Text(), "");
        EXPECT_EQ(o.Ctl<pf::ComboBox>("cboOpenWithApp").Text(), "Standard Internet Browser");
    });
    // Cancelled: the template keeps its format and template file.
    EXPECT_EQ(Save().ReportFormat(), 2);
    EXPECT_EQ(Save().ReportTemplate(), sTemplate);
}

TEST_F(frmActionTest, AutomaticOpenRunsAloneAndDeleteFollowsSendOrPrint)
{
    Open().SetAutoExecute(true);
    Send().SetAutoExecute(true);
    Delete().SetAutoExecute(true);
    Run([&](frmAction& o) {
        // Loading ends with the rules: automatic open alone stays checked.
        EXPECT_EQ(AutoState(o), "off on off/disabled off/disabled off/disabled");
        Auto(o, 1).SetValue(0);
        EXPECT_EQ(AutoState(o), "off off off off off/disabled");
        Auto(o, 3).SetValue(1);
        EXPECT_EQ(AutoState(o), "off off off on off");
        Auto(o, 4).SetValue(1);
        Auto(o, 3).SetValue(0);
        EXPECT_EQ(AutoState(o), "off off off off off/disabled");
        Auto(o, 2).SetValue(1);
        Auto(o, 4).SetValue(1);
        Auto(o, 0).SetValue(1);
        o.Ctl<pf::CommandButton>("cmdDeleteAll").Click();
        EXPECT_EQ(AutoState(o), "off off off off off/disabled");

        auto& oExists = o.Ctl<pf::ComboBox>("cboFileExist");
        o.Ctl<pf::OptionButton>("optAutoSave(0)").SetValue(true);
        EXPECT_TRUE(oExists.Enabled());
        oExists.SetListIndex(3);
        o.Ctl<pf::OptionButton>("optAutoSave(1)").SetValue(true);
        EXPECT_EQ(oExists.ListIndex(), 0);
        EXPECT_FALSE(oExists.Enabled());
        o.Ctl<pf::CommandButton>("cmdOK").Click();
    });
    EXPECT_EQ(Prompts(), std::vector<std::string>{});
    EXPECT_FALSE(Open().AutoExecute());
    EXPECT_FALSE(Send().AutoExecute());
    EXPECT_FALSE(Delete().AutoExecute());
}

TEST_F(frmActionTest, OKRefusesSettingsThatWouldFailLater)
{
    struct Case
    {
        const char* what;
        std::function<void(frmAction&)> setUp;
        std::vector<int> answers; // to the questions asked
        std::string message;      // "" when OK passes
    };
    const std::string sMissing = m_sFiles + "/fehlt.oft";
    const Case aCases[] = {
        {"save at once without folder",
         [](frmAction& o) {
             o.Ctl<pf::OptionButton>("optAutoSave(0)").SetValue(true);
             o.Ctl<pf::TextBox>("txtFileName").SetText("Bericht");
         },
         {},
         "Bitte geben Sie ein gültiges Verzeichnis an.\r\nFolgende Zeichen dürfen nicht "
         "verwendet werden: / \\ : ? \"\" < > \r\n"},
        {"colon in the file name",
         [](frmAction& o) { o.Ctl<pf::TextBox>("txtFileName").SetText("Bericht: Mai"); },
         {},
         "Bitte geben Sie einen gültigen Dateinamen an.\r\nFolgende Zeichen dürfen nicht "
         "verwendet werden: / \\ : ? \"\" < > \r\n"},
        {"asterisk in the file name",
         [](frmAction& o) { o.Ctl<pf::TextBox>("txtFileName").SetText("Bericht*"); },
         {},
         ""},
        {"HTML without template, default refused",
         [](frmAction& o) { o.Ctl<pf::ComboBox>("cboFormat").SetListIndex(0); },
         {7},
         "Bitte geben Sie eine gültige Vorlage an."},
        {"send at once without mail template",
         [](frmAction& o) { o.Ctl<pf::OptionButton>("optMail(0)").SetValue(true); },
         {},
         "Bitte geben Sie eine E-Mail-Volage an, damit die E-Mail automatisch gesendet werden "
         "kann."},
        {"mail template missing",
         [&](frmAction& o) { o.Ctl<pf::TextBox>("txtMailTemplate").SetText(sMissing); },
         {},
         "Die Datei\r\n" + sMissing +
             "\r\nkonnte nicht gefunden werden. Bitte überprüfen Sie den Pfad und Dateinamen."},
    };
    for (const auto& c : aCases) {
        pf::Driver::current().Reset();
        Save().SetReportFormat(0);
        Save().SetAction(0);
        Save().SetFilename("Bericht");
        for (int nAnswer : c.answers)
            pf::Driver::current().QueueMsgBoxAnswer(nAnswer);
        bool bStayedOpen = false;
        Run([&](frmAction& o) {
            c.setUp(o);
            o.Ctl<pf::CommandButton>("cmdOK").Click();
            bStayedOpen = o.IsLoaded();
        });
        EXPECT_EQ(bStayedOpen, !c.message.empty()) << c.what;
        const auto vPrompts = Prompts();
        ASSERT_EQ(vPrompts.size(), c.answers.size() + (c.message.empty() ? 0 : 1)) << c.what;
        if (!c.message.empty()) {
            EXPECT_EQ(vPrompts.back(), c.message) << c.what;
        }
        // A refused OK leaves the template as it was.
        EXPECT_EQ(Save().Filename(), c.message.empty() ? "Bericht*" : "Bericht") << c.what;
    }
}

// Each byte class the hosts refuse, pasted into each field whose text names a file (the file
// name, the folder, the report and mail templates): OK names the character, stays open with the
// field to mend, and the template keeps what it held.
TEST_F(frmActionTest, OKRefusesAControlCharacterInEveryFieldThatNamesAFile)
{
    struct Field
    {
        const char* sName;
        std::int32_t lFormat; // the format under which the field counts
        const char* sMessage; // the message's first line
        std::function<std::string()> fnHeld;
    };
    const Field aFields[] = {
        {"txtFileName", 2, "Bitte geben Sie einen gültigen Dateinamen an.",
         [this] { return Save().Filename(); }},
        {"txtSavePath", 2, "Bitte geben Sie ein gültiges Verzeichnis an.",
         [this] { return Save().Path(); }},
        {"txtReportTemplate", 5, "Bitte geben Sie einen gültigen Dateinamen an.",
         [this] { return Save().ReportTemplate(); }},
        {"txtMailTemplate", 2, "Bitte geben Sie einen gültigen Dateinamen an.",
         [this] { return Send().MailTemplate(); }},
    };
    for (const auto& bad : host_test::BadTexts())
        for (const Field& field : aFields) {
            SCOPED_TRACE(std::string(field.sName) + " " + host_test::NameOf(bad));
            pf::Driver::current().Reset();
            Save().SetReportFormat(field.lFormat);
            Save().SetAction(0);
            Save().SetFilename("Bericht");
            Save().SetPath(m_sFiles);
            const std::string sHeld = field.fnHeld();
            // Where the file system can hold the name the file exists: only the character
            // stands in the way.
            const std::string sPasted =
                field.sName == std::string("txtFileName") ? "Monatsbericht [@Datum]X" + bad.sBytes + "Y"
                : field.sName == std::string("txtSavePath")
                    ? m_sFiles + "/X" + bad.sBytes + "Y"
                    : File("X" + bad.sBytes + "Y.xlsx");
            bool bStayedOpen = false;
            std::string sFocused;
            Run([&](frmAction& o) {
                auto& oBox = o.Ctl<pf::TextBox>(field.sName);
                oBox.SetText(sPasted);
                bool bFocused = false;
                oBox.OnGotFocus = [&bFocused, fnWas = oBox.OnGotFocus] {
                    bFocused = true;
                    if (fnWas)
                        fnWas();
                };
                o.Ctl<pf::CommandButton>("cmdOK").Click();
                bStayedOpen = o.IsLoaded();
                sFocused = bFocused ? field.sName : "";
            });
            EXPECT_TRUE(bStayedOpen);
            // The field to mend has the focus.
            EXPECT_EQ(sFocused, field.sName);
            const auto vPrompts = Prompts();
            ASSERT_EQ(vPrompts.size(), 1u);
            EXPECT_EQ(vPrompts[0].rfind(std::string(field.sMessage) + "\r\n", 0), 0u) << vPrompts[0];
            EXPECT_NE(vPrompts[0].find(" " + host_test::NameOf(bad) + ","), std::string::npos)
                << vPrompts[0];
            // Its lines end with CR LF, as every message's; nothing else in it is raw.
            std::string sLines = vPrompts[0];
            for (std::size_t at; (at = sLines.find("\r\n")) != std::string::npos;)
                sLines.replace(at, 2, "\n");
            EXPECT_EQ(host_test::RawControlAt(sLines), std::string::npos) << vPrompts[0];
            EXPECT_EQ(field.fnHeld(), sHeld);
        }
}

TEST_F(frmActionTest, PickersWorkOnTheCopyThatCancelDrops)
{
    const std::string sPath = Save().Path();
    const std::string sTemplate = Save().ReportTemplate();
    Run([&](frmAction& o) {
        o.Ctl<pf::ComboBox>("cboFormat").SetListIndex(1);
        for (const char* pButton :
             {"cmdSavePath", "cmdReportTemplate", "cmdMailTemplate", "cmdPrinter"})
            o.Ctl<pf::CommandButton>(pButton).Click();
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtSavePath").Text(), m_sFiles + "/");
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtReportTemplate").Text(), m_sFiles + "/vorlage.xlsx");
        EXPECT_EQ(o.Ctl<pf::TextBox>("txtMailTemplate").Text(), m_sFiles + "/vorlage.msg");
        o.Ctl<pf::CommandButton>("cmdCancel").Click();
    });
    EXPECT_EQ(m_nPicked, 4);
    EXPECT_EQ(Save().Path(), sPath);
    EXPECT_EQ(Save().ReportTemplate(), sTemplate);
    EXPECT_EQ(Send().MailTemplate(), "");
    EXPECT_FALSE(Print().PrinterSettings());
}

TEST_F(frmActionTest, AfterAFailedLoadEveryHandlerFailsWithoutHarm)
{
    // Opened with no template editor behind it, the load fails before the working copy exists.
    std::vector<std::string> vAfterLoad;
    pf::Driver::current().QueueModal("frmAction", [&](pf::Form& oForm) {
        auto& o = dynamic_cast<frmAction&>(oForm);
        EXPECT_FALSE(o.WorkingCopy());
        vAfterLoad = Prompts();
        // The format list ignores its errors: no message.
        o.Ctl<pf::ComboBox>("cboFormat").SetListIndex(1);
        EXPECT_EQ(Prompts().size(), vAfterLoad.size());
        // OK, the pickers and the boxes that write into the copy: one message each.
        for (const char* pButton : {"cmdOK", "cmdSavePath", "cmdReportTemplate", "cmdMailTemplate",
                                    "cmdPrinter", "cmdHeaderFooter"})
            o.Ctl<pf::CommandButton>(pButton).Click();
        o.Ctl<pf::CheckBox>("chkPrintTotal").SetValue(1);
        o.Ctl<pf::CheckBox>("chkExportTotalsOnly").SetValue(1);
        o.Ctl<pf::CommandButton>("cmdCancel").Click();
    });
    frmAction oDialog(m_oServices.Pickers);
    oDialog.Show(pf::ShowStyle::Modal);
    ASSERT_EQ(vAfterLoad.size(), 1u);
    const auto vPrompts = Prompts();
    ASSERT_EQ(vPrompts.size(), 9u);
    for (const auto& sPrompt : vPrompts)
        EXPECT_EQ(sPrompt, vAfterLoad.front());
    EXPECT_EQ(m_nPicked, 0);
}

} // namespace
} // namespace dialogs::test
