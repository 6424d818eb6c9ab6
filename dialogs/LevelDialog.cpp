#include "dialogs/LevelDialog.h"

#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "dialogs/detail/DialogCommon.h"
#include "fieldcatalogue/cField.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr long kNoneText = 2079;
constexpr int kFrameLeft = 120;
constexpr int kFrameWidth = 4095;
constexpr int kButtonLeft = 4440;
constexpr int kButtonWidth = 1335;
constexpr int kButtonHeight = 375;
constexpr int kClientWidth = 5895;
} // namespace

LevelDialog::LevelDialog(const std::string& sModule, const std::string& sFirstFrameTag,
                         int lFrameHeight, int lClientHeight)
    : FieldSectionDialog(sModule, "view.html")
{
    const char* aFrameTags[kLevels] = {nullptr, "2076", "2077"};
    for (int i = 0; i < kLevels; ++i) {
        auto& oLevel = m_aLevels.at(static_cast<std::size_t>(i));
        const std::string sIndex = std::to_string(i);
        const int lTop = 120 + i * (lFrameHeight + 60);
        oLevel.fra = Add<pf::Frame>("fra" + sIndex);
        oLevel.fra->SetTag(i == 0 ? sFirstFrameTag : aFrameTags[i]);
        oLevel.fra->Move(kFrameLeft, lTop, kFrameWidth, lFrameHeight);
        oLevel.cbo = Add<pf::ComboBox>("cbo" + sIndex);
        oLevel.cbo->Move(120, 330, 2295, 315);
        oLevel.chkShow = Add<pf::CheckBox>("chkShow" + sIndex);
        oLevel.chkShow->SetTag("2230");
        oLevel.chkShow->Move(120, 690, 2295, 255);
        oLevel.optAsc = Add<pf::OptionButton>("optAsc" + sIndex);
        oLevel.optAsc->SetTag("2074");
        oLevel.optAsc->Move(2535, 330, 1455, 255);
        oLevel.optDesc = Add<pf::OptionButton>("optDesc" + sIndex);
        oLevel.optDesc->SetTag("2075");
        oLevel.optDesc->Move(2535, 630, 1455, 255);
        oLevel.optAsc->Group = oLevel.optDesc->Group = "level" + sIndex;
        // The frame's controls count their position from the frame's corner and start below
        // its caption.
        for (const auto& oControl : std::initializer_list<pf::Control*>{
                 oLevel.cbo.get(), oLevel.chkShow.get(), oLevel.optAsc.get(), oLevel.optDesc.get()})
            oControl->SetContainer(oLevel.fra.get());
        oLevel.cbo->OnClick = [this, i] { cbo_Click(i); };
    }
    const int lBelow = 120 + kLevels * (lFrameHeight + 60);
    m_lblFolder = Add<pf::Label>("lblFolder");
    m_lblFolder->SetTag("2157");
    m_lblFolder->Move(kFrameLeft, lBelow, kFrameWidth, 255);
    m_cboFolder = Add<pf::ComboBox>("cboFolder");
    m_cboFolder->SetTag("2118,2119,2120,2121");
    m_cboFolder->Move(kFrameLeft, lBelow + 255, kFrameWidth, 315);
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdOK->SetTag("2027");
    m_cmdOK->Move(kButtonLeft, 180, kButtonWidth, kButtonHeight);
    m_cmdOK->Default = true;
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_cmdCancel->SetTag("2028");
    m_cmdCancel->Move(kButtonLeft, 660, kButtonWidth, kButtonHeight);
    m_cmdCancel->Cancel = true;
    m_cmdDeleteAll = Add<pf::CommandButton>("cmdDeleteAll");
    m_cmdDeleteAll->SetTag("2078");
    m_cmdDeleteAll->Move(kButtonLeft, 1140, kButtonWidth, kButtonHeight);
    detail::SetClientSize(*this, kClientWidth, lClientHeight);
    m_cboFolder->OnClick = [this] { cboFolder_Click(); };
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
    m_cmdDeleteAll->OnClick = [this] { cmdDeleteAll_Click(); };
}

void LevelDialog::Form_Load()
{
    common::Logging(
        ModuleName(), "Form_Load",
        [&](int& nLine) {
            nLine = 1;
            m_oVs = CopyOfEditedView();
            nLine = 2;
            common::modLabelControls::LocalizeForm(*this);
            common::modLabelControls::LocalizeComboItems(*m_cboFolder);
            nLine = 3;
            LoadExtras();
            SetDialogFontSize();
            nLine = 4;
            // The field lists always start with the task fields, whatever folders the view reads.
            if (m_cboFolder->ListCount() > 0)
                m_cboFolder->SetListIndex(0);
        },
        ShowError);
}

views::ViewSettings& LevelDialog::ScratchView() const
{
    if (!m_oVs)
        rt::Raise(91, ModuleName(), "The dialog holds no view.");
    return *m_oVs;
}

void LevelDialog::cboFolder_Click()
{
    common::Logging(
        ModuleName(), "cboFolder_Click",
        [&] {
            m_bFilling = true;
            FillFieldCombos();
            m_bFilling = false;
        },
        [&](common::ErrorObject& oError) {
            m_bFilling = false;
            ShowError(oError);
        });
}

