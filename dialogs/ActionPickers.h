#pragma once

#include <functional>

namespace actions {
class ActionPrint;
class ActionSave;
class ActionSend;
} // namespace actions

namespace dialogs {

/// The pickers that the action settings dialog's buttons call on its working copy: each
/// lets the user choose and stores the choice into the action, or leaves it on Cancel.
struct ActionPickers
{
    /// Folder dialog for the save action's `Path`.
    std::function<void(actions::ActionSave&)> PickPath;
    /// File dialog for the save action's `ReportTemplate`.
    std::function<void(actions::ActionSave&)> PickTemplate;
    /// File dialog for the send action's mail template file.
    std::function<void(actions::ActionSend&)> PickMailTemplateFromFile;
    /// The print dialog for the print action's printer settings.
    std::function<void(actions::ActionPrint&)> PickPrinterSettings;

    /// The actions' own pickers.
    static ActionPickers OfActions();
};

} // namespace dialogs
