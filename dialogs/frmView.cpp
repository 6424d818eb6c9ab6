#include "dialogs/frmView.h"

#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "dialogs/detail/DialogCommon.h"
#include "engine/Filter.h"
#include "fieldcatalogue/cField.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "shell/frmMain.h"
#include "views/GridField.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;
using common::modLanguage::GetResString;

namespace {
constexpr const char* kModule = "frmView";
// Resource texts of the summaries.
constexpr long kOn = 2231;
constexpr long kOff = 2232;
constexpr long kCount = 2159;
constexpr long kItems = 2065;
// The item-icon column never carries a listed total.
constexpr std::int32_t kIconColumn = 2;
constexpr int kUnloadByCloseBox = 0;

void ShowError(common::ErrorObject& oError)
{
    detail::ShowErrorBox(oError, detail::AppTitle());
}

// Layout in twips: the section buttons in one column, their summaries to the right.
constexpr int kMargin = 120;
constexpr int kButtonWidth = 1500;
constexpr int kRowHeight = 375;
constexpr int kRowGap = 90;
constexpr int kLabelWidth = 4200;
} // namespace

frmView::frmView() : frmView(NewSectionDialog) {}

frmView::frmView(SectionDialogFactory fnFactory)
    : Form("frmView"), m_fnFactory(std::move(fnFactory))
{
    SetTag("2067");
    SetKeyPreview(true);
    CreateControls();
}

frmView::~frmView() = default;

void frmView::CreateControls()
{
    const struct
    {
        std::shared_ptr<pf::CommandButton>* button;
        const char* name;
        const char* tag;
        ViewSection section;
        const char* procedure;
    } aSections[] = {
        {&m_cmdFields, "cmdFields", "2068", ViewSection::Fields, "cmdFields_Click"},
        {&m_cmdGroupBy, "cmdGroupBy", "2069", ViewSection::GroupBy, "cmdGroupBy_Click"},
        {&m_cmdSort, "cmdSort", "2070", ViewSection::Sort, "cmdSort_Click"},
        {&m_cmdFilter, "cmdFilter", "2071", ViewSection::Filter, "cmdFilter_Click"},
        {&m_cmdCalc, "cmdCalc", "2057", ViewSection::Calc, "cmdCalc_Click"},
    };
    int lTop = kMargin;
    int i = 0;
    for (const auto& s : aSections) {
        auto oButton = Add<pf::CommandButton>(s.name);
        oButton->SetTag(s.tag);
        oButton->Move(kMargin, lTop, kButtonWidth, kRowHeight);
        const ViewSection eSection = s.section;
        const char* sProcedure = s.procedure;
        oButton->OnClick = [this, eSection, sProcedure] { OpenSection(eSection, sProcedure); };
        *s.button = oButton;
        auto oLabel = Add<pf::Label>("lbl" + std::to_string(i));
        oLabel->Move(2 * kMargin + kButtonWidth, lTop + kRowGap, kLabelWidth, kRowHeight);
        m_lbl[static_cast<std::size_t>(i)] = oLabel;
        lTop += kRowHeight + kRowGap;
        ++i;
    }
    m_chkShowResult = Add<pf::CheckBox>("chkShowResult");
    m_chkShowResult->SetTag("2216");
    m_chkShowResult->Move(kMargin, lTop, kButtonWidth + kLabelWidth, kRowHeight);
    lTop += kRowHeight;
    m_chkHideTime = Add<pf::CheckBox>("chkHideTime");
    m_chkHideTime->SetTag("2242");
    m_chkHideTime->Move(kMargin, lTop, kButtonWidth + kLabelWidth, kRowHeight);
    lTop += kRowHeight + kRowGap;
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdOK->SetTag("2027");
    m_cmdOK->Default = true;
    m_cmdOK->Move(kMargin + kButtonWidth + kLabelWidth - 2 * kButtonWidth - kMargin, lTop,
                  kButtonWidth, kRowHeight);
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_cmdCancel->SetTag("2028");
    m_cmdCancel->Cancel = true;
    m_cmdCancel->Move(2 * kMargin + kLabelWidth, lTop, kButtonWidth, kRowHeight);
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
    Move(0, 0, 3 * kMargin + kButtonWidth + kLabelWidth, lTop + kRowHeight + 6 * kMargin);
}

void frmView::ShowForm(std::shared_ptr<views::ViewSettings> Vs, pf::Form* ParentForm)
{
    common::Logging(kModule, "ShowForm", [&] {
        m_oVs = std::move(Vs);
        Show(pf::ShowStyle::Modal, ParentForm);
    }, ShowError);
}