void LevelDialog::FillFieldCombos()
{
    rt::ResumeNext ignore;
    std::optional<FieldList> oSet;
    ignore([&] { oSet = FieldSetOf(m_cboFolder->ListIndex()); });
    const std::string sNone = common::modLabelControls::GetResText(kNoneText);
    for (int i = 0; i < kLevels; ++i) {
        auto& oLevel = m_aLevels.at(static_cast<std::size_t>(i));
        ignore([&] { oLevel.cbo->Clear(); });
        m_aLookup.at(static_cast<std::size_t>(i)).Clear();
        ignore([&] { oLevel.cbo->AddItem(sNone); });
        m_aLookup.at(static_cast<std::size_t>(i)).Add(nullptr);
    }
    if (oSet) {
        for (const auto& oField : *oSet) {
            if (!oField || oField->HiddenProperty())
                continue;
            for (int i = 0; i < kLevels; ++i) {
                ignore([&] {
                    m_aLevels.at(static_cast<std::size_t>(i)).cbo->AddItem(oField->Caption());
                });
                m_aLookup.at(static_cast<std::size_t>(i)).Add(oField);
            }
        }
    }
    for (int i = 0; i < kLevels; ++i)
        ignore([&] { SelectStoredField(i, oSet); });
}

void LevelDialog::SelectStoredField(int i, const std::optional<FieldList>& oSet)
{
    auto& oView = ScratchView();
    auto& oLevel = m_aLevels.at(static_cast<std::size_t>(i));
    auto& oLookup = m_aLookup.at(static_cast<std::size_t>(i));
    m_abKeepStored.at(static_cast<std::size_t>(i)) = false;
    if (!LevelApply(oView, i)) {
        oLevel.cbo->SetListIndex(0);
        oLevel.optAsc->SetValue(true);
        return;
    }
    const std::string sKey = LevelColKey(oView, i);
    if (LevelSortOrder(oView, i) != 0)
        oLevel.optDesc->SetValue(true);
    else
        oLevel.optAsc->SetValue(true);
    bool bInSet = false;
    if (oSet)
        for (const auto& oField : *oSet)
            bInSet = bInSet || (oField && rt::TextEquals(oField->Key(), sKey));
    if (!bInSet) {
        if (auto oField = MapiProps().FindField(sKey)) {
            oLevel.cbo->AddItem(oField->Caption(), 1);
            oLookup.Add(oField, 2);
            oLevel.cbo->SetListIndex(1);
        }
    } else {
        // By key: two fields of a set may share a caption.
        int lPosition = 0;
        for (const auto& oField : oLookup) {
            ++lPosition;
            if (oField && rt::TextEquals(oField->Key(), sKey)) {
                oLevel.cbo->SetListIndex(lPosition - 1);
                break;
            }
        }
    }
    // No entry stands for the stored field: keep it as stored until the user picks here.
    m_abKeepStored.at(static_cast<std::size_t>(i)) = oLevel.cbo->ListIndex() < 1;
    ShowColumnState(i);
}

void LevelDialog::ShowColumnState(int i)
{
    auto& oView = ScratchView();
    bool bShown = false;
    if (LevelApply(oView, i))
        if (auto oColumn = oView.Fields()->Item(LevelColKey(oView, i)))
            bShown = oColumn->Visible();
    chkShow(i).SetValue(bShown ? 1 : 0);
}

void LevelDialog::StoreSettings(views::ViewSettings& oView)
{
    common::Rethrowing(ModuleName(), "StoreSettings", [&] {
        for (int i = 0; i < kLevels; ++i) {
            if (KeepsStored(i))
                continue;
            const int k = cbo(i).ListIndex();
            if (k < 1) {
                SetLevelApply(oView, i, false);
                continue;
            }
            auto oField = m_aLookup.at(static_cast<std::size_t>(i)).Item(k + 1);
            if (!oField)
                rt::Raise(91, ModuleName(), "The list entry has no field.");
            LevelColKey(oView, i) = oField->Key();
            SetLevelApply(oView, i, true);
            StoreLevelExtras(oView, i);
        }
    });
}

std::shared_ptr<fieldcatalogue::cField> LevelDialog::ListField(int i, const std::string& sKey) const
{
    return m_aLookup.at(static_cast<std::size_t>(i)).Item(sKey);
}

void LevelDialog::ApplyLevelColumn(int i)
{
    auto& oView = ScratchView();
    LevelSortOrder(oView, i) = optAsc(i).Value() ? 0 : 1;
    const std::string sKey = LevelColKey(oView, i);
    auto oColumn = oView.Fields()->Item(sKey);
    if (!oColumn) {
        // A kept level whose field no list offers adds no column.
        auto oField = ListField(i, sKey);
        if (!oField)
            return;
        oView.AddField(oField);
        oColumn = oView.Fields()->Item(oField->Key());
    }
    if (oColumn)
        oColumn->SetVisible(chkShow(i).Value() == 1);
}

void LevelDialog::CopyBackAndClose()
{
    EditedView().Copy(ScratchView());
    Confirmed = true;
    Unload();
}

void LevelDialog::cmdDeleteAll_Click()
{
    common::Logging(
        ModuleName(), "cmdDeleteAll_Click",
        [&] {
            for (int i = 0; i < kLevels; ++i) {
                cbo(i).SetListIndex(0);
                optAsc(i).SetValue(true);
            }
        },
        ShowError);
}

void LevelDialog::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { Confirmed = false; });
    ignore([&] { Unload(); });
}

} // namespace dialogs
