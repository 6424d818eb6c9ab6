#include "dialogs/frmSort.h"

#include "common/ErrorHandling.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "views/ViewSettings.h"

namespace dialogs {

namespace rt = platform::runtime;

namespace {
constexpr int kFrameHeight = 1095;
constexpr int kClientHeight = 4560;

views::SortBy& SortLevel(views::ViewSettings& oView, int i)
{
    views::SortBy* pLevel = oView.SortByLevel(i);
    if (!pLevel)
        rt::Raise(9, "frmSort", "Subscript out of range");
    return *pLevel;
}
} // namespace

frmSort::frmSort() : LevelDialog("frmSort", "2081", kFrameHeight, kClientHeight)
{
    SetCaption(" Sortieren");
    SetTag("2080");
}

bool frmSort::LevelApply(views::ViewSettings& oView, int i) const
{
    return SortLevel(oView, i).Apply;
}

void frmSort::SetLevelApply(views::ViewSettings& oView, int i, bool bApply) const
{
    SortLevel(oView, i).Apply = bApply;
}

std::string& frmSort::LevelColKey(views::ViewSettings& oView, int i) const
{
    return SortLevel(oView, i).ColKey;
}

std::int32_t& frmSort::LevelSortOrder(views::ViewSettings& oView, int i) const
{
    return SortLevel(oView, i).SortOrder;
}

void frmSort::cbo_Click(int Index)
{
    if (Filling())
        return;
    common::Logging(
        ModuleName(), "cbo_Click",
        [&] {
            TakeOverLevel(Index);
            StoreSettings(ScratchView());
            ShowColumnState(Index);
        },
        ShowError);
}

void frmSort::cmdOK_Click()
{
    common::Logging(
        ModuleName(), "cmdOK_Click",
        [&](int& nLine) {
            auto& oView = ScratchView();
            for (int i = 0; i < kLevels; ++i) {
                nLine = 10 + i;
                if (SortLevel(oView, i).Apply)
                    ApplyLevelColumn(i);
            }
            nLine = 20;
            CopyBackAndClose();
        },
        ShowError);
}

} // namespace dialogs