shell::frmMain* frmView::Parent() const
{
    return dynamic_cast<shell::frmMain*>(m_pParent);
}

const std::shared_ptr<views::ViewSettings>& frmView::Vs() const
{
    return m_oSectionView ? m_oSectionView : m_oVs;
}

void frmView::Init(rt::Object* lParentPtr, const std::string& /*sKey*/)
{
    m_pParent = lParentPtr;
}

pf::Label& frmView::lbl(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(m_lbl.size()))
        rt::Raise(rt::errors::SubscriptOutOfRange, kModule);
    return *m_lbl[static_cast<std::size_t>(Index)];
}

void frmView::Form_Load()
{
    common::Logging(kModule, "Form_Load", [&](int& nLine) {
        nLine = 1;
        common::modLabelControls::LocalizeForm(*this);
        detail::SetDialogFontSize(*this);
        if (!m_oVs)
            rt::Raise(rt::errors::ObjectNotSet, kModule, "The dialog has no view to edit.");
        nLine = 2;
        auto oCache = views::RootMapiProps();
        if (!oCache)
            rt::Raise(rt::errors::ObjectNotSet, kModule, "The field catalogue is not loaded.");
        oCache->LoadStandardProperties();
        if (auto oFolders = m_oVs->Folders())
            oCache->LoadUserProperties(*oFolders);
        oCache->PrepareViewFields(*m_oVs);
        nLine = 3;
        UpdateFieldsLabel();
        UpdateGroupLabel();
        UpdateSortLabel();
        UpdateFilterLabel();
        UpdateCalcLabel();
        nLine = 4;
        m_chkShowResult->SetValue(m_oVs->DisplayResultsOnly() ? 1 : 0);
        m_chkHideTime->SetValue(m_oVs->DontShowTime() ? 1 : 0);
        nLine = 5;
        EnableShowResult();
    }, ShowError);
}

void frmView::OpenSection(ViewSection eSection, const char* sProcedure)
{
    std::unique_ptr<SectionDialog> oDialog;
    common::Logging(kModule, sProcedure, [&](int& nLine) {
        nLine = 1;
        oDialog = m_fnFactory ? m_fnFactory(eSection) : nullptr;
        if (!oDialog)
            rt::Raise(rt::errors::ObjectNotSet);
        nLine = 2;
        oDialog->AsIChild().Init(this);
        // The section edits a scratch copy; only a confirmed section writes into the view.
        auto oScratch = std::make_shared<views::ViewSettings>();
        oScratch->Copy(*m_oVs);
        m_oSectionView = oScratch;
        nLine = 3;
        oDialog->Show(pf::ShowStyle::Modal, this);
        m_oSectionView.reset();
        nLine = 4;
        if (!oDialog->Confirmed)
            return;
        m_oVs->Copy(*oScratch);
        SectionConfirmed(eSection);
    }, [&](common::ErrorObject& oError) {
        m_oSectionView.reset();
        ShowError(oError);
        rt::ResumeNext ignore;
        ignore([&] {
            if (oDialog && oDialog->IsLoaded())
                oDialog->Unload();
        });
    });
    m_oSectionView.reset();
    common::modMain::ResetParentPtrOf(oDialog ? &oDialog->AsIChild() : nullptr);
    oDialog.reset();
}

void frmView::SectionConfirmed(ViewSection eSection)
{
    switch (eSection) {
    case ViewSection::Fields:
        UpdateFieldsLabel();
        break;
    case ViewSection::Filter:
        UpdateFilterLabel();
        break;
    case ViewSection::GroupBy:
        m_bGroupConfirmed = true;
        UpdateGroupLabel();
        EnableShowResult();
        break;
    case ViewSection::Sort:
        m_bSortConfirmed = true;
        UpdateSortLabel();
        break;
    case ViewSection::Calc:
        UpdateCalcLabel();
        EnableShowResult();
        break;
    }
}

void frmView::cmdOK_Click()
{
    common::Logging(kModule, "cmdOK_Click", [&](int& nLine) {
        nLine = 1;
        if (m_bGroupConfirmed || m_bSortConfirmed)
            m_oVs->SortSettings();
        nLine = 2;
        m_oVs->SetDisplayResultsOnly(m_chkShowResult->Value() != 0);
        m_oVs->SetDontShowTime(m_chkHideTime->Value() != 0);
        nLine = 3;
        m_oVs->Filter()->Apply();
        nLine = 4;
        Confirmed = true;
        Unload();
    }, ShowError);
}

