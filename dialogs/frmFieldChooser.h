#pragma once

#include "dialogs/FieldSectionDialog.h"
#include "platform/forms/FlexGridTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::forms {
class ComboBox;
class CommandButton;
class FlexGrid;
class GridControl;
class Label;
class PictureBox;
} // namespace platform::forms

namespace dialogs {

/// The column chooser: the available fields of one field set beside the view's chosen
/// columns in their order. Fields move between the lists by Add, Remove, double click and drag
/// and drop; chosen columns move by Up, Down and by dragging, with a line marking where they
/// land; their captions are edited in place. OK writes the choice into the opener's view.
class frmFieldChooser : public FieldSectionDialog
{
public:
    frmFieldChooser();

    platform::forms::FlexGrid& fgAll() const;
    platform::forms::FlexGrid& fgSelected() const;
    platform::forms::ComboBox& cboFolder() const { return *m_cboFolder; }
    platform::forms::CommandButton& cmdAdd() const { return *m_cmdAdd; }
    platform::forms::CommandButton& cmdRemove() const { return *m_cmdRemove; }
    platform::forms::CommandButton& cmdUp() const { return *m_cmdUp; }
    platform::forms::CommandButton& cmdDown() const { return *m_cmdDown; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }
    /// The insertion line shown while rows are dragged over the chosen list.
    platform::forms::PictureBox& picLine() const { return *m_picLine; }

private:
    void CreateControls();
    void ConnectGridEvents();
    void Form_Load() override;
    void cboFolder_Click();
    void FillAvailableFields();
    bool CollectSelectedKeys(platform::forms::FlexGrid& fg);
    void EnableControls();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void MoveFromAllToSelectedItems(int lPointerRow);
    void MoveFromSelectedToAllItems();
    void MoveWithinSelected();
    void ResetDragState();
    void AfterSelChange(const char* sProcedure);
    void fg_MouseMove(platform::forms::FlexGrid& fg, int Button);
    void fg_OLEStartDrag(platform::forms::FlexGrid& fg,
                         platform::forms::DropEffect& AllowedEffects);
    void fgSelected_OLEDragOver(double Y);
    void fgSelected_OLEDragDrop(platform::forms::FlexGrid* Source);
    void fgAll_OLEDragDrop(platform::forms::FlexGrid* Source);
    // Runs a move with both lists' drawing off, turned on again also after an error.
    template <class Body> void WithoutRedraw(const char* sProcedure, Body&& body);

    std::shared_ptr<views::ViewSettings> m_oCopy;
    std::vector<std::string> DragKeys;
    bool Dragging = false;
    bool DragFromSelected = false;
    // Row before which moved fields go in the chosen list, -1 for none. It starts at 0: an Add
    // before the first reset of the drag state puts the fields at the top.
    int InsertRow = 0;

    std::shared_ptr<platform::forms::Label> m_lblAll;
    std::shared_ptr<platform::forms::GridControl> m_fgAll;
    std::shared_ptr<platform::forms::ComboBox> m_cboFolder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdAdd;
    std::shared_ptr<platform::forms::CommandButton> m_cmdRemove;
    std::shared_ptr<platform::forms::Label> m_lblSelected;
    std::shared_ptr<platform::forms::GridControl> m_fgSelected;
    std::shared_ptr<platform::forms::CommandButton> m_cmdUp;
    std::shared_ptr<platform::forms::CommandButton> m_cmdDown;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
    std::shared_ptr<platform::forms::PictureBox> m_picLine;
    std::shared_ptr<platform::forms::Label> m_lblLine;
};

} // namespace dialogs
