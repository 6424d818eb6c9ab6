#include "dialogs/frmAction.h"

#include "actions/Action.h"
#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "dialogs/detail/ActionTexts.h"
#include "dialogs/detail/DialogSupport.h"
#include "dialogs/frmTemplateDetail.h"
#include "dialogs/frmText.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "views/ViewSettings.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "frmAction";
constexpr int kGroupedFormatsVersion = 12;

std::string Indexed(const char* pName, int i)
{
    return std::string(pName) + "(" + std::to_string(i) + ")";
}
} // namespace

template <class Body> void frmAction::Handler(const char* pProcedure, Body&& body)
{
    common::Logging(kModule, pProcedure, std::forward<Body>(body), detail::ShowError);
}

frmAction::frmAction() : frmAction(ActionPickers::OfActions()) {}

frmAction::frmAction(ActionPickers oPickers)
    : Form("frmAction"), m_oPickers(std::move(oPickers)),
      m_oResources(std::make_unique<detail::OwnResources>(*this, detail::ActionTexts()))
{
    SetTag("2222");
    SetKeyPreview(true);
    CreateControls();
    WireEvents();
}

frmAction::~frmAction() = default;

void frmAction::CreateControls()
{
    auto frame = [&](int i, const char* pTag) {
        auto o = Add<pf::Frame>(Indexed("fra", i));
        o->SetTag(pTag);
        return o;
    };
    auto label = [&](int i, const char* pTag) {
        auto o = Add<pf::Label>(Indexed("lbl", i));
        o->SetTag(pTag);
        return o;
    };
    auto button = [&](const std::string& sName, const char* pTag) {
        auto o = Add<pf::CommandButton>(sName);
        o->SetTag(pTag);
        return o;
    };
    auto options = [&](const char* pName, const char* pGroup, const char* pTag0,
                       const char* pTag1) {
        std::array<std::shared_ptr<pf::OptionButton>, 2> a;
        for (int i = 0; i < 2; ++i) {
            a[i] = Add<pf::OptionButton>(Indexed(pName, i));
            a[i]->SetTag(i == 0 ? pTag0 : pTag1);
            a[i]->Group = pGroup;
        }
        return a;
    };
    auto autoExecute = [&](int i, const char* pTag) {
        m_chkAutoExecute[i] = Add<pf::CheckBox>(Indexed("chkAutoExecute", i));
        m_chkAutoExecute[i]->SetTag(pTag);
    };

    // Save
    frame(0, "2221");
    autoExecute(0, "2223");
    m_optAutoSave = options("optAutoSave", "fra(0)", "2224", "2225");
    m_txtSavePath = Add<pf::TextBox>("txtSavePath");
    m_cmdSavePath = button("cmdSavePath", "2226");
    label(1, "2227");
    m_cboFormat = Add<pf::ComboBox>("cboFormat");
    label(0, "2228");
    m_txtFileName = Add<pf::TextBox>("txtFileName");
    label(7, "2229");
    m_cboPlaceholder = Add<pf::ComboBox>("cboPlaceholder");
    m_cboPlaceholder->SetTag("2195,2196,2198,2199,2200,2201");
    m_cmdAddPlaceholder = button("cmdAddPlaceholder", "");
    m_cmdAddPlaceholder->SetCaption("&<--");
    label(2, "2230");
    m_cboFileExist = Add<pf::ComboBox>("cboFileExist");
    m_cboFileExist->SetTag("2194,2191,2192,2193");
    m_txtReportTemplate = Add<pf::TextBox>("txtReportTemplate");
    m_cmdReportTemplate = button("cmdReportTemplate", "2231");
    m_fraExcel = frame(7, "2232");
    m_lblExcelCell = label(6, "2233");
    m_txtFirstExcelCell = Add<pf::TextBox>("txtFirstExcelCell");
    m_txtFirstExcelCell->SetText("a2");
    m_chkPrintHeader = Add<pf::CheckBox>("chkPrintHeader");
    m_chkPrintHeader->SetTag("2234");
    m_chkPrintTotal = Add<pf::CheckBox>("chkPrintTotal");
    m_chkPrintTotal->SetTag("2235");
    for (pf::Control* p :
         std::initializer_list<pf::Control*>{m_lblExcelCell.get(), m_txtFirstExcelCell.get(),
                                             m_chkPrintHeader.get(), m_chkPrintTotal.get()})
        p->SetContainer(m_fraExcel.get());
    m_chkExportTotalsOnly = Add<pf::CheckBox>("chkExportTotalsOnly");
    m_chkExportTotalsOnly->SetTag("2256");
    m_cmdHeaderFooter = button("cmdHeaderFooter", "2255");

    // Open
    label(3, "2236");
    frame(1, "2238");
    autoExecute(1, "2223");
    m_cboOpenWithApp = Add<pf::ComboBox>("cboOpenWithApp");

    // Send
    frame(2, "2239");
    autoExecute(2, "2223");
    m_optMail = options("optMail", "fra(2)", "2240", "2241");
    m_txtMailTemplate = Add<pf::TextBox>("txtMailTemplate");
    m_cmdMailTemplate = button("cmdMailTemplate", "2231");
    // Where a mail template comes from is not a setting here: the pair stays out of sight.
    frame(6, "2242")->SetVisible(false);
    for (auto& o : options("optMailTemplate", "fra(6)", "2243", "2244"))
        o->SetVisible(false);

    // Print
    frame(3, "2245");
    autoExecute(3, "2223");
    m_optPrint = options("optPrint", "fra(3)", "2249", "2225");
    m_cmdPrinter = button("cmdPrinter", "2246");
    m_lblPrinter = label(4, "2250");

    // Delete
    autoExecute(4, "2247");
    frame(4, "");
    label(5, "2248");

    m_cmdOK = button("cmdOK", "2251");
    m_cmdOK->Default = true;
    m_cmdCancel = button("cmdCancel", "2252");
    m_cmdCancel->Cancel = true;
    m_cmdDeleteAll = button("cmdDeleteAll", "2253");
    PlaceControls();
}

