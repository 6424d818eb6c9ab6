#pragma once

#include <QString>

class QDialogButtonBox;

namespace gui {

/// The desktop's own words (the common dialogs' labels, the message boxes' buttons) in the
/// language of the regional settings: German where they are German, else English as given.
QString DesktopText(const char* english);

/// Gives the box's standard buttons their captions in the language of the regional settings.
void NameStandardButtons(QDialogButtonBox& box);

} // namespace gui
