#pragma once

#include "platform/forms/Form.h"

#include <functional>
#include <memory>
#include <string>

namespace platform::forms {
class CheckBox;
class CommandButton;
class FlexGrid;
class GridControl;
} // namespace platform::forms

namespace dialogs {

/// The small modal list in which the user ticks categories instead of typing them: the
/// client's master category list plus the caller's own categories, returned joined by ";".
class frmCatList : public platform::forms::Form
{
public:
    /// Reads the master category list text; raises on failure.
    using MasterlistReader = std::function<std::string()>;

    /// Reads the master list through the add-in's root object.
    frmCatList();
    /// Reads the master list through the given reader (the root object's by default).
    explicit frmCatList(MasterlistReader oReader);

    /// Runs the dialog modally and returns the categories text: the ticked rows joined by ";"
    /// after OK, else the caller's text with "," replaced by ";" ("" when the list could not
    /// be filled). Read `Confirmed` afterwards.
    std::string ShowForm(const std::string& SelectedCategories);

    /// True only when the dialog was closed with OK.
    bool Confirmed = false;

    platform::forms::FlexGrid& fg() const { return *m_fg; }
    platform::forms::CheckBox& chkView() const { return *m_chkView; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }

protected:
    void Form_KeyDown(int& KeyCode, int Shift) override;

private:
    /// Gives the controls their places and the form its size, in twips.
    void PlaceControls();
    void ShowCats();
    void AddMasterRows(const std::string& sMasterlist);
    void TickCallerCategories();
    void chkView_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void SaveData();
    void SetDialogFontSize();
    void ShowFirstRow();

    MasterlistReader m_oReader;
    std::string m_sResult;
    int m_lSavedRowHeight = 0;
    // The list sits on the form as its grid control "fg"; m_fg is that control's grid.
    std::shared_ptr<platform::forms::GridControl> m_fgControl;
    platform::forms::FlexGrid* m_fg = nullptr;
    std::shared_ptr<platform::forms::CheckBox> m_chkView;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
};

} // namespace dialogs
