#include "dialogs/frmTemplateDetail.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLabelControls.h"
#include "common/modMain.h"
#include "dialogs/detail/DialogSupport.h"
#include "dialogs/frmAction.h"
#include "engine/FolderDataList.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "frmTemplateDetail";
constexpr int kInformation = 64;
constexpr long kMsgNameTaken = 30;

} // namespace

frmTemplateDetail::frmTemplateDetail() : frmTemplateDetail(TemplateEditorServices::OfReportWindow())
{
}

frmTemplateDetail::frmTemplateDetail(TemplateEditorServices oServices)
    : Form("frmTemplateDetail"), m_oServices(std::move(oServices))
{
    SetTag("2105");
    SetKeyPreview(true);
    m_lbl = Add<pf::Label>("lbl(0)");
    m_lbl->SetTag("2106");
    m_txtNew = Add<pf::TextBox>("txtNew");
    m_cmdFolder = Add<pf::CommandButton>("cmdFolder");
    m_cmdFolder->SetTag("2044");
    m_cmdView = Add<pf::CommandButton>("cmdView");
    m_cmdView->SetTag("2107");
    m_cmdAutoAction = Add<pf::CommandButton>("cmdAutoAction");
    m_cmdAutoAction->SetTag("2185");
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdOK->SetTag("2027");
    m_cmdOK->Default = true;
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_cmdCancel->SetTag("2028");
    m_cmdCancel->Cancel = true;
    PlaceControls();
    m_txtNew->OnChange = [this] { txtNew_Change(); };
    m_txtNew->OnGotFocus = [this] { txtNew_GotFocus(); };
    m_cmdFolder->OnClick = [this] { cmdFolder_Click(); };
    m_cmdView->OnClick = [this] { cmdView_Click(); };
    m_cmdAutoAction->OnClick = [this] { cmdAutoAction_Click(); };
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
}

void frmTemplateDetail::PlaceControls()
{
    // The name at the top left, the template's three editors in a column at the right, the
    // closing buttons at the bottom left.
    constexpr int kMargin = 120, kNameWidth = 3135, kSideWidth = 1695, kButtonWidth = 1335,
                  kButtonHeight = 375, kStep = 480;
    constexpr int kSide = 2 * kMargin + kNameWidth;
    m_lbl->Move(kMargin, kMargin, kNameWidth, 255);
    m_txtNew->Move(kMargin, kMargin + 300, kNameWidth, 315);
    m_cmdFolder->Move(kSide, kMargin, kSideWidth, kButtonHeight);
    m_cmdView->Move(kSide, kMargin + kStep, kSideWidth, kButtonHeight);
    m_cmdAutoAction->Move(kSide, kMargin + 2 * kStep, kSideWidth, kButtonHeight);
    const int lBottom = kMargin + 3 * kStep;
    m_cmdOK->Move(kMargin, lBottom, kButtonWidth, kButtonHeight);
    m_cmdCancel->Move(2 * kMargin + kButtonWidth, lBottom, kButtonWidth, kButtonHeight);
    detail::SetClientSize(*this, kSide + kSideWidth + kMargin, lBottom + kButtonHeight + kMargin);
}

frmTemplateDetail::~frmTemplateDetail() = default;

void frmTemplateDetail::ShowForm(const std::shared_ptr<views::Templates>& oTemplates,
                                 const std::shared_ptr<views::ViewSettings>& oVs, Form* ParentForm)
{
    common::Logging(
        kModule, "ShowForm",
        [&] {
            m_oVs = oVs;
            m_oTemplates = oTemplates;
            Confirmed = false;
            if (!m_oVs || !m_oTemplates)
                rt::Raise(rt::errors::ObjectNotSet);
            // The first touch of a control loads the form, which disables OK until a name shows.
            Load();
            m_txtNew->SetText(m_oVs->Name());
            if (m_oVs->Name() == detail::kStandard)
                m_txtNew->SetEnabled(false);
            Show(pf::ShowStyle::Modal, ParentForm);
        },
        detail::ShowError);
}