void frmAction::PlaceControls()
{
    // The save action's group fills the left column; the other four actions stand one below
    // the other at the right, the closing buttons below them. A control in a frame counts its
    // position from the frame's corner. The file format's short label leaves its list the
    // room that the longest format name needs.
    struct Place
    {
        const char* pName;
        const char* pFrame; // null: on the form
        int lLeft, lTop, lWidth, lHeight;
    };
    static constexpr Place kPlaces[] = {
        {"fra(0)", nullptr, 120, 120, 5400, 5295},
        {"chkAutoExecute(0)", "fra(0)", 120, 330, 5160, 255},
        {"optAutoSave(0)", "fra(0)", 120, 630, 2520, 255},
        {"optAutoSave(1)", "fra(0)", 2760, 630, 2520, 255},
        {"txtSavePath", "fra(0)", 120, 960, 3720, 315},
        {"cmdSavePath", "fra(0)", 3960, 930, 1320, 375},
        {"lbl(1)", "fra(0)", 120, 1410, 1200, 255},
        {"cboFormat", "fra(0)", 1440, 1380, 3840, 315},
        {"lbl(0)", "fra(0)", 120, 1800, 2520, 255},
        {"txtFileName", "fra(0)", 2760, 1770, 2520, 315},
        {"lbl(7)", "fra(0)", 120, 2190, 2520, 255},
        {"cboPlaceholder", "fra(0)", 2760, 2160, 1860, 315},
        {"cmdAddPlaceholder", "fra(0)", 4740, 2130, 540, 375},
        {"lbl(2)", "fra(0)", 120, 2580, 2520, 255},
        {"cboFileExist", "fra(0)", 2760, 2550, 2520, 315},
        {"txtReportTemplate", "fra(0)", 120, 2970, 3720, 315},
        {"cmdReportTemplate", "fra(0)", 3960, 2940, 1320, 375},
        {"fra(7)", "fra(0)", 120, 3390, 5160, 1350},
        {"lbl(6)", "fra(7)", 120, 390, 2400, 255},
        {"txtFirstExcelCell", "fra(7)", 2640, 360, 1020, 315},
        {"chkPrintHeader", "fra(7)", 120, 720, 4920, 255},
        {"chkPrintTotal", "fra(7)", 120, 990, 4920, 255},
        {"chkExportTotalsOnly", "fra(0)", 120, 4860, 3360, 255},
        {"cmdHeaderFooter", "fra(0)", 3600, 4800, 1680, 375},
        {"lbl(3)", nullptr, 5640, 120, 5400, 255},
        {"fra(1)", nullptr, 5640, 420, 5400, 1110},
        {"chkAutoExecute(1)", "fra(1)", 120, 330, 5160, 255},
        {"cboOpenWithApp", "fra(1)", 120, 660, 5160, 315},
        {"fra(2)", nullptr, 5640, 1650, 5400, 1425},
        {"chkAutoExecute(2)", "fra(2)", 120, 330, 5160, 255},
        {"optMail(0)", "fra(2)", 120, 630, 2520, 255},
        {"optMail(1)", "fra(2)", 2760, 630, 2520, 255},
        {"txtMailTemplate", "fra(2)", 120, 960, 3720, 315},
        {"cmdMailTemplate", "fra(2)", 3960, 930, 1320, 375},
        {"fra(6)", nullptr, 5640, 1650, 5400, 1425},
        {"optMailTemplate(0)", "fra(6)", 120, 330, 2520, 255},
        {"optMailTemplate(1)", "fra(6)", 2760, 330, 2520, 255},
        {"fra(3)", nullptr, 5640, 3195, 5400, 1425},
        {"chkAutoExecute(3)", "fra(3)", 120, 330, 5160, 255},
        {"optPrint(0)", "fra(3)", 120, 630, 2520, 255},
        {"optPrint(1)", "fra(3)", 2760, 630, 2520, 255},
        {"cmdPrinter", "fra(3)", 120, 930, 1320, 375},
        {"lbl(4)", "fra(3)", 1560, 990, 3720, 255},
        {"fra(4)", nullptr, 5640, 4740, 5400, 1140},
        {"chkAutoExecute(4)", "fra(4)", 120, 180, 5160, 255},
        {"lbl(5)", "fra(4)", 120, 480, 5160, 540},
        {"cmdOK", nullptr, 6960, 6000, 1275, 375},
        {"cmdCancel", nullptr, 8355, 6000, 1275, 375},
        {"cmdDeleteAll", nullptr, 9765, 6000, 1275, 375},
    };
    for (const Place& oPlace : kPlaces) {
        pf::Control& oControl = ControlNamed(oPlace.pName);
        oControl.Move(oPlace.lLeft, oPlace.lTop, oPlace.lWidth, oPlace.lHeight);
        if (oPlace.pFrame)
            oControl.SetContainer(&ControlNamed(oPlace.pFrame));
    }
    detail::SetClientSize(*this, 11160, 6495);
}

