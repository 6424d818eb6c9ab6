#pragma once

#include "dialogs/FieldSectionDialog.h"
#include "views/cLookupFields.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace platform::forms {
class CheckBox;
class ComboBox;
class CommandButton;
class Frame;
class Label;
class OptionButton;
} // namespace platform::forms

namespace dialogs {

/// The layout and handling that the grouping and the sorting dialog share: three levels, each
/// with its field list, ascending or descending order and the "show field" box, over a
/// private copy of the opener's view that OK copies back.
///
/// A level whose stored field is not in its own list (a user field whose folder is gone, a
/// field of the set marked hidden) is kept exactly as stored until the user picks an entry in
/// that level's list; picks in other levels' lists and OK leave it alone.
class LevelDialog : public FieldSectionDialog
{
public:
    static constexpr int kLevels = 3;

    platform::forms::ComboBox& cboFolder() const { return *m_cboFolder; }
    platform::forms::ComboBox& cbo(int i) const { return *m_aLevels.at(i).cbo; }
    platform::forms::OptionButton& optAsc(int i) const { return *m_aLevels.at(i).optAsc; }
    platform::forms::OptionButton& optDesc(int i) const { return *m_aLevels.at(i).optDesc; }
    platform::forms::CheckBox& chkShow(int i) const { return *m_aLevels.at(i).chkShow; }
    platform::forms::CommandButton& cmdDeleteAll() const { return *m_cmdDeleteAll; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }

protected:
    /// sModule names the form; sFirstFrameTag is the resource id of level 0's frame caption;
    /// lFrameHeight the height of a level's frame and lClientHeight the form's client height
    /// in twips.
    LevelDialog(const std::string& sModule, const std::string& sFirstFrameTag, int lFrameHeight,
                int lClientHeight);

    // The level i of the given view, as the derived dialog keeps them.
    virtual bool LevelApply(views::ViewSettings& oView, int i) const = 0;
    virtual void SetLevelApply(views::ViewSettings& oView, int i, bool bApply) const = 0;
    virtual std::string& LevelColKey(views::ViewSettings& oView, int i) const = 0;
    virtual std::int32_t& LevelSortOrder(views::ViewSettings& oView, int i) const = 0;
    /// Runs after a level's field was stored by `StoreSettings` (the date grouping).
    virtual void StoreLevelExtras(views::ViewSettings& /*oView*/, int /*i*/) {}
    /// The field combo of level i was clicked; bFilling while the combos are rebuilt.
    virtual void cbo_Click(int Index) = 0;

    /// The edited copy; raises 91 when the load failed to make it.
    views::ViewSettings& ScratchView() const;
    /// Makes the edited copy and rebuilds the field lists for the task fields.
    void LoadLevels();
    /// Rebuilds the three field lists from the chosen field set and selects each level's field.
    void FillFieldCombos();
    /// Writes the field chosen in each level's list into the view's levels.
    void StoreSettings(views::ViewSettings& oView);
    /// The user chose in level i's own list: a kept level becomes the user's choice.
    void TakeOverLevel(int i) { m_abKeepStored.at(static_cast<std::size_t>(i)) = false; }
    /// True while level i keeps its stored field (see the class comment).
    bool KeepsStored(int i) const { return m_abKeepStored.at(static_cast<std::size_t>(i)); }
    /// Sets the show box from the view: ticked when the level is applied and its field is a
    /// visible column.
    void ShowColumnState(int i);
    /// Applies the order and the show box of level i to the edited view; adds the level's
    /// field as a column when the view has none of it (and the list knows the field).
    void ApplyLevelColumn(int i);
    /// Copies the edited view back into the opener's, sets `Confirmed` and unloads.
    void CopyBackAndClose();
    /// The catalogue field of level i's list with that key, or null.
    std::shared_ptr<fieldcatalogue::cField> ListField(int i, const std::string& sKey) const;

    bool Filling() const { return m_bFilling; }
    /// Hook for the derived load before the field lists are filled.
    virtual void LoadExtras() {}
    /// Clear all: every level to "(None)" and ascending.
    virtual void cmdDeleteAll_Click();
    virtual void cmdOK_Click() = 0;

    platform::forms::Frame& fra(int i) const { return *m_aLevels.at(i).fra; }

private:
    struct LevelControls
    {
        std::shared_ptr<platform::forms::Frame> fra;
        std::shared_ptr<platform::forms::ComboBox> cbo;
        std::shared_ptr<platform::forms::OptionButton> optAsc;
        std::shared_ptr<platform::forms::OptionButton> optDesc;
        std::shared_ptr<platform::forms::CheckBox> chkShow;
    };

    void Form_Load() override;
    void cboFolder_Click();
    void cmdCancel_Click();
    void SelectStoredField(int i, const std::optional<FieldList>& oSet);

    std::shared_ptr<views::ViewSettings> m_oVs;
    std::array<views::cLookupFields, kLevels> m_aLookup;
    std::array<bool, kLevels> m_abKeepStored{};
    std::array<LevelControls, kLevels> m_aLevels;
    std::shared_ptr<platform::forms::Label> m_lblFolder;
    std::shared_ptr<platform::forms::ComboBox> m_cboFolder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdDeleteAll;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
    bool m_bFilling = false;
};

} // namespace dialogs
