#pragma once

#include "dialogs/ActionPickers.h"
#include "engine/FolderDataList.h"

#include <functional>
#include <memory>

namespace views {
class ViewSettings;
}

namespace dialogs {

/// What the template editor asks of the report window and of the action pickers.
struct TemplateEditorServices
{
    /// Runs the view dialog on a copy of the template's view and, when it is confirmed,
    /// copies the copy back into that view; the report is not read anew.
    std::function<void(std::shared_ptr<views::ViewSettings>& oView)> ShowViewSettings;
    /// Lets the user pick folders: the engine's folder list of the choice, or null when the
    /// user cancelled.
    std::function<std::shared_ptr<engine::FolderDataList>()> PickFolders;
    /// The pickers of the action settings dialog.
    ActionPickers Pickers;

    /// The report window's view dialog and folder picker, and the actions' own pickers.
    static TemplateEditorServices OfReportWindow();
};

} // namespace dialogs