void frmAction::WireEvents()
{
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
    m_cmdDeleteAll->OnClick = [this] { cmdDeleteAll_Click(); };
    m_cboFormat->OnClick = [this] { cboFormat_Click(); };
    for (int i = 0; i < 5; ++i)
        m_chkAutoExecute[i]->OnClick = [this, i] { chkAutoExecute_Click(i); };
    for (int i = 0; i < 2; ++i)
        m_optAutoSave[i]->OnClick = [this, i] { optAutoSave_Click(i); };
    m_chkPrintTotal->OnClick = [this] { chkPrintTotal_Click(); };
    m_chkExportTotalsOnly->OnClick = [this] { chkExportTotalsOnly_Click(); };
    m_cmdAddPlaceholder->OnClick = [this] { cmdAddPlaceholder_Click(); };
    m_cmdHeaderFooter->OnClick = [this] { cmdHeaderFooter_Click(); };
    m_cmdSavePath->OnClick = [this] { cmdSavePath_Click(); };
    m_cmdReportTemplate->OnClick = [this] { cmdReportTemplate_Click(); };
    m_cmdMailTemplate->OnClick = [this] { cmdMailTemplate_Click(); };
    m_cmdPrinter->OnClick = [this] { cmdPrinter_Click(); };
    for (auto* p : {m_txtSavePath.get(), m_txtFileName.get(), m_txtReportTemplate.get(),
                    m_txtFirstExcelCell.get(), m_txtMailTemplate.get()})
        p->OnGotFocus = [p] { common::modMain::SelectAllText(p); };
}

pf::Control& frmAction::ControlNamed(const std::string& sName) const
{
    auto oControl = FindControl(sName);
    if (!oControl)
        rt::Raise(rt::errors::InvalidProcedureCall, kModule, "No control " + sName);
    return *oControl;
}

frmTemplateDetail* frmAction::Parent() const
{
    return dynamic_cast<frmTemplateDetail*>(m_pParent);
}

void frmAction::Init(rt::Object* lParentPtr, const std::string& /*sKey*/)
{
    m_pParent = lParentPtr;
}

actions::Action& frmAction::WorkActions() const
{
    // A load that failed before the working copy existed leaves the dialog open: every
    // handler then fails with "object not set" as its error handling says.
    if (!m_oWork || !m_oWork->Action())
        rt::Raise(rt::errors::ObjectNotSet);
    return *m_oWork->Action();
}
actions::ActionSave& frmAction::Save() const
{
    return *WorkActions().GetSaveAction();
}
actions::ActionOpen& frmAction::Open() const
{
    return *WorkActions().GetOpenAction();
}
actions::ActionSend& frmAction::Send() const
{
    return *WorkActions().GetSendAction();
}
actions::ActionPrint& frmAction::Print() const
{
    return *WorkActions().GetPrintAction();
}
actions::ActionDelete& frmAction::Delete() const
{
    return *WorkActions().GetDeleteAction();
}

