#pragma once

#include <string>

namespace platform::forms {
class CommonDialog;
class MenuItem;
} // namespace platform::forms

namespace gui {

/// Shows a common dialog of the forms as a real dialog and answers it: the save and open
/// dialogs and the folder dialog as Qt's file dialogs (in the request's folder, with its
/// name, filters and options), the print dialog with its fields (printers are the print
/// queues the service listed). The person is asked again while the answer does not fit the
/// dialog (its Check names why). True for OK, false for Cancel.
bool RunCommonDialog(platform::forms::CommonDialog& dialog);

/// Shows a pop-up menu of a menu bar at the mouse and answers the key the person picked, or
/// "" when the menu was dismissed.
std::string RunPopupMenu(const platform::forms::MenuItem& menu);

} // namespace gui
