#pragma once

#include "folderpicker/detail/cLimitedFolderLoop.h"
#include "platform/forms/FlexGridTypes.h"
#include "platform/forms/Form.h"

#include <memory>
#include <vector>

namespace platform::forms {
class CheckBox;
class CommandButton;
class FlexGrid;
class GridControl;
class Label;
} // namespace platform::forms
namespace platform::mapi {
class Folder;
}

namespace folderpicker {

class Dialog;
class Item;
class Result;

/// The modal tree of stores and folders that `Dialog::PickFolder` shows: one row per store
/// and folder with a check box, folders read level by level as the user expands them, a
/// check box to include every folder below a ticked one, and Reset, OK and Cancel.
///
/// Rows: a node row shows its `Item` (attached as row data) at the item's outline level; a
/// folder whose subfolders are not read yet gets an empty placeholder row below it, which
/// gives it an expand button. The stores and their first folder level are read before the
/// window shows.
class frmDialog : public platform::forms::Form
{
public:
    frmDialog();
    ~frmDialog() override;

    /// Fills the tree from the dialog's settings, shows it modally and returns the ticked
    /// folders once the user confirms with OK, null when the window closes any other way.
    /// Throws what reading throws, with "frmDialog.ReadData" added to the source.
    std::shared_ptr<Result> PickFolder(Dialog& oDialog, long lChunkSize);

    /// The tree.
    platform::forms::FlexGrid& fg();
    /// The number of ticked store and folder rows (placeholders never count).
    long CheckedCount() const { return m_lCheckedCount; }

protected:
    void Form_Load() override;

private:
    void SetDialogFontSize();
    void LoadStoresAndTopFolder();
    int AddToGrid(const std::vector<std::shared_ptr<Item>>& colItems, int lParentRow);
    void LoadSubfolder(int lRow, bool bQuiet, bool& bReadError);
    // Reads an item's subfolders into the rows under lRow; returns the rows added.
    int ReadSubfolders(Item& oItem, int lRow, bool& bReadError);
    std::shared_ptr<platform::mapi::Folder> GetFolder(const Item& oItem);
    void CreateResultList();
    std::shared_ptr<Item> GetItemAtRow(int lRow) const;
    void UpdateCheckedCount();
    void ShowReadFolderError();

    void fg_BeforeCollapse(int lRow, platform::forms::OutlineState eNewState);
    void fg_DblClick();
    void fg_BeforeEdit(int lRow, bool& bCancel);
    void cmdReset_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    std::shared_ptr<platform::forms::Label> m_lbl;
    std::shared_ptr<platform::forms::GridControl> m_fg;
    std::shared_ptr<platform::forms::CheckBox> m_chkSubfolder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdReset;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;

    std::shared_ptr<Result> m_oResult;
    Dialog* m_oDialog = nullptr; // non-owning: the dialog outlives its window's PickFolder
    std::unique_ptr<detail::cLimitedFolderLoop> m_oLoop;
    bool m_bBusy = false;
    bool m_bNoRedraw = false;
    bool m_bCheckGuard = false;
    bool m_bConfirmed = false;
    long m_lCheckedCount = 0;
};

} // namespace folderpicker
