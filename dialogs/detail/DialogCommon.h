#pragma once

#include <string>

namespace platform::forms {
class Form;
}
namespace common {
class ErrorObject;
}

/// What the view and template dialogs share: fonts, help key, error message boxes.
namespace dialogs::detail {

/// Sets every control of the form to 8 points; a control that refuses is skipped.
void SetDialogFontSize(platform::forms::Form& oForm);

/// Sizes the form so that its client area is lWidth x lHeight twips (the frame and caption
/// bar come on top); the form stays where it stands.
void SetClientSize(platform::forms::Form& oForm, int lWidth, int lHeight);

/// F1 (key code 112) consumes the key and opens the help topic; other keys pass. Never throws.
void HandleHelpKey(int& KeyCode, const std::string& sTopic);

/// Shows the captured error's description with the exclamation icon and the given title.
void ShowErrorBox(const common::ErrorObject& oError, const std::string& sTitle = {});

/// The application's title, for message boxes that carry it.
std::string AppTitle();

} // namespace dialogs::detail