void frmAction::Form_Load()
{
    Handler("Form_Load", [&](int& nLine) {
        nLine = 2;
        grid::Flexgrid2::InitGridStrings();
        nLine = 3;
        m_cboFormat->SetTag(common::modOLVersion::GetOutlookVersion() < kGroupedFormatsVersion
                                ? "2187,2188,2186"
                                : "2187,2219,2220,2188,2186");
        nLine = 4;
        common::modLabelControls::LocalizeResourceForm(*m_oResources);
        common::modLabelControls::LocalizeComboItems(*m_cboFormat);
        common::modLabelControls::LocalizeComboItems(*m_cboFileExist);
        common::modLabelControls::LocalizeComboItems(*m_cboPlaceholder);
        nLine = 5;
        detail::SetDialogFontSize(*this);
        nLine = 6;
        frmTemplateDetail* pOpener = Parent();
        if (!pOpener || !pOpener->Vs())
            rt::Raise(rt::errors::ObjectNotSet);
        m_oWork = std::make_shared<views::ViewSettings>();
        m_oWork->Copy(*pOpener->Vs());
        nLine = 7;
        LoadSaveSettings();
        FillOpenWithList();
        LoadOpenSettings();
        LoadSendSettings();
        LoadPrintSettings();
        LoadDeleteSettings();
        EnableControls();
    });
}

void frmAction::cmdOK_Click()
{
    Handler("cmdOK_Click", [&](int& nLine) {
        nLine = 1;
        StoreSaveSettings();
        StoreOpenSettings();
        StoreSendSettings();
        StorePrintSettings();
        StoreDeleteSettings();
        nLine = 2;
        frmTemplateDetail* pOpener = Parent();
        if (!pOpener || !pOpener->Vs())
            rt::Raise(rt::errors::ObjectNotSet);
        pOpener->Vs()->Copy(*m_oWork);
        nLine = 3;
        Unload();
    });
}

void frmAction::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { Unload(); });
}

void frmAction::cmdDeleteAll_Click()
{
    Handler("cmdDeleteAll_Click", [&] {
        for (auto& oBox : m_chkAutoExecute)
            oBox->SetValue(0);
    });
}

void frmAction::cmdAddPlaceholder_Click()
{
    Handler("cmdAddPlaceholder_Click", [&] {
        const int lIndex = m_cboPlaceholder->ListIndex();
        if (lIndex == -1)
            return;
        m_txtFileName->SetText(m_txtFileName->Text() + Save().GetPlaceholder(lIndex));
    });
}

void frmAction::cmdHeaderFooter_Click()
{
    std::unique_ptr<frmText> oEditor;
    common::Logging(
        kModule, "cmdHeaderFooter_Click",
        [&] {
            oEditor = std::make_unique<frmText>();
            oEditor->SaveAction = &Save();
            oEditor->Header = Save().ReportHeader();
            oEditor->Footer = Save().ReportFooter();
            oEditor->Show(pf::ShowStyle::Modal);
            if (!oEditor->Confirmed)
                return;
            Save().SetReportHeader(oEditor->Header);
            Save().SetReportFooter(oEditor->Footer);
        },
        [&](common::ErrorObject& oError) {
            if (oEditor) {
                rt::ResumeNext ignore;
                ignore([&] { oEditor->Unload(); });
            }
            detail::ShowError(oError);
        });
}

void frmAction::cmdSavePath_Click()
{
    Handler("cmdSavePath_Click", [&] {
        m_oPickers.PickPath(Save());
        m_txtSavePath->SetText(Save().Path());
    });
}

void frmAction::cmdReportTemplate_Click()
{
    Handler("cmdReportTemplate_Click", [&] {
        m_oPickers.PickTemplate(Save());
        m_txtReportTemplate->SetText(Save().ReportTemplate());
    });
}

void frmAction::cmdMailTemplate_Click()
{
    Handler("cmdMailTemplate_Click", [&] {
        m_oPickers.PickMailTemplateFromFile(Send());
        m_txtMailTemplate->SetText(Send().MailTemplate());
    });
}

void frmAction::cmdPrinter_Click()
{
    Handler("cmdPrinter_Click", [&] {
        m_oPickers.PickPrinterSettings(Print());
        ShowPrinterName();
    });
}

void frmAction::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, "action.html");
}

} // namespace dialogs
