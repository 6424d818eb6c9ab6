#pragma once

#include "actions/IReportWindow.h"
#include "common/FormExt.h"
#include "common/FormPersitent.h"
#include "common/ObjectSize.h"
#include "engine/FolderDataList.h"
#include "grid/cVsFlexPopup.h"
#include "platform/forms/Form.h"

#include <functional>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace platform::forms {
class CommandButton;
class ComboBox;
class FlexGrid;
class GridControl;
class ImageList;
class MenuBar;
class MenuItem;
class TextBox;
class ToolBar;
} // namespace platform::forms
namespace actions {
class Action;
class ActionSave;
} // namespace actions
namespace platform::mapi {
class Message;
}
namespace common {
class IControlResource;
}
namespace engine {
class Application;
class Records;
class Record;
} // namespace engine
namespace fieldcatalogue {
class Application;
}
namespace folderpicker {
class Result;
}
namespace views {
class Templates;
class ViewSettings;
} // namespace views

namespace shell {

class frmProgress;

/// The report window: the template list, the report grid and the read that fills it. It
/// owns the record engine and the field catalogue of its reports while it is loaded, keeps
/// its placement in the registry and the templates in "reports.xml" when the user closes it.
///
/// A read, save, print or send processes pending window messages; a template change, command
/// or close that arrives meanwhile waits and runs once it has ended.
class frmMain : public platform::forms::Form,
                public actions::IReportWindow,
                public std::enable_shared_from_this<frmMain>
{
public:
    frmMain();
    ~frmMain() override;

    /// The record set of the last read; null while not loaded.
    std::shared_ptr<engine::Records> Records() const { return m_oRecords; }
    /// The record engine; null while not loaded.
    const std::shared_ptr<engine::Application>& Fenwick() const { return m_Fenwick; }
    /// The window's texts as its resource interface: caption, controls, tag and the texts of
    /// its numeric keys.
    common::IControlResource& AsIControlResource();
    /// The text of a numeric key in the add-in's language ("4000": no entries were found);
    /// empty for every other key.
    std::string GetResource(const std::string& Tag) const;
    /// The window's size extension.
    common::FormExt& Extension() { return m_oExtension; }
    /// All templates; null before the window loaded them.
    const std::shared_ptr<views::Templates>& GetTemplates() const { return m_oTemplates; }
    /// The template being shown, or null.
    const std::shared_ptr<views::ViewSettings>& GetViewSettings() const { return m_oView; }
    /// The field catalogue of this window; null while not loaded.
    const std::shared_ptr<fieldcatalogue::Application>& GetFieldCatalogue() const
    {
        return m_oFieldCatalogue;
    }
    /// The report grid.
    platform::forms::FlexGrid& fg() { return *m_fg; }
    const platform::forms::FlexGrid& fg() const { return *m_fg; }
    /// The template list.
    platform::forms::ComboBox& cboTemplate() { return *m_cboTemplate; }
    /// The menu bar with the grid's context menu.
    platform::forms::MenuBar& MenuBar1() { return *m_MenuBar1; }
    /// The toolbar.
    platform::forms::ToolBar& Coolbar1() { return *m_Coolbar1; }
    /// The progress window while a read runs, else null.
    const std::shared_ptr<frmProgress>& ProgressWindow() const { return m_oProgress; }
    /// True while a read runs.
    bool IsReading() const { return m_bReading; }
    /// True when the report was saved to a file since the last read.
    bool ReportSaved() const { return m_bReportSaved; }
    /// The progress of the last read over all its folders (items read and items to read), for
    /// whoever shows it: the engine counts each folder from the start again.
    std::pair<long, long> LastProgress() const
    {
        return {m_lDoneValue + std::min(m_lProgressValue, m_lProgressMax),
                m_lDoneMax + m_lProgressMax};
    }
    /// The number of folders the current template reads.
    long FolderCount();
    /// The file the last "saveas" wrote, also when an automatic delete took it away since;
    /// empty when it wrote none (cancelled, failed, nothing to save).
    const std::string& LastExported() const { return m_sLastExported; }

    /// The report grid, for the save action's writers.
    platform::forms::FlexGrid& ReportGrid() override { return *m_fg; }
    /// The records of the last read, for the save action's writers.
    std::shared_ptr<engine::Records> ReportRecords() const override { return m_oRecords; }
    /// The window's mouse pointer, set around a save.
    void SetReportMousePointer(int lPointer) override { SetMousePointer(lPointer); }

    /// Saves the report with the view's save action, then runs the view's other automatic
    /// actions (open, or send, print and delete). Nothing on an empty report. Errors are
    /// logged and shown.
    void Export();
    /// The save a batch run asks for: through the save dialog whatever the view's save mode
    /// says, an existing file replaced without a question (the caller named it), the view's
    /// save settings as they were afterwards. No automatic action follows. True when a file
    /// was written; errors are logged and shown.
    bool SaveReportThroughDialog();
    /// Prints the saved report with the view's print action, saving it first unless it is
    /// saved. Errors are logged and shown.
    void PrintReport();
    /// Mails the saved report with the view's send action, saving it first unless it is
    /// saved. Errors are logged and shown.
    void SendReport();
    /// Deletes the saved report file after a question. Errors are logged and shown.
    void DeleteReport();
    /// Opens the saved report with the view's open action, saving it first unless it is
    /// saved. Errors are logged and shown under the application's title.
    void OpenReport();
    /// Enables or disables the toolbar button (unless bMenuOnly) and the menu item of a
    /// command key; a key without either is passed over. Never throws.
    void EnableCommand(const std::string& sKey, bool bEnabled, bool bMenuOnly);

    /// Brings the window to the front.
    void ShowWindow();
    /// Runs the command of a menu item or toolbar button; during a read it waits for the read
    /// to end. Keys without a target in this window raise error 5.
    void CommandbarClick(const std::string& sKey);
    /// The engine's progress after every row: moves the progress window.
    void Fenwick_Progress(long lValue, long lMax, bool& bCancel);

    /// Lets the user pick folders in the folder picker, over every kind of store, in the
    /// add-in's language; null when the user did not confirm a choice. Throws with
    /// "frmMain.PickFolder" added, the mouse pointer back to normal.
    std::shared_ptr<folderpicker::Result> PickFolder();
    /// The engine's folder descriptors of the picked folders, in the picker's order. A folder
    /// whose descriptor cannot be made is left out and logged. Never throws.
    std::shared_ptr<engine::FolderDataList> GetFolders(const folderpicker::Result& oResult);
    /// The current view forgets its folders; nothing is read here. Throws with
    /// "frmMain.CancelFolderSelection" added.
    void CancelFolderSelection();
    /// The view dialog on a copy of oView. With bTemplate (a template that is not being
    /// shown) a confirmed copy replaces oView and nothing is read; otherwise a confirmed copy
    /// replaces the current view and the report is read anew when the change needs it, else
    /// the grid is refilled from the records already read. Throws with
    /// "frmMain.ShowViewSettings" added.
    void ShowViewSettings(const std::shared_ptr<views::ViewSettings>& oView, bool bTemplate);

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;

private:
    class ProgressListener;
    class ControlResource;

    void CreateImages();
    void CreateMenubar();
    void CreateToolbar();
    void MenuBar1_ItemClick(platform::forms::MenuItem& oItem);
    void EnableMenus();
    void LoadTemplates();
    void ShowTemplates();
    void cboTemplate_Click();
    void SaveState();
    void SaveColumnWidths();
    void SetFonts();
    void ReleaseEngine();

    void DatenLesen(bool bSelectFolder, bool bRefresh);
    bool SelectFolders();
    void ReadAndFill(bool bRefresh);
    void UpdateFilter();
    void RemoveUnusedColumns();
    void BuildFieldList();
    void ShowProgress();
    void HideProgress();
    void RunCommand(const std::string& sKey);
    void RunDeferred();
    // A read or a report-file action runs: what arrives through the message loop waits.
    bool IsBusy() const { return m_bReading || m_bActionRunning; }
    // Runs a report-file command (save, print, send) as an entry point named sProcedure:
    // errors are logged and shown, and what arrived meanwhile runs afterwards.
    // sTitle titles the error message box.
    void RunFileCommand(const char* sProcedure, const std::function<void()>& fnBody,
                        const std::string& sTitle = {});
    // Runs a command on the saved report (print, send, open) as an entry point named
    // sProcedure: the report is saved first unless the window holds a saved file of it.
    void RunOnSavedReport(const char* sProcedure,
                          const std::function<void(actions::Action&)>& fnAction,
                          const std::string& sTitle = {});
    void RunAutomaticActions();
    // Runs the save action; the saved flag and the enabled commands then follow its SavedAs,
    // also when the save fails.
    void SaveReportFile(actions::ActionSave& oSave);
    void FollowSavedFile(actions::ActionSave& oSave);

    // The grid's events, the find box and the items behind the rows (frmMainGrid.cpp,
    // frmMainItems.cpp).
    void InitGridEvents();
    void PlaceGridWindow();
    void ReleaseGridWindow();
    void fg_DblClick();
    void fg_MouseUp(int& Button, int Shift, double X, double Y);
    void fg_KeyDown(int& KeyCode, int& Shift);
    void fg_KeyUp(int& KeyCode, int Shift);
    void fg_CurrentCellChanged(int OldRow, int OldCol, int NewRow, int NewCol);
    void fg_ColumnMoving(int Col, int& Position);
    void fg_ColumnResizing(int Row, int Col, bool& Cancel);
    void fg_ColumnResized(int Row, int Col);
    void cmdFind_Click();
    void txtFind_KeyDown(int& KeyCode, int Shift);
    void Find();
    /// Gives the find button its tooltip in the user's language (its caption comes from its
    /// tag with the form's other captions).
    void LocalizeFindButton();
    void ShowFoundCell(int Row, int Col);
    void ReOrderColumnPosition(int Col, int Position);
    void ShowContextMenuOutlookItem(bool bAtMouse);
    void OpenOutlookItem();
    std::shared_ptr<platform::mapi::Message> GetOutlookItem(const engine::Record& oRecord);
    std::vector<std::shared_ptr<engine::Record>> GetSelectedRecords(long& lCount);

    // The report grid sits on the form as its grid control "fg"; m_fg is that control's grid.
    std::shared_ptr<platform::forms::GridControl> m_fgControl;
    platform::forms::FlexGrid* m_fg = nullptr;
    std::shared_ptr<platform::forms::ComboBox> m_cboTemplate;
    std::shared_ptr<platform::forms::TextBox> m_txtFind;
    std::shared_ptr<platform::forms::CommandButton> m_cmdFind;
    std::shared_ptr<platform::forms::MenuBar> m_MenuBar1;
    std::shared_ptr<platform::forms::ToolBar> m_Coolbar1;
    std::shared_ptr<platform::forms::ImageList> m_imlBars;
    std::shared_ptr<platform::forms::MenuItem> m_oContextMenu;
    grid::cVsFlexPopup m_oPopup;
    std::shared_ptr<common::IControlResource> m_oControlResource;

    common::FormExt m_oExtension;
    common::ObjectSize m_oPlacement;
    common::FormPersitent m_oPersitent;
    std::string m_sKeyPath;
    bool m_bTemplateGuard = false;
    bool m_bInitialising = false;
    bool m_bResizing = false;
    bool m_bReportSaved = false;
    std::string m_sLastExported;
    bool m_bReading = false;
    bool m_bActionRunning = false;
    long m_lProgressValue = 0;
    long m_lProgressMax = 0;
    // The counts of the folders the last read finished before the current one.
    long m_lDoneValue = 0;
    long m_lDoneMax = 0;

    std::shared_ptr<fieldcatalogue::Application> m_oFieldCatalogue;
    std::shared_ptr<engine::Application> m_Fenwick;
    std::shared_ptr<ProgressListener> m_oListener;
    std::shared_ptr<engine::Records> m_oRecords;
    std::shared_ptr<engine::Record> m_oCurrentRecord;
    std::shared_ptr<views::Templates> m_oTemplates;
    std::shared_ptr<views::ViewSettings> m_oView;
    std::shared_ptr<frmProgress> m_oProgress;
    // What arrived through the message loop during a read, run in order once it ended.
    std::vector<std::function<void()>> m_vDeferred;
};

} // namespace shell