void frmView::cmdCancel_Click()
{
    Confirmed = false;
    rt::ResumeNext ignore;
    ignore([&] { Unload(); });
}

void frmView::Form_QueryUnload(int& /*Cancel*/, int UnloadMode)
{
    if (UnloadMode == kUnloadByCloseBox)
        Confirmed = false;
}

void frmView::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, "view.html");
}

void frmView::UpdateFieldsLabel()
{
    rt::ResumeNext ignore;
    std::string sText;
    ignore([&] {
        for (const auto& oField : *m_oVs->Fields())
            if (oField->Visible())
                sText += oField->Caption() + ";";
    });
    ignore([&] { SetLabelCaption(*m_lbl[0], sText); });
}

void frmView::UpdateGroupLabel()
{
    UpdateLevelLabel(1, true);
}

void frmView::UpdateSortLabel()
{
    UpdateLevelLabel(2, false);
}

void frmView::UpdateLevelLabel(int lLabel, bool bGrouping)
{
    rt::ResumeNext ignore;
    std::string sText;
    const auto oCache = views::RootMapiProps();
    for (std::int32_t l = 0; l <= 2; ++l) {
        ignore([&] {
            bool bApply = false;
            std::string sKey;
            if (bGrouping) {
                const views::GroupBy& oLevel = *m_oVs->GroupByLevel(l);
                bApply = oLevel.Apply();
                sKey = oLevel.ColKey;
            } else {
                const views::SortBy& oLevel = *m_oVs->SortByLevel(l);
                bApply = oLevel.Apply;
                sKey = oLevel.ColKey;
            }
            if (!bApply)
                return;
            auto oField = oCache ? oCache->FindField(sKey) : nullptr;
            if (!oField)
                rt::Raise(rt::errors::ObjectNotSet, kModule);
            sText += oField->Caption() + ";";
        });
    }
    ignore([&] {
        if (sText.empty())
            sText = GetResString(kOff);
    });
    ignore([&] { SetLabelCaption(*m_lbl[static_cast<std::size_t>(lLabel)], sText); });
}

void frmView::UpdateFilterLabel()
{
    rt::ResumeNext ignore;
    ignore([&] {
        const auto oFilter = m_oVs->Filter();
        const bool bOn = oFilter->CategoryCompare() != 0 || oFilter->RestrictTime() != 0 ||
                         oFilter->SubjectCompare() != 0 || oFilter->TaskStatusCompare() != 0 ||
                         oFilter->CompanyCompare() != 0 || oFilter->ContactCompare() != 0 ||
                         oFilter->LocationCompare() != 0;
        SetLabelCaption(*m_lbl[3], GetResString(bOn ? kOn : kOff));
    });
}

void frmView::UpdateCalcLabel()
{
    rt::ResumeNext ignore;
    std::string sText;
    ignore([&] {
        const auto& colNames = grid::Flexgrid2::CalcFunctions();
        for (const auto& oField : *m_oVs->Fields()) {
            ignore([&] {
                if (oField->Calculation() == 0 || oField->MappingValue() == kIconColumn)
                    return;
                const auto lIndex = grid::Flexgrid2::SubtotalToCalcIndex(oField->Calculation());
                sText += colNames.Item(lIndex + 1) + "(" + oField->Caption() + ");";
            });
        }
    });
    ignore([&] {
        if (!m_oVs->CalculateItemsCount())
            return;
        const std::string sCount = GetResString(kCount) + "(" + GetResString(kItems) + ")";
        sText = sText.empty() ? sCount : sCount + ";" + sText;
    });
    ignore([&] {
        if (sText.empty())
            sText = GetResString(kOff);
    });
    ignore([&] { SetLabelCaption(*m_lbl[4], sText); });
}

void frmView::SetLabelCaption(pf::Label& oLabel, std::string sText)
{
    if (!sText.empty() && sText.back() == ';')
        sText.pop_back();
    oLabel.SetCaption(sText);
}

void frmView::EnableShowResult()
{
    rt::ResumeNext ignore;
    ignore([&] {
        const std::string sOff = GetResString(kOff);
        const bool bListed = m_lbl[1]->Caption() != sOff || m_lbl[4]->Caption() != sOff;
        m_chkShowResult->SetEnabled(bListed);
        if (!bListed)
            m_chkShowResult->SetValue(0);
    });
}

} // namespace dialogs
