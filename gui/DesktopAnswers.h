#pragma once

#include <string>

namespace gui {

/// While it lives, a person at the desktop answers what the add-in shows modally: a modal
/// form becomes a modal dialog (the show returns once the form is hidden or unloaded), a
/// message box a QMessageBox with the box's buttons, icon, default button and title, the
/// common dialogs real dialogs (see CommonDialogViews.h) and a form's pop-up menu a menu at
/// the mouse; grids size their columns to their contents with the font the windows draw
/// with (see TextMeasure.h). Queued
/// answers of the forms driver still come first. On destruction the driver has no runners
/// again. Make it after the QApplication; one at a time.
class DesktopAnswers
{
public:
    DesktopAnswers();
    ~DesktopAnswers();
    DesktopAnswers(const DesktopAnswers&) = delete;
    DesktopAnswers& operator=(const DesktopAnswers&) = delete;
};

/// Shows a message box as the forms' MsgBox styles ask (see platform/forms/Driver.h) and
/// answers the chosen button (vbOK, vbCancel, ...); closing the box answers Cancel where the
/// box has it, else its default.
int ShowMessageBox(const std::string& prompt, int buttons, const std::string& title);

} // namespace gui