void frmTemplateDetail::Form_Load()
{
    common::Logging(
        kModule, "Form_Load",
        [&] {
            common::modLabelControls::LocalizeForm(*this);
            detail::SetDialogFontSize(*this);
            m_cmdOK->SetEnabled(false);
        },
        detail::ShowError);
}

void frmTemplateDetail::txtNew_Change()
{
    rt::ResumeNext ignore;
    ignore([&] { m_cmdOK->SetEnabled(!rt::Trim(m_txtNew->Text()).empty()); });
}

void frmTemplateDetail::txtNew_GotFocus()
{
    common::modMain::SelectAllText(m_txtNew.get());
}

void frmTemplateDetail::cmdView_Click()
{
    common::Logging(
        kModule, "cmdView_Click", [&] { m_oServices.ShowViewSettings(m_oVs); }, detail::ShowError);
}

void frmTemplateDetail::cmdFolder_Click()
{
    common::Logging(
        kModule, "cmdFolder_Click",
        [&] {
            if (auto colFolders = m_oServices.PickFolders())
                m_oVs->SetFolders(std::move(colFolders));
        },
        detail::ShowError);
}

void frmTemplateDetail::cmdAutoAction_Click()
{
    std::unique_ptr<frmAction> oDialog;
    common::Logging(
        kModule, "cmdAutoAction_Click",
        [&] {
            oDialog = std::make_unique<frmAction>(m_oServices.Pickers);
            oDialog->AsIChild().Init(this, {});
            oDialog->Show(pf::ShowStyle::Modal);
        },
        [&](common::ErrorObject& oError) {
            detail::ShowError(oError);
            if (oDialog) {
                rt::ResumeNext ignore;
                ignore([&] { oDialog->Unload(); });
            }
        });
}

void frmTemplateDetail::cmdOK_Click()
{
    common::Logging(
        kModule, "cmdOK_Click",
        [&] {
            // A name the report templates' file cannot hold is refused before the template
            // takes it, so that no copy of it lives on in the open windows.
            detail::RefuseUnprintable(m_txtNew->Text(), m_txtNew.get());
            FileUnderName(m_txtNew->Text());
            Confirmed = true;
            Unload();
        },
        [&](common::ErrorObject& oError) {
            if (oError.Number() == detail::OwnNumber(kMsgNameTaken))
                pf::MsgBox(detail::MessageText(kMsgNameTaken), kInformation,
                           detail::AppTitle());
            else
                detail::ShowError(oError);
            rt::ResumeNext ignore;
            ignore([&] { m_txtNew->SetFocus(); });
        });
}

// The typed name exactly as typed: blanks around it stay part of it.
void frmTemplateDetail::FileUnderName(const std::string& sNew)
{
    // Whether the view is filed is a question of the collection, not of the view's parent
    // link: a copy of a template carries the link of the template it was copied from.
    const bool bFiled = m_oTemplates->PositionOf(*m_oVs) > 0;
    const auto oHolder = m_oTemplates->Item(rt::Variant(sNew));
    if (oHolder && oHolder != m_oVs) {
        detail::RaiseOwn(kMsgNameTaken);
    }
    if (!bFiled) {
        m_oVs->SetName(sNew);
        m_oTemplates->Add(m_oVs);
        return;
    }
    ReFile(sNew);
}

// Moves a filed template to the end under its new name; the template never leaves the
// collection for good: any failure puts it back under its old name at its old place.
void frmTemplateDetail::ReFile(const std::string& sNew)
{
    const std::string sOld = m_oVs->Name();
    const std::int32_t lPosition = m_oTemplates->PositionOf(*m_oVs);
    // Renaming loads a partly read view first; a view that cannot be read keeps its place.
    m_oVs->SetName(sNew);
    m_oTemplates->Remove(rt::Variant(sOld));
    try {
        m_oTemplates->Add(m_oVs);
    } catch (...) {
        rt::ResumeNext ignore;
        ignore([&] { m_oVs->SetName(sOld); });
        ignore([&] { m_oTemplates->Insert(m_oVs, lPosition); });
        throw;
    }
}

void frmTemplateDetail::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { Unload(); });
}

void frmTemplateDetail::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, "templates.html");
}

} // namespace dialogs
