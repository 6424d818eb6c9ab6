#include "dialogs/frmGroupBy.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLabelControls.h"
#include "fieldcatalogue/cField.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

#include <vector>

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr int kFrameHeight = 1575;
constexpr int kClientHeight = 6330;
constexpr int kDateType = 64;     // PT_SYSTIME
constexpr int kKeywordsType = 11; // a field holding several values
constexpr long kMultiValueMessage = 50;

views::GroupBy& GroupLevel(views::ViewSettings& oView, int i)
{
    views::GroupBy* pLevel = oView.GroupByLevel(i);
    if (!pLevel)
        rt::Raise(9, "frmGroupBy", "Subscript out of range");
    return *pLevel;
}

bool IsDateField(const std::shared_ptr<fieldcatalogue::cField>& oField)
{
    return oField && static_cast<int>(oField->MapiPropertyType()) == kDateType;
}
} // namespace

frmGroupBy::frmGroupBy() : LevelDialog("frmGroupBy", "2073", kFrameHeight, kClientHeight)
{
    SetCaption(" Gruppieren");
    SetTag("2072");
    for (int i = 0; i < kLevels; ++i) {
        const std::string sIndex = std::to_string(i);
        auto& oLabel = m_albl.at(static_cast<std::size_t>(i));
        oLabel = Add<pf::Label>("lbl" + sIndex);
        oLabel->SetTag("2176");
        oLabel->Move(120, 1110, 1860, 255);
        oLabel->SetContainer(&fra(i));
        auto& oCombo = m_acboDateGroup.at(static_cast<std::size_t>(i));
        oCombo = Add<pf::ComboBox>("cboDateGroup" + sIndex);
        oCombo->SetTag("2079,2169,2170,2171,2172,2173,2174,2175");
        oCombo->Move(2040, 1050, 1935, 315);
        oCombo->SetContainer(&fra(i));
    }
}

bool frmGroupBy::LevelApply(views::ViewSettings& oView, int i) const
{
    return GroupLevel(oView, i).Apply();
}

void frmGroupBy::SetLevelApply(views::ViewSettings& oView, int i, bool bApply) const
{
    GroupLevel(oView, i).SetApply(bApply);
}

std::string& frmGroupBy::LevelColKey(views::ViewSettings& oView, int i) const
{
    return GroupLevel(oView, i).ColKey;
}

std::int32_t& frmGroupBy::LevelSortOrder(views::ViewSettings& oView, int i) const
{
    return GroupLevel(oView, i).SortOrder;
}

void frmGroupBy::StoreLevelExtras(views::ViewSettings& oView, int i)
{
    // Stored whether the date list is enabled or not; OK drops it for a field without dates.
    GroupLevel(oView, i).DateGroupBy = std::max(cboDateGroup(i).ListIndex(), 0);
}

void frmGroupBy::LoadExtras()
{
    auto& oView = ScratchView();
    for (int i = 0; i < kLevels; ++i) {
        auto& oCombo = cboDateGroup(i);
        common::modLabelControls::LocalizeComboItems(oCombo);
        oCombo.SetEnabled(false);
        const int lStored = GroupLevel(oView, i).DateGroupBy;
        if (lStored >= 0 && lStored < oCombo.ListCount())
            oCombo.SetListIndex(lStored);
    }
}

void frmGroupBy::cbo_Click(int Index)
{
    common::Logging(
        ModuleName(), "cbo_Click",
        [&] {
            auto& oView = ScratchView();
            if (!Filling()) {
                TakeOverLevel(Index);
                StoreSettings(oView);
            }
            auto& oLevel = GroupLevel(oView, Index);
            if (oLevel.Apply()) {
                ShowColumnState(Index);
                cboDateGroup(Index).SetEnabled(IsDateField(MapiProps().FindField(oLevel.ColKey)));
            } else {
                chkShow(Index).SetValue(0);
                cboDateGroup(Index).SetEnabled(false);
            }
        },
        ShowError);
}

void frmGroupBy::cmdDeleteAll_Click()
{
    common::Logging(
        ModuleName(), "cmdDeleteAll_Click",
        [&] {
            for (int i = 0; i < kLevels; ++i) {
                cbo(i).SetListIndex(0);
                optAsc(i).SetValue(true);
                chkShow(i).SetValue(0);
            }
        },
        ShowError);
}

void frmGroupBy::ApplyDateGrouping(int i)
{
    auto& oLevel = GroupLevel(ScratchView(), i);
    auto oField = ListField(i, oLevel.ColKey);
    if (!oField) {
        // A level kept as stored: its field is in no list, its date grouping stays.
        if (KeepsStored(i))
            return;
        rt::Raise(91, ModuleName(), "The level's field is not in its list.");
    }
    oLevel.DateGroupBy = IsDateField(oField) ? std::max(cboDateGroup(i).ListIndex(), 0) : 0;
}

void frmGroupBy::cmdOK_Click()
{
    common::Logging(
        ModuleName(), "cmdOK_Click",
        [&](int& nLine) {
            auto& oView = ScratchView();
            for (int i = 0; i < kLevels; ++i) {
                nLine = 10 + i;
                auto& oLevel = GroupLevel(oView, i);
                if (!oLevel.Apply()) {
                    oLevel.DateGroupBy = 0;
                    continue;
                }
                ApplyDateGrouping(i);
                ApplyLevelColumn(i);
            }
            nLine = 20;
            ValidateSettings();
            nLine = 30;
            CopyBackAndClose();
        },
        ShowError);
}

void frmGroupBy::ValidateSettings()
{
    common::Rethrowing(ModuleName(), "ValidateSettings", [&] {
        auto& oView = ScratchView();
        std::vector<std::string> aKeys;
        for (int i = 0; i < kLevels; ++i) {
            auto& oLevel = GroupLevel(oView, i);
            if (!oLevel.Apply())
                continue;
            auto oField = MapiProps().FindField(oLevel.ColKey);
            if (!oField || oField->PropertyType() != kKeywordsType)
                continue;
            for (const auto& sKey : aKeys)
                if (rt::TextEquals(sKey, oLevel.ColKey)) {
                    common::ErrorObject oError;
                    const long lNumber = common::ThisDeliverable().lErrorBase + kMultiValueMessage;
                    rt::Raise(static_cast<std::int32_t>(lNumber), "frmGroupBy.ValidateSettings",
                              oError.GetMessageText(static_cast<std::int32_t>(lNumber),
                                                    std::vector<std::string>{oField->Caption()}));
                }
            aKeys.push_back(oLevel.ColKey);
        }
    });
}

} // namespace dialogs
